// torvane started for real, as a process on the offscreen platform: the list after its start-up
// sequence against a simulated network with a published shared table and an address book, and the
// single-instance rule between two starts.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "device_list.h"
#include "network.h"
#include "shared_table.h"
#include "support/book_record.h"
#include "support/child_process.h"
#include "support/sandbox.h"
#include "support/unreadable_files.h"

namespace torvane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

const vksim::ModelInfo& Model(const char* name) {
    return *vksim::FindModel(std::string(name));
}

vksim::Device Named(const char* model, size_t index, const char* name, const char* firmware) {
    vksim::Device d = vksim::MakeDevice(Model(model), index);
    d.name = name;
    d.firmware = firmware;
    return d;
}

std::string Row(const std::string& caption, const std::string& mac, const std::string& ip,
                const std::string& name, const std::string& version, const std::string& location, int image) {
    return "row\t" + caption + "\t" + mac + "\t" + ip + "\t" + name + "\t" + version + "\t" + location +
           "\t" + std::to_string(image);
}

std::string Row(const vksim::Device& d, const std::string& name, const std::string& location, int image) {
    return Row("Online", vksim::MacDecimalText(d.mac), vksim::IpText(d.ip), name, d.firmware, location,
               image);
}

// A program folder and a runtime folder of the test's own, so that neither the lock nor the files of
// another run are touched.
class TorvaneProcess : public ::testing::Test {
  protected:
    TempDir home;
    TempDir runtime;
    std::map<std::string, std::string> env{{"TORVANE_HOME", home.path().string()},
                                           {"XDG_RUNTIME_DIR", runtime.path().string()},
                                           {"QT_QPA_PLATFORM", "offscreen"},
                                           {"VKCFG_BROADCAST", "127.255.255.255"}};

    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& args,
                                        const std::string& exe = TORVANE_EXE) {
        return std::make_unique<ChildProcess>(exe, args, env);
    }
};

