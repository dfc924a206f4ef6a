// The main window's logic against a scripted library and a recording UI: the start-up sequence and the
// local search command step by step (wait window, pauses, passes), the update command's check, the
// save at exit and commands given while searches run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/book_file.h"
#include "core/main_commands.h"
#include "platform/file_writer.h"
#include "support/book_record.h"
#include "support/noting_library.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"
#include "support/scripted_library.h"
#include "support/unreadable_files.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;
using test::BookRecord;
using test::ExtendedSlot;
using test::StandardRecord;
using Lines = std::vector<std::string>;

class NoTable final : public SharedDeviceTable {
  public:
    SharedTableSnapshot Read() override { return {}; }
};

std::string FileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class MainCommandsTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    fs::path book_file = dir.path() / "DevInfo.dat";
    test::ScriptedLibrary scripted;
    test::RecordingUi ui;
    // Puts each library call into the UI's event list, so that the order of passes, pauses and
    // wait-window steps can be read from one list.
    test::NotingLibrary library{scripted, [this](const std::string& call) { ui.events.push_back(call); }};
    NoTable table;
    PlatformFileWriter files;
    MainCommands commands{
        library,
        table,
        ui,
        files,
        book_file,
        MainSeams{[this](std::chrono::milliseconds ms) {
                      ui.events.push_back("pause " + std::to_string(ms.count()));
                  },
                  [this] {
                      ui.events.push_back("interfaces");
                      return std::vector<LocalInterface>{{InetAddr("10.0.0.1"), InetAddr("255.255.255.0")}};
                  },
                  [this](size_t n) { ui.events.push_back("count " + std::to_string(n)); },
                  {}}};

    void WriteBook(const std::vector<std::string>& ips) {
        std::ofstream out(book_file, std::ios::binary);
        for (const auto& ip : ips)
            out << BookRecord(ip);
    }
    Lines Rows() const {
        Lines out;
        const DeviceList& l = commands.list();
        for (size_t i = 0; i < l.RowCount(); ++i) {
            const DeviceRow& r = l.Row(i);
            out.push_back(r.caption + " " + r.sub[kSubMac] + " " + r.sub[kSubIp] + " " + r.sub[kSubLocation] +
                          " " + std::to_string(r.image));
        }
        return out;
    }
};

TEST_F(MainCommandsTest, StartupSequenceRunsItsStepsInOrder) {
    WriteBook({"10.0.0.7", "10.9.9.9"});
    scripted.ScriptSearchOne("10.0.0.7", VK_OK,
                             StandardRecord(0x10, {0, 1, 0, 0, 0, 7}, "10.0.0.7", "bk", "B1"));
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.20", "n", "V1")});
    scripted.ScriptSearchAllEx(VK_OK, {ExtendedSlot(0x83, {0, 3, 0, 0, 0, 1}, {192, 168, 5, 5}, "e", "E1")});

    ASSERT_TRUE(commands.RunStartupSequence());

    const Lines pass = {"vk_search_all", "vk_search_all_ex"};
    Lines expected = {"wait.show",
                      "wait.range 0 2",
                      "wait.position 0",
                      "wait.text Search Device in the AddressBook...",
                      "wait.show",
                      "messages",
                      "vk_search_one 10.0.0.7",
                      "wait.step",
                      "wait.show",
                      "messages",
                      "vk_search_one 10.9.9.9",
                      "wait.step",
                      "pause 100",
                      "wait.text Search Device In Local Network...",
                      "messages",
                      "wait.range 0 3",
                      "wait.position 0",
                      "interfaces"};
    for (int k = 1; k <= 3; ++k) {
        if (k > 1) expected.push_back("pause 100");
        expected.push_back("wait.position " + std::to_string(k));
        expected.insert(expected.end(), pass.begin(), pass.end());
    }
    expected.insert(expected.end(), {"count 4", "wait.hide"});
    EXPECT_EQ(ui.events, expected);

    // Sort column 0: "Offline" before "Online"; rows of equal captions keep their order of arrival.
    EXPECT_EQ(Rows(),
              (Lines{"Offline  10.9.9.9 AddressBook 0", "Online 0.1.0.0.0.7 10.0.0.7 AddressBook 2",
                     "Online 0.2.0.0.0.1 10.0.0.20 Local 1", "Online 0.3.0.0.0.1 192.168.5.5 Local 6"}));
}

