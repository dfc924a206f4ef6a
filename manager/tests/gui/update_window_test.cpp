// TFormUpdate as the operator sees and uses it: its controls, what it shows when it opens, the file
// dialogs and the header of the chosen image, the "Updating" button's options and closing messages,
// and the progress window during a run, while the window's controls are off and it cannot be closed.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <fstream>
#include <map>
#include <set>

#include "gui/update_window_fixture.h"
#include "support/scripted_link.h"
#include "ui/params/form_login.h"
#include "ui/qt_ui_port.h"
#include "ui/update/form_rate.h"

namespace torvane::test {
namespace {

using Lines = std::vector<std::string>;

std::string StateOf(QWidget* w) {
    return std::string(w->isEnabled() ? "on" : "off");
}

TEST_F(UpdateWindowGui, OpensWithItsControlsAndTellsOnceWhenTheDeviceDoesNotAnswer) {
    MessageBoxRecorder boxes;
    Open(0x20, "127.0.0.99");  // nothing answers there
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Not ack from target device,the device may be offline.");
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
    SaveScreenshot(window.get(), "update_window_no_answer");

    EXPECT_EQ(window->windowTitle(), "Updating");
    EXPECT_EQ(window->size(), QSize(565, 417));
    EXPECT_TRUE(window->isModal());
    EXPECT_EQ(window->Label12()->text(), "Unknown Type");
    EXPECT_EQ(window->Label10()->text(), "Unknown Version");
    EXPECT_EQ(window->Edit5()->text(), "127.0.0.99");
    EXPECT_FALSE(window->Edit5()->isReadOnly());
    for (QLineEdit* box : {window->Edit1(), window->Edit3(), window->Edit4(), window->Edit7()}) {
        EXPECT_TRUE(box->isReadOnly()) << box->objectName().toStdString();
        EXPECT_TRUE(box->text().isEmpty());
    }
    EXPECT_EQ(window->Edit3()->maxLength(), 16);
    EXPECT_TRUE(window->Memo1()->isReadOnly());
    EXPECT_EQ(window->Memo1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window->CheckBox1()->text(), "Firmware");
    EXPECT_EQ(window->CheckBox2()->text(), "WEB");
    EXPECT_EQ(window->Button1()->text(), "Updating");
    EXPECT_EQ(window->Button2()->text(), "Quit");

    // The path boxes and their buttons follow their options.
    QWidget* const path_controls[] = {window->Edit2(), window->BitBtn2(), window->Edit6(), window->BitBtn1()};
    auto states = [&] {
        std::string s;
        for (QWidget* w : path_controls)
            s += StateOf(w) + " ";
        return s;
    };
    EXPECT_EQ(states(), "on on off off ");
    window->CheckBox2()->click();
    EXPECT_EQ(states(), "on on on on ");
    window->CheckBox1()->click();
    EXPECT_EQ(states(), "off off on on ");
    window->CheckBox2()->click();
    EXPECT_EQ(states(), "off off off off ");

    // Both options off: one message and nothing else.
    boxes.boxes.clear();
    window->Button1()->click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "The Option is invalid,Process is abort!");
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Information);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "updatevkafile.txt"));

    window->Button2()->click();
    EXPECT_FALSE(window->isVisible()) << "Quit closes the window";
}

TEST_F(UpdateWindowGui, AnIdentifyAnswerShorterThanThirtyThreeBytesCountsAsNone) {
    const std::pair<size_t, Lines> cases[] = {
        {20, {"Unknown Type", "Unknown Version", "Not ack from target device,the device may be offline."}},
        {33, {"VKB220", "V2.1"}},
    };
    ScriptedLinks links;
    for (const auto& [size, expected] : cases) {
        SCOPED_TRACE(size);
        links.answer = [size = size](const Bytes&) { return IdentifyAnswerOf("VKB220", "V2.1", size); };
        MessageBoxRecorder boxes;
        Open(0x20, "127.0.0.20", links.Opener());
        Lines shown{window->Label12()->text().toStdString(), window->Label10()->text().toStdString()};
        for (const auto& text : Texts(boxes))
            shown.push_back(text);
        EXPECT_EQ(shown, expected);
    }
}

