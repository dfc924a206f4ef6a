// The main window over a scripted library: the start-up sequence as the wait window shows it, the
// local search command, the update command's offline message, Config.ini and the save at close.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <iterator>

#include "gui/gui_support.h"
#include "gui/main_form_fixture.h"
#include "gui/update_window_opened.h"
#include "ui/search_interfaces_dialog.h"

namespace torvane::test {
namespace {

constexpr const char* kBookText = "Search Device in the AddressBook...";
constexpr const char* kLocalText = "Search Device In Local Network...";

std::string Shown(const std::string& text, const std::string& range, int value) {
    return "shown | " + text + " | " + range + " | " + std::to_string(value);
}

TEST_F(MainFormTest, StartupSequenceShowsItsStepsInTheWaitWindow) {
    WriteBook({"10.0.0.7", "10.9.9.9"});
    scripted.ScriptSearchOne("10.0.0.7", VK_OK,
                             StandardRecord(0x10, {0, 1, 0, 0, 0, 7}, "10.0.0.7", "book", "B1"));
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.20", "near", "V1"),
                                     StandardRecord(0x20, {0, 2, 0, 0, 0, 2}, "172.16.0.9", "far", "V2")});
    scripted.ScriptSearchAllEx(VK_OK,
                               {ExtendedSlot(0x83, {0, 3, 0, 0, 0, 1}, {10, 0, 0, 30}, "clock", "E1")});
    Create();
    bool captured = false;
    QObject::connect(form->WaitForm()->ProgressBar(), &QProgressBar::valueChanged, [&](int v) {
        if (v == 2 && !captured && form->WaitForm()->isVisible()) {
            captured = true;
            SaveScreenshot(form->WaitForm(), "wait_window");
        }
    });
    Start();

    Lines expected = {"vk_search_one 10.0.0.7 | " + Shown(kBookText, "0-2", 0),
                      "vk_search_one 10.9.9.9 | " + Shown(kBookText, "0-2", 1),
                      "pause 100 | " + Shown(kBookText, "0-2", 2)};
    for (int pass = 1; pass <= 3; ++pass) {
        if (pass > 1) expected.push_back("pause 100 | " + Shown(kLocalText, "0-3", pass - 1));
        expected.push_back("vk_search_all | " + Shown(kLocalText, "0-3", pass));
        expected.push_back("vk_search_all_ex | " + Shown(kLocalText, "0-3", pass));
    }
    EXPECT_EQ(notes, expected);
    EXPECT_FALSE(form->WaitForm()->isVisible());
    EXPECT_TRUE(captured);

    EXPECT_EQ(ViewRows(), (Lines{"Offline |  | 10.9.9.9 |  |  | AddressBook",
                                 "Online | 0.1.0.0.0.7 | 10.0.0.7 | book | B1 | AddressBook",
                                 "Online | 0.2.0.0.0.1 | 10.0.0.20 | near | V1 | Local",
                                 "Online | 0.2.0.0.0.2 | 172.16.0.9 | far | V2 | Local",
                                 "Online | 0.3.0.0.0.1 | 10.0.0.30 | clock | E1 | Local"}));
    EXPECT_EQ(Count(), "5");
    SaveScreenshot(form.get(), "main_window_scripted");
}

TEST_F(MainFormTest, LocalSearchButtonReplacesLocalRowsAndSortsByMacText) {
    WriteBook({"10.0.0.7"});
    scripted.ScriptSearchOne("10.0.0.7", VK_OK,
                             StandardRecord(0x10, {0, 200, 0, 0, 0, 7}, "10.0.0.7", "bk", "B"));
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 9, 0, 0, 0, 1}, "10.0.0.90", "gone", "V")});
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.21", "a", "V"),
                                     StandardRecord(0x20, {0, 18, 0, 0, 0, 1}, "10.0.0.18", "b", "V")});
    Start();
    ASSERT_EQ(Count(), "4") << "the device of the first pass, the two of the later ones, the book row";
    notes.clear();

    QTest::mouseClick(form->ToolButton("LocalSearch"), Qt::LeftButton);

    EXPECT_EQ(ViewRows(), (Lines{"Online | 0.18.0.0.0.1 | 10.0.0.18 | b | V | Local",
                                 "Online | 0.2.0.0.0.1 | 10.0.0.21 | a | V | Local",
                                 "Online | 0.200.0.0.0.7 | 10.0.0.7 | bk | B | AddressBook"}));
    EXPECT_EQ(Count(), "3");
    ASSERT_EQ(notes.size(), 8u);
    EXPECT_EQ(notes[0], "vk_search_all | " + Shown(kLocalText, "0-100", 33));
    EXPECT_EQ(notes[2], "pause 100 | " + Shown(kLocalText, "0-100", 33));
    EXPECT_EQ(notes[6], "vk_search_all | " + Shown(kLocalText, "0-100", 100));
    EXPECT_FALSE(form->WaitForm()->isVisible());
}