TEST_F(MainCommandsTest, StartupWithAnEmptyBookStillSearchesTheNetwork) {
    scripted.ScriptSearchAll(VK_ERR_NETWORK, {});
    ASSERT_TRUE(commands.RunStartupSequence());
    EXPECT_TRUE(fs::exists(book_file)) << "a missing DevInfo.dat is created";
    EXPECT_EQ(ui.Lines("wait.range "), (Lines{"0 0", "0 3"}));
    EXPECT_EQ(scripted.CalledFunctions(), Lines(3, "vk_search_all"))
        << "a failed search skips the rest of its pass";
    EXPECT_EQ(ui.Lines("count "), Lines{"0"});
}

TEST_F(MainCommandsTest, LocalSearchCommandReplacesOnlyLocalRowsAndSortsByMacText) {
    WriteBook({"10.0.0.7"});
    scripted.ScriptSearchOne("10.0.0.7", VK_OK,
                             StandardRecord(0x10, {0, 200, 0, 0, 0, 7}, "10.0.0.7", "bk", "B"));
    // The first start-up pass sees a device that is gone by the command.
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 9, 0, 0, 0, 1}, "10.0.0.90", "old", "V")});
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.21", "a", "V"),
                                     StandardRecord(0x20, {0, 18, 0, 0, 0, 1}, "10.0.0.18", "b", "V")});
    scripted.ScriptSearchAllEx(VK_ERR_NO_ANSWER, {});
    ASSERT_TRUE(commands.RunStartupSequence());
    ASSERT_EQ(commands.list().RowCount(), 4u);
    ui.events.clear();

    commands.RunLocalSearchCommand();

    // Text order: "0.18..." < "0.2..." < "0.200...", although 2 < 18 < 200.
    EXPECT_EQ(Rows(), (Lines{"Online 0.18.0.0.0.1 10.0.0.18 Local 1", "Online 0.2.0.0.0.1 10.0.0.21 Local 1",
                             "Online 0.200.0.0.0.7 10.0.0.7 AddressBook 2"}));
    Lines expected = {"wait.show", "wait.range 0 100", "wait.position 0", "messages"};
    for (int position : {33, 66, 100}) {
        if (position != 33) expected.push_back("pause 100");
        expected.push_back("wait.position " + std::to_string(position));
        expected.insert(expected.end(), {"vk_search_all", "vk_search_all_ex"});
    }
    expected.insert(expected.end(), {"wait.hide", "count 3"});
    EXPECT_EQ(ui.events, expected) << "the wait text stays as the start-up left it";
    EXPECT_EQ(commands.list().SortColumn(), 1);
}

TEST_F(MainCommandsTest, UpdateCommandStopsAtAnOfflineRow) {
    WriteBook({"10.0.0.7", "10.0.0.8"});
    scripted.ScriptSearchOne("10.0.0.8", VK_OK,
                             StandardRecord(0x31, {0, 1, 0, 0, 0, 8}, "10.0.0.8", "n", "V"));
    ASSERT_TRUE(commands.RunStartupSequence());
    ASSERT_EQ(commands.list().Row(0).image, kImageBookOffline);
    ASSERT_EQ(commands.list().Row(1).image, kImageBookOnline);
    ui.events.clear();

    EXPECT_FALSE(commands.CheckUpdateCommand(std::nullopt));
    EXPECT_FALSE(commands.CheckUpdateCommand(5)) << "a row number past the list";
    EXPECT_TRUE(ui.events.empty());

    EXPECT_FALSE(commands.CheckUpdateCommand(0));
    EXPECT_EQ(ui.events,
              Lines{"message information Yes The device is offline,Firmware Updating firmware is abort!"});

    const auto target = commands.CheckUpdateCommand(1);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->model_code, 0x31);
    EXPECT_EQ(target->ip, "10.0.0.8");
    EXPECT_EQ(MacToText(target->mac), "0.1.0.0.0.8") << "the record's MAC, for the update's logins";
}