TEST_F(UpdateWindowGui, RememberedPathsAndChosenImagesFillThePathAndHeaderBoxes) {
    std::filesystem::create_directories(dir.path() / "images");
    ImageRecipe recipe = ImageFor("VKB220");
    recipe.version = "V3.0";
    recipe.date_time = "2025-02-03 04:05";
    recipe.minimum_version = "V1.5";
    recipe.description = "line one\nline two";
    const std::string remembered = Image(recipe, "images/fw.bin");
    std::filesystem::create_directories(dir.path() / "web");
    const std::string web = (dir.path() / "web" / "web.dat").string();
    std::ofstream(dir.path() / "updatevkafile.txt", std::ios::binary) << remembered << "\r\n"
                                                                      << web << "\r\n";
    ImageRecipe small = recipe;
    small.file_size = 1117;
    small.version = "V1117";
    const std::string longer = Image(small, "images/longer.bin");
    small.file_size = 1116;
    small.version = "V1116";
    const std::string exact = Image(small, "images/exact.bin");

    ScriptedLinks links;  // a silent device: the boxes are what this test looks at
    MessageBoxRecorder boxes;
    Open(0x20, "127.0.0.20", links.Opener());
    EXPECT_EQ(window->Edit2()->text().toStdString(), remembered);
    EXPECT_EQ(window->Edit6()->text().toStdString(), web);
    auto header = [this] {
        return Lines{window->Edit3()->text().toStdString(), window->Edit4()->text().toStdString(),
                     window->Edit1()->text().toStdString(), window->Edit7()->text().toStdString(),
                     window->Memo1()->toPlainText().toStdString()};
    };
    EXPECT_EQ(header(), (Lines{"V3.0", "2025-02-03 04:05", "VKB220", "V1.5", "line one\nline two"}));
    SaveScreenshot(window.get(), "update_window_header");

    EXPECT_EQ(boxes.boxes.size(), 1u) << "the silent device's message only";

    // A remembered image that was deleted leaves both path boxes empty.
    std::filesystem::remove(remembered);
    Open(0x20, "127.0.0.20", links.Opener());
    EXPECT_TRUE(window->Edit2()->text().isEmpty());
    EXPECT_TRUE(window->Edit6()->text().isEmpty());
    EXPECT_EQ(header(), (Lines{"", "", "", "", ""}));
}

// The options and the update's results, each with the messages that end them, against one device.
TEST_F(UpdateWindowGui, TheUpdatingButtonEndsEachOptionAndResultWithItsMessages) {
    const std::string done = "The updating is complete,The target device's firmware version is V2.2";
    const std::string web_done = "The updating is complete,The target device's firmware versio is V2.2";
    const std::string refused = "The username or password is invalid.";
    const std::string backup = "<backup>";
    struct Case {
        const char* name;
        std::string device;
        bool firmware, web;
        std::string image_model;  // the image is made for this model
        Lines messages;
        std::string data;  // what the device's data area starts with afterwards: "web", "backup", ""
    } cases[] = {
        {"firmware, done", "", true, false, "VKB220", {done}, "backup"},
        {"firmware, interrupted",
         "silent_after_restart=1",
         true,
         false,
         "VKB220",
         {"The updating is fault,the device's data is save in\r\n" + backup +
          "Pleas restore the data manually"},
         ""},
        {"firmware, login refused",
         "refuse_password=1",
         true,
         false,
         "VKB220",
         {refused, "The updating process is fault!"},
         ""},
        {"firmware, image refused",
         "",
         true,
         false,
         "VKB200",
         {"The format of firmware is error,the updating Process is abort.", "The updating process is fault!"},
         ""},
        {"both, done", "", true, true, "VKB220", {web_done}, "web"},
        {"both, interrupted",
         "silent_after_restart=1",
         true,
         true,
         "VKB220",
         {"The updating is interrupted,Please do it again。"},
         ""},
        {"both, login refused",
         "refuse_password=1",
         true,
         true,
         "VKB220",
         {refused, "UserName or Password is invalid,The process is abort."},
         ""},
        {"both, image refused",
         "",
         true,
         true,
         "VKA100",
         {"The format of firmware is error,the updating Process is abort.",
          "The updating process is fault,Please do it again"},
         ""},
        {"WEB only", "", false, true, "VKB220", {"The WEB updating is complete."}, "web"},
    };
    const std::vector<uint8_t> web(3000, 0x5A);
    WriteBytes(dir.path() / "web.dat", web);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir.path() / "imgfile");
        StartDevice("model=VKB220 data_size=4096 " + c.device);
        const std::string image = Image(ImageFor(c.image_model), "fw.bin");
        Open(0x20, "127.0.0.20");
        window->Edit2()->setText(QString::fromStdString(image));
        window->Edit6()->setText(QString::fromStdString((dir.path() / "web.dat").string()));
        if (!c.firmware) window->CheckBox1()->click();
        if (c.web) window->CheckBox2()->click();
        int logins = 0;
        if (!c.device.empty() && c.device.rfind("refuse", 0) == 0) {
            WhenShown<ui::TFormLogin>([&](ui::TFormLogin* login) {
                ++logins;
                login->Button1()->click();
            });
        }
        const std::vector<uint8_t> data_before = Device().update.data;
        MessageBoxRecorder boxes(c.messages.size() == 1 && c.messages[0] == done ? "update_complete" : "");
        window->Button1()->click();
        Lines expected = c.messages;
        const auto backups = Backups();
        for (auto& m : expected) {
            if (const auto at = m.find(backup); at != std::string::npos) {
                ASSERT_EQ(backups.size(), 1u);
                m.replace(at, backup.size(), backups[0]);
            }
        }
        EXPECT_EQ(Texts(boxes), expected);
        EXPECT_EQ(logins, c.device == "refuse_password=1" ? 1 : 0);
        const std::vector<uint8_t> data = Device().update.data;
        if (c.data == "web") {
            EXPECT_TRUE(std::equal(web.begin(), web.end(), data.begin())) << "the WEB file was written";
        } else if (c.data == "backup") {
            EXPECT_EQ(data, data_before) << "the backup was written back";
        }
    }
}

