// The firmware update end to end: the main window in-process over the real library and the update's
// own socket, against simulated devices of each update variant. The operator selects a device, opens
// "Tools(&T)" / "Update...", picks an image, presses "Updating", and the completion message names the
// version the device reports after its restart.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeView>
#include <fstream>

#include "gui/update_window_fixture.h"
#include "gui/update_window_opened.h"
#include "platform/net_func.h"
#include "support/book_record.h"
#include "ui/main_form.h"

namespace torvane::test {
namespace {

class NoTable final : public SharedDeviceTable {
  public:
    SharedTableSnapshot Read() override { return {}; }
};

vksim::Device Make(const char* model, size_t index) {
    vksim::Device d = vksim::MakeDevice(*vksim::FindModel(std::string(model)), index);
    d.update.restart_ms = 20;
    return d;
}

class UpdateEndToEnd : public ::testing::Test {
  protected:
    // 127.0.0.10: VKA100 (variant A), 127.0.0.11: VKB200 (B), 127.0.0.12: VKB220 (C).
    std::unique_ptr<vksim::Network> network;
    TempDir dir;
    VkcfgLibrary library;
    NoTable table;
    PlatformFileWriter files;
    std::unique_ptr<ui::TMainForm> form;

    void SetUp() override {
        network = std::make_unique<vksim::Network>(
            std::vector<vksim::Device>{Make("VKA100", 0), Make("VKB200", 1), Make("VKB220", 2)});
        // The local search lists only the VKB220; the other two are in the address book.
        std::ofstream(dir.path() / "DevInfo.dat", std::ios::binary)
            << BookRecord("127.0.0.10") + BookRecord("127.0.0.11");
        form = std::make_unique<ui::TMainForm>(ui::MainFormDeps{library,
                                                                table,
                                                                files,
                                                                dir.path(),
                                                                GetLocalInterfaces,
                                                                {},
                                                                true,
                                                                {},
                                                                nullptr,
                                                                {},
                                                                nullptr,
                                                                OpenUpdateSocket,
                                                                FastUpdateTimings()});
        form->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return form->StartupDone(); }, 20000));
    }

    void Select(const std::string& ip) {
        QTreeView* view = form->ListView1();
        const QAbstractItemModel* m = view->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            if (m->index(r, 2).data().toString().toStdString() != ip) continue;
            view->selectionModel()->select(m->index(r, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return;
        }
        FAIL() << ip << " is not in the list";
    }

    // "Tools(&T)" / "Update..."
    void TriggerUpdateMenu() {
        QMenu* tools = form->menuBar()->actions().at(2)->menu();
        ASSERT_NE(tools, nullptr);
        tools->actions().at(0)->trigger();
    }

    // Opens the update window for the row of `ip`; `in_window` runs in it once it has opened and
    // closes it.
    void OpenUpdateWindow(const std::string& ip, std::function<void(ui::TFormUpdate*)> in_window) {
        Select(ip);
        bool opened = false;
        WhenUpdateWindowOpened([&](ui::TFormUpdate* w) {
            opened = true;
            in_window(w);
        });
        TriggerUpdateMenu();
        EXPECT_TRUE(opened);
    }

    std::string Image(const std::string& model) {
        const auto path = (dir.path() / (model + ".bin")).string();
        WriteBytes(path, BuildImage(ImageFor(model, 5000)));
        return path;
    }
};

TEST_F(UpdateEndToEnd, EachVariantIsUpdatedFromTheWindowAndReportsItsNewVersion) {
    struct Case {
        const char* model;
        std::string ip;
        size_t device;
        std::string shown_type;  // what the device says at the window's opening
    } cases[] = {
        {"VKA100", "127.0.0.10", 0, "VKA100-S"},
        {"VKB220", "127.0.0.12", 2, "VKB220"},
        {"VKB200", "127.0.0.11", 1, "VKB200"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        const std::string image = Image(c.model);
        const bool pictured = std::string(c.model) == "VKB220";
        MessageBoxRecorder boxes(pictured ? "update_complete_message" : "");
        // No header shown: the image typed into the box is compared by its own target model.
        std::filesystem::remove(dir.path() / "updatevkafile.txt");
        OpenUpdateWindow(c.ip, [&](ui::TFormUpdate* w) {
            EXPECT_EQ(w->Label12()->text().toStdString(), c.shown_type);
            EXPECT_EQ(w->Edit5()->text().toStdString(), c.ip);
            w->Edit2()->setText(QString::fromStdString(image));
            w->Edit6()->setText(QStringLiteral("web.dat"));  // remembered, not written
            w->Button1()->click();
            w->Button2()->click();
        });
        EXPECT_EQ(Texts(boxes), std::vector<std::string>{
                                    "The updating is complete,The target device's firmware version is V2.2"});
        EXPECT_EQ(network->WithDevice(c.device, [](vksim::Device& d) { return d.firmware; }), "V2.2");
    }
    // The last update, of variant B, remembered the image's path alone.
    OpenUpdateWindow("127.0.0.11", [&](ui::TFormUpdate* w) {
        EXPECT_EQ(w->Edit2()->text().toStdString(), Image("VKB200"));
        EXPECT_TRUE(w->Edit6()->text().isEmpty());
        EXPECT_EQ(w->Label10()->text(), "V2.2");
        EXPECT_EQ(w->Edit1()->text(), "VKB200") << "the remembered image's header";
        w->Button2()->click();
    });
}

}  // namespace
}  // namespace torvane::test