TEST_F(MainCommandsTest, DeviceInformationRunsTheSessionAndRefreshesTheListAfterASuccessfulWrite) {
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.20", "n", "V")});
    ASSERT_TRUE(commands.RunStartupSequence());
    std::vector<uint8_t> block(sizeof(VkParamRecord), 0);
    block[0] = VK_MODEL_VKB220;
    scripted.ScriptRead(VK_OK, block);
    const std::vector<std::string> names{"UDP", "TCP", "REAL_COM"};
    for (const int written : {VK_OK, VK_ERR_NO_ANSWER}) {
        scripted.ScriptWrite(written);
        ui.in_param_window = [](ParamSheet& sheet, std::span<uint8_t> b) { (void)sheet.Modity(b); };
        ui.events.clear();
        commands.DeviceInformation(std::nullopt, names);
        commands.DeviceInformation(7, names);  // past the list
        EXPECT_TRUE(ui.events.empty());

        commands.DeviceInformation(0, names);
        const Lines refresh = {"log Modify 10.0.0.20 param successful!", "pause 500", "vk_search_all",
                               "vk_search_all_ex"};
        const Lines tail(ui.events.end() - (written == VK_OK ? 4 : 1), ui.events.end());
        EXPECT_EQ(tail, written == VK_OK ? refresh
                                         : Lines{"log Modify 10.0.0.20 param fault,the error code is -3"});
    }
}

TEST_F(MainCommandsTest, CommandsGivenWhileTheStartupSearchesRunAreIgnored) {
    WriteBook({"10.0.0.7", "10.0.0.8"});
    scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.20", "n", "V")});
    ui.dialog_answers.push_back({true, "10.0.0.99"});
    int tries = 0;
    ui.during_messages = [&] {
        ++tries;
        commands.RunLocalSearchCommand();
        commands.RunBookSearchCommand();
        commands.AddToBook();
        commands.DeleteFromBook(0);
        commands.EditBookEntry(0);
        EXPECT_FALSE(commands.CheckUpdateCommand(0));
        commands.DeviceInformation(commands.list().RowCount() - 1, {"UDP"});
    };
    ASSERT_TRUE(commands.RunStartupSequence());
    EXPECT_EQ(tries, 3);
    EXPECT_TRUE(ui.Lines("dialog").empty());
    EXPECT_TRUE(ui.Lines("message ").empty());
    const Lines called = scripted.CalledFunctions();
    EXPECT_EQ(std::count(called.begin(), called.end(), "vk_login"), 0) << "no session inside the searches";
    EXPECT_EQ(Rows(), (Lines{"Offline  10.0.0.7 AddressBook 0", "Offline  10.0.0.8 AddressBook 0",
                             "Online 0.2.0.0.0.1 10.0.0.20 Local 1"}));
    EXPECT_FALSE(commands.busy());

    ui.during_messages = nullptr;
    commands.AddToBook();  // not busy any more: the dialog is asked
    EXPECT_EQ(ui.Lines("dialog "), Lines{"Add IP to AddressBook | 0.0.0.0"});
}

TEST_F(MainCommandsTest, SaveAtExitWritesTheBookRowsInListOrder) {
    WriteBook({"10.0.0.7"});
    ASSERT_TRUE(commands.RunStartupSequence());
    ui.dialog_answers.push_back({true, "10.0.0.1"});
    commands.AddToBook();
    ASSERT_TRUE(commands.SaveAtExit());
    // Both rows are "Offline": the stable sort keeps the added row after the loaded one.
    EXPECT_EQ(FileBytes(book_file), BookRecord("10.0.0.7") + BookRecord("10.0.0.1"));
}