// What the operator sees during a run: the progress window's labels and bar, the window's controls
// off, and closing refused; everything back once the run has ended.
TEST_F(UpdateWindowGui, TheProgressWindowRunsWhileTheControlsAreOffAndClosingIsRefused) {
    StartDevice("model=VKA100 delay=1");
    const std::string image = Image(ImageFor("VKA100", 8000), "fw.bin");
    Open(0x01, "127.0.0.20");
    window->Edit2()->setText(QString::fromStdString(image));
    std::map<std::string, std::set<int>> seen;  // label -> bar positions
    std::set<std::string> controls;
    bool pictured = false;
    QTimer sampler;
    sampler.setInterval(0);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        ui::TFormRate* rate = window->Port().FormRate();
        if (!rate || !rate->isVisible()) return;
        const std::string label = rate->Label1()->text().toStdString();
        const int position = rate->ProgressBar1()->value();
        seen[label].insert(position);
        std::string states;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 window->Button1(), window->Button2(), window->Edit2(), window->BitBtn2(),
                 window->CheckBox1(), window->CheckBox2(), window->Edit5()})
            states += StateOf(w) + " ";
        controls.insert(states);
        window->close();
        window->reject();
        if (!window->isVisible()) controls.insert("closed");
        if (!pictured && label == "Updating,Pleas wait..." && position >= 50) {
            SaveScreenshot(rate, "update_progress_during_run");
            pictured = true;
        }
    });
    MessageBoxRecorder boxes;
    sampler.start();
    window->Button1()->click();
    sampler.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(Texts(boxes), Lines{"The updating is complete,The target device's firmware version is V2.2"});
    EXPECT_EQ(controls, (std::set<std::string>{"off off off off off off off "}));
    const Lines labels{"Save the device param...", "Updating,Pleas wait...", "Resume the data..."};
    for (const auto& label : labels) {
        ASSERT_TRUE(seen.count(label)) << label;
        EXPECT_GE(*seen[label].rbegin(), 50) << label << ": the bar moves on";
        EXPECT_LE(*seen[label].rbegin(), 100) << label;
    }
    EXPECT_TRUE(pictured);
    EXPECT_EQ(window->Port().FormRate(), nullptr) << "closed and released at the end";
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Button1()->isEnabled());
    EXPECT_TRUE(window->Button2()->isEnabled());
    EXPECT_FALSE(window->Edit6()->isEnabled()) << "the WEB path stays off without its option";
}

}  // namespace
}  // namespace torvane::test