TEST_F(TorvaneProcess, StartupListsTheSearchedTheSharedAndTheBookDevices) {
    std::vector<vksim::Device> devices = {
        Named("VKB220", 0, "Alpha", "A2.0"),   Named("VKB220", 1, "Beta", "B2.0"),
        Named("VKA100", 2, "Gamma", "G1.0"),  // first generation, but not a VKB220: not listed
        Named("VKB302", 3, "Delta", "D3.0"),  // listed only through the address book
        Named("EXT", 4, "Clock", "C3.2-time"),
    };
    for (size_t i = 5; i < 9; ++i)
        devices.push_back(Named("VKB220", i, ("Port" + std::to_string(i)).c_str(), "P2.0"));
    vksim::Network network(devices);

    const std::string tag = "/torvane-process-test-" + std::to_string(::getpid());
    vksim::SharedTablePublisher publisher({tag + " table", tag + " mutex"});
    vksim::TableEntry alpha = vksim::EntryOf(devices[0]);
    alpha.name = "TblAlpha";
    publisher.Publish({alpha,
                       vksim::ParseTableEntry("name=remote mac=00:03:00:00:00:01 ip=10.1.2.3 port=4100"),
                       vksim::ParseTableEntry("name=unused mac=00:04:00:00:00:01 ip=127.0.0.99 inuse=0")});
    env["TORVANE_SHARED_TABLE_MEMORY"] = tag + " table";
    env["TORVANE_SHARED_TABLE_MUTEX"] = tag + " mutex";

    const std::string delta_ip = vksim::IpText(devices[3].address);
    std::ofstream(home.path() / "DevInfo.dat", std::ios::binary)
        << BookRecord(delta_ip) << BookRecord("127.0.0.250");

    const fs::path shots = fs::path(TORVANE_SCREENSHOT_DIR);
    fs::create_directories(shots);
    auto torvane = Start(
        {"--report", "--quit-after-startup", "--screenshot", (shots / "main_window_vksim.png").string()});
    auto lines = torvane->ReadUntil("startup-done", 30s);
    ASSERT_TRUE(lines) << "no end of the start-up sequence";
    EXPECT_EQ(torvane->Wait(10s), 0);

    Lines expected = {
        Row("Offline", "", "127.0.0.250", "", "", "AddressBook", 0),
        Row(devices[3], "Delta", "AddressBook", 2),
        Row(devices[0], "TblAlpha", "Local", 1),  // the table's name: it is merged after the search
        Row(devices[1], "Beta", "Local", 1),
        Row(devices[4], "Clock", "Local", 1),
        Row("Online", "0.3.0.0.0.1", "10.1.2.3", "remote", "", "Local", 6),
    };
    for (size_t i = 5; i < 9; ++i)
        expected.push_back(Row(devices[i], devices[i].name, "Local", 1));
    Lines rows(lines->begin(), lines->end() - 1);
    EXPECT_EQ(lines->back(), "startup-done\t" + std::to_string(expected.size()));
    // Sorted by caption; rows with equal captions are in no fixed order.
    std::sort(rows.begin(), rows.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(rows, expected);
    EXPECT_TRUE(fs::exists(shots / "main_window_vksim.png"));
}

TEST_F(TorvaneProcess, SecondStartAsksTheFirstToRestoreAndEnds) {
    auto first = Start({"--report"});
    ASSERT_TRUE(first->ReadUntil("startup-done", 30s));

    {
        auto second = Start({"--report"});
        EXPECT_EQ(second->Wait(5s), 0) << "the second start ends at once";
        EXPECT_FALSE(second->ReadLine(100ms)) << "and shows no list";
    }
    EXPECT_EQ(first->ReadLine(5s), "restore-request accepted");

    // A copy of the program in another folder is another program: the request is not for this window.
    const fs::path copy = home.path() / "other" / "torvane";
    fs::create_directories(copy.parent_path());
    fs::copy_file(TORVANE_EXE, copy);
    {
        auto other = Start({}, copy.string());
        EXPECT_EQ(other->Wait(5s), 0);
    }
    EXPECT_EQ(first->ReadLine(5s), "restore-request ignored " + fs::canonical(copy).string());

    first->Kill(SIGKILL);
    ASSERT_EQ(first->Wait(5s), 128 + SIGKILL);
    auto next = Start({"--report", "--quit-after-startup"});
    EXPECT_TRUE(next->ReadUntil("startup-done", 30s)) << "the lock of the killed instance is gone";
    EXPECT_EQ(next->Wait(10s), 0);
}

TEST_F(TorvaneProcess, VersionAndAScreenshotRunEndByThemselves) {
    auto version = Start({"--version"});
    EXPECT_EQ(version->ReadLine(5s), "torvane 1.0.0 (vkcfg 1.0.0)");
    EXPECT_EQ(version->Wait(5s), 0);

    const fs::path picture = home.path() / "main.png";
    auto screenshot = Start({"--screenshot", picture.string()});  // without --quit-after-startup
    EXPECT_EQ(screenshot->Wait(30s), 0) << "a screenshot run closes its window when the picture is taken";
    EXPECT_TRUE(fs::exists(picture));
}

}  // namespace
}  // namespace torvane::test

namespace torvane::test {
namespace {

// What scripts and tests run: a file of the program folder that cannot be read is reported on stderr,
// never in a box nobody can click, the start-up goes on to its end, and nothing replaces what stood at
// the path.
TEST_F(TorvaneProcess, UnreadableFilesAreReportedOnStderrAndTheStartupEnds) {
    struct Case {
        const char* file;
        Unreadable kind;
        const char* reason;
    } cases[] = {
        {"DevInfo.dat", Unreadable::kDirectory, "is a directory"},
        {"DevInfo.dat", Unreadable::kLinkToDirectory, "is a directory"},
        {"DevInfo.dat", Unreadable::kDanglingLink, "a symbolic link to nothing"},
        {"Config.ini", Unreadable::kDirectory, "is a directory"},
    };
    for (const auto& c : cases) {
        const fs::path path = home.path() / c.file;
        SCOPED_TRACE(path.string() + ": " + c.reason);
        MakeUnreadable(c.kind, path, 0);
        const std::string before = DescribePath(path);
        // stderr joins stdout, so that the report and the message arrive in one stream.
        auto torvane =
            Start({"-c", "exec \"$0\" --report --quit-after-startup 2>&1", TORVANE_EXE}, "/bin/sh");
        auto lines = torvane->ReadUntil("startup-done", 30s);
        ASSERT_TRUE(lines) << "the start-up sequence ends";
        EXPECT_NE(std::find(lines->begin(), lines->end(),
                            "torvane: Cannot read " + path.string() + ": " + c.reason),
                  lines->end());
        EXPECT_EQ(lines->back(), "startup-done\t0");
        EXPECT_EQ(torvane->Wait(10s), 0);
        EXPECT_EQ(DescribePath(path), before) << "not replaced at exit";
        fs::remove_all(path);
        fs::remove_all(path.string() + ".folder");
    }
}

}  // namespace
}  // namespace torvane::test