struct UpdateCase {
    const char* name;
    int select;             // -1: no selection
    std::string window_ip;  // the update window's address box; empty: no window opens
    Lines boxes;
};

TEST_F(MainFormTest, UpdateCommandOpensTheWindowForAnOnlineRowOnly) {
    WriteBook({"10.0.0.7", "10.0.0.8"});
    scripted.ScriptSearchOne("10.0.0.8", VK_OK,
                             StandardRecord(0x31, {0, 1, 0, 0, 0, 8}, "10.0.0.8", "n", "V"));
    Start();
    ASSERT_EQ(ViewRows().at(0).substr(0, 7), "Offline");
    QAction* update = form->PopupMenu()->actions().at(1);
    ASSERT_EQ(update->text(), "Update...");

    const UpdateCase cases[] = {
        {"no selection", -1, "", {}},
        // The fixture's window has no channel to devices: the device does not answer the window.
        {"online row", 1, "10.0.0.8", {"Not ack from target device,the device may be offline."}},
        {"offline row", 0, "", {"The device is offline,Firmware Updating firmware is abort!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder recorder(c.select == 0 ? "update_offline_message" : "");
        form->ListView1()->clearSelection();
        if (c.select >= 0) SelectRow(c.select);
        std::string window_ip;
        if (!c.window_ip.empty()) {
            WhenUpdateWindowOpened([&](ui::TFormUpdate* w) {
                window_ip = w->Edit5()->text().toStdString();
                w->Button2()->click();
            });
        }
        update->trigger();
        EXPECT_EQ(window_ip, c.window_ip);
        Lines texts;
        for (const auto& box : recorder.boxes)
            texts.push_back(box.text.toStdString());
        EXPECT_EQ(texts, c.boxes);
        if (c.select != 0) continue;
        EXPECT_EQ(recorder.boxes[0].icon, QMessageBox::Information);
        EXPECT_EQ(recorder.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    }
}

struct ConfigCase {
    const char* name;
    const char* config;  // nullptr: no Config.ini
    Lines expected;
};

TEST_F(MainFormTest, ProtocolNamesComeFromConfigIni) {
    const ConfigCase cases[] = {
        {"absent", nullptr, {"UDP", "TCP", "REAL_COM"}},
        {"only UserProtocol2",
         "[Protocol]\r\nUserProtocol2=value\r\n",
         {"UDP", "TCP", "REAL_COM", "", "value", ""}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir.path() / "Config.ini");
        if (c.config) WriteFile("Config.ini", c.config);
        Create();
        EXPECT_EQ(form->ProtocolNames(), c.expected) << c.name;
    }
}

TEST_F(MainFormTest, AddressBookIsSavedWhenTheWindowGoes) {
    WriteBook({"10.0.0.7", "10.0.0.8"});
    Start();
    SelectRow(0);
    QTest::mouseClick(form->ToolButton("Del"), Qt::LeftButton);
    WhenModalShown([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    QTest::mouseClick(form->ToolButton("Add"), Qt::LeftButton);
    QTest::mouseClick(form->ToolButton("Exit"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    form.reset();

    std::ifstream in(dir.path() / "DevInfo.dat", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::string expected(132, '\0');
    expected.replace(0, 8, "10.0.0.8");
    expected.replace(66, 7, "0.0.0.0");  // the dialog's initial text, accepted with Return
    EXPECT_EQ(bytes, expected);
}

// "Device(&D)" > "All Device Models": off by default (only the VKB220 from the broadcast search),
// on lists every model's records, and the choice is kept in the user's settings for the next run.
TEST_F(MainFormTest, AllDeviceModelsListsEveryModelAndIsRemembered) {
    QSettings().remove(QString::fromLatin1(ui::kAllModelsSetting));
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.21", "b220", "V"),
                                     StandardRecord(0x31, {0, 3, 0, 0, 0, 1}, "10.0.0.31", "b302", "V"),
                                     StandardRecord(0x01, {0, 4, 0, 0, 0, 1}, "10.0.0.41", "a100", "V")});
    const Lines vkb220 = {"Online | 0.2.0.0.0.1 | 10.0.0.21 | b220 | V | Local"};
    const Lines every = {"Online | 0.2.0.0.0.1 | 10.0.0.21 | b220 | V | Local",
                         "Online | 0.3.0.0.0.1 | 10.0.0.31 | b302 | V | Local",
                         "Online | 0.4.0.0.0.1 | 10.0.0.41 | a100 | V | Local"};
    Start();
    QAction* item = form->AllModelsItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "All Device Models");
    ASSERT_FALSE(item->associatedObjects().isEmpty());
    const auto* menu = qobject_cast<const QMenu*>(item->associatedObjects().first());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Device(&D)");
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(ViewRows(), vkb220);

    item->trigger();
    EXPECT_TRUE(QSettings().value(QString::fromLatin1(ui::kAllModelsSetting)).toBool());
    QTest::mouseClick(form->ToolButton("LocalSearch"), Qt::LeftButton);
    EXPECT_EQ(ViewRows(), every);

    form.reset();  // the next run starts with the item on
    Start();
    EXPECT_TRUE(form->AllModelsItem()->isChecked());
    EXPECT_EQ(ViewRows(), every);
    form->AllModelsItem()->trigger();
    QTest::mouseClick(form->ToolButton("LocalSearch"), Qt::LeftButton);
    EXPECT_EQ(ViewRows(), vkb220);
    EXPECT_FALSE(QSettings().value(QString::fromLatin1(ui::kAllModelsSetting)).toBool());
}

// The library's broadcast address setting in memory, with every address it was pointed at.
class MemorySetting final : public BroadcastSetting {
  public:
    std::optional<std::string> value;
    Lines pointed;
    std::optional<std::string> Get() const override { return value; }
    void Put(const std::optional<std::string>& address) override {
        value = address;
        if (address) pointed.push_back(*address);
    }
};

// "Device(&D)" > "Search Interfaces...": "All" by default; an interface chosen in the dialog takes every
// search of the local search through its directed broadcast address, the log pane says so, and the
// choice is remembered for the next run.
TEST_F(MainFormTest, SearchInterfacesChoiceReachesTheSearchesAndIsRemembered) {
    QSettings().remove(QString::fromLatin1(ui::kSearchInterfacesSetting));
    MemorySetting setting;
    broadcast = &setting;
    network_interfaces = [] {
        return std::vector<NetworkInterface>{
            {"lo", "127.0.0.1", "255.0.0.0", "127.255.255.255", true, true},
            {"eth1", "10.9.5.1", "255.255.255.0", "10.9.5.255", true, false},
            {"eth1", "10.9.7.1", "255.255.255.0", "10.9.7.255", true, false},
            {"eth2", "10.9.6.1", "255.255.255.0", "10.9.6.255", false, false}};
    };
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.9.5.21", "b220", "V")});
    Start();
    EXPECT_TRUE(setting.pointed.empty()) << "All: the library's own address";
    QAction* item = form->SearchInterfacesItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Search Interfaces...");
    EXPECT_EQ(qobject_cast<const QMenu*>(item->associatedObjects().first())->title(), "Device(&D)");

    bool shown = false;
    WhenModalShown([&shown](QWidget* w) {
        auto* dialog = qobject_cast<ui::SearchInterfacesDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shown = true;
        QListWidget* list = dialog->List();
        Lines items;
        for (int i = 0; i < list->count(); ++i)
            items.push_back(list->item(i)->text().toStdString() +
                            (list->item(i)->checkState() == Qt::Checked ? " [x]" : " [ ]"));
        EXPECT_EQ(items, (Lines{"All (255.255.255.255) [x]", "lo (127.0.0.1, broadcast 127.255.255.255) [ ]",
                                "eth1 (10.9.5.1, broadcast 10.9.5.255; 10.9.7.1, broadcast 10.9.7.255) [ ]",
                                "eth2 (10.9.6.1, broadcast 10.9.6.255, down) [ ]"}));
        list->item(2)->setCheckState(Qt::Checked);
        EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked) << "an interface clears All";
        SaveScreenshot(dialog, "SearchInterfaces");
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    });
    item->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(QSettings().value(QString::fromLatin1(ui::kSearchInterfacesSetting)).toStringList(),
              QStringList{QStringLiteral("eth1")});

    QTest::mouseClick(form->ToolButton("LocalSearch"), Qt::LeftButton);
    // Three passes, each through both of eth1's addresses for the search and the extended search.
    EXPECT_EQ(setting.pointed.size(), 12u);
    EXPECT_EQ(std::count(setting.pointed.begin(), setting.pointed.end(), "10.9.7.255"), 6);
    EXPECT_EQ(setting.value, std::nullopt) << "put back after the search";
    EXPECT_TRUE(form->Memo1()->toPlainText().contains(
        QStringLiteral("Local search through eth1 (10.9.5.255), eth1 (10.9.7.255).")));

    form.reset();  // the next run searches through eth1 from the start
    setting.pointed.clear();
    Start();
    EXPECT_EQ(form->commands().SearchInterfaces(), (std::vector<std::string>{"eth1"}));
    EXPECT_EQ(setting.pointed.size(), 12u);
    QSettings().remove(QString::fromLatin1(ui::kSearchInterfacesSetting));
}

}  // namespace
}  // namespace torvane::test