// A book that cannot be read is reported with its path and reason, stays empty, does not stop the
// start-up sequence and is not replaced at exit.
void ExpectUnreadBookReported(const test::RecordingUi& ui, const MainCommands& commands, const fs::path& file,
                              const std::string& reason) {
    EXPECT_EQ(ui.Lines("message error OK "), Lines{"Cannot read " + file.string() + ": " + reason});
    EXPECT_EQ(commands.list().RowCount(), 0u);
    EXPECT_EQ(ui.events.back(), "wait.hide") << "the start-up sequence goes on to its end";
}

TEST_F(MainCommandsTest, ABookThatCannotBeReadIsReportedAndNotOverwrittenAtExit) {
    for (const auto& c : test::kUnreadableCases) {
        SCOPED_TRACE(c.name);
        test::TempDir folder;
        const fs::path file = folder.path() / "DevInfo.dat";
        test::MakeUnreadable(c.kind, file, kBookFileLimit);
        const std::string before = test::DescribePath(file);
        test::RecordingUi quiet;
        MainCommands run(library, table, quiet, files, file,
                         MainSeams{[](std::chrono::milliseconds) {}, {}, {}, {}});
        ASSERT_TRUE(run.RunStartupSequence());
        ExpectUnreadBookReported(quiet, run, file, test::ExpectedReason(c, kBookFileLimit));
        EXPECT_FALSE(run.SaveAtExit());
        EXPECT_EQ(test::DescribePath(file), before);
    }
}

TEST_F(MainCommandsTest, ABookWithoutReadPermissionIsNotOverwrittenAtExit) {
    WriteBook({"10.0.0.7", "10.0.0.8"});
    const std::string before = FileBytes(book_file);
    EXPECT_FALSE(commands.SaveAtExit()) << "no start-up sequence has read the file";
    ASSERT_EQ(::chmod(book_file.c_str(), 0), 0);
    bool started = false;
    const std::string why_not =
        test::RunWithoutFilePrivilege([&] { started = commands.RunStartupSequence(); });
    ::chmod(book_file.c_str(), 0644);
    if (!why_not.empty()) GTEST_SKIP() << why_not;

    EXPECT_TRUE(started);
    ExpectUnreadBookReported(ui, commands, book_file, "Permission denied");
    EXPECT_FALSE(commands.SaveAtExit());
    EXPECT_EQ(FileBytes(book_file), before);
}

struct SilenceCase {
    const char* name;
    int search_result;
    std::vector<uint8_t> codes;  // of the unified search's records
    int ex_result;
    bool port_busy;
    const char* hint;  // nullptr: no line in the log pane
};

// A local search (start-up or command) that hears no device at all says what to check, once; one
// that hears any device, listed or not, says nothing.
TEST_F(MainCommandsTest, ASearchThatHearsNoDeviceSaysWhatToCheck) {
    ASSERT_EQ(::setenv("VKCFG_BROADCAST", "127.255.255.255", 1), 0);
    const std::string nothing = NoDeviceAnsweredHint("127.255.255.255");
    EXPECT_EQ(nothing,
              "No device answered the local search. Check that the network interface is up, that a firewall "
              "lets UDP datagrams in on port 65281, and the broadcast address in use: 127.255.255.255 (set "
              "by VKCFG_BROADCAST).");
    const std::string busy = LocalPortBusyHint();
    EXPECT_EQ(busy,
              "The local search could not use local UDP port 65281: it is in use, another Torvane or vkctl "
              "may be running.");
    const SilenceCase cases[] = {
        {"nothing answers", VK_OK, {}, VK_OK, false, nothing.c_str()},
        {"the port is taken", VK_ERR_NETWORK, {}, VK_OK, true, busy.c_str()},
        {"another network error", VK_ERR_NETWORK, {}, VK_OK, false, nothing.c_str()},
        {"a device of another model answers", VK_OK, {0x10}, VK_OK, true, nullptr},
        {"a VKB220 answers", VK_OK, {0x20}, VK_ERR_NETWORK, true, nullptr},
    };
    for (const auto& c : cases) {
        for (const bool startup : {true, false}) {
            test::ScriptedLibrary lib;
            test::RecordingUi rec;
            std::vector<VkSearchRecord> records;
            for (uint8_t i = 0; i < c.codes.size(); ++i)
                records.push_back(StandardRecord(c.codes[i], {0, 5, 0, 0, 0, i}, "10.0.0.5", "d", "V"));
            lib.ScriptSearchAll(c.search_result, records);
            lib.ScriptSearchAllEx(c.ex_result, {});
            MainSeams seams;
            seams.pause = [](std::chrono::milliseconds) {};
            seams.local_port_busy = [&c] { return c.port_busy; };
            MainCommands cmds(lib, table, rec, files, book_file, seams);
            if (startup) {
                cmds.RunStartupSequence();
            } else {
                cmds.RunLocalSearchCommand();
            }
            const Lines expected = c.hint ? Lines{c.hint} : Lines{};
            EXPECT_EQ(rec.Lines("log "), expected) << c.name << (startup ? " (start-up)" : " (command)");
        }
    }
}

TEST_F(MainCommandsTest, EditsOfARunWhoseBookWasNotReadAreSavedBesideIt) {
    WriteBook({"10.0.0.7"});
    const std::string before = FileBytes(book_file);
    ASSERT_EQ(::chmod(book_file.c_str(), 0), 0);
    const std::string why_not = test::RunWithoutFilePrivilege([&] { commands.RunStartupSequence(); });
    ::chmod(book_file.c_str(), 0644);
    if (!why_not.empty()) GTEST_SKIP() << why_not;
    auto copies = [this] {
        std::vector<fs::path> out;
        for (const auto& e : fs::directory_iterator(dir.path())) {
            if (e.path().filename().string().rfind("DevInfo.dat.unsaved-", 0) == 0) out.push_back(e.path());
        }
        return out;
    };
    ui.events.clear();
    EXPECT_FALSE(commands.SaveAtExit());
    EXPECT_TRUE(copies().empty()) << "nothing changed in this run: nothing to keep";
    EXPECT_TRUE(ui.events.empty());

    ui.dialog_answers.push_back({true, "10.0.0.1"});
    commands.AddToBook();
    commands.AddToBook();  // cancelled: no second row
    const std::time_t at = std::time(nullptr);
    EXPECT_FALSE(commands.SaveAtExit());

    EXPECT_EQ(FileBytes(book_file), before) << "the file that could not be read is left alone";
    const auto kept = copies();
    ASSERT_EQ(kept.size(), 1u);
    const std::string name = kept[0].filename().string();
    ASSERT_EQ(name.size(), std::string("DevInfo.dat.unsaved-").size() + 14) << name;
    char stamps[2][16];
    for (int k = 0; k < 2; ++k) {
        const std::time_t t = at + k;  // the save may fall into the next second
        std::strftime(stamps[k], sizeof stamps[k], "%Y%m%d%H%M%S", std::localtime(&t));
    }
    const std::string stamp = name.substr(name.size() - 14);
    EXPECT_TRUE(stamp == stamps[0] || stamp == stamps[1]) << stamp;
    EXPECT_EQ(FileBytes(kept[0]), BookRecord("10.0.0.1"));
    EXPECT_EQ(ui.Lines("message warning OK "),
              Lines{"The address book could not be read from " + book_file.string() +
                    " at start, so that file was left as it is. The address book of this run was saved to " +
                    kept[0].string() + "."});
}

}  // namespace
}  // namespace torvane
