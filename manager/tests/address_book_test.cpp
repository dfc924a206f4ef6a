// The address book on real files in a temporary folder, and its commands against a scripted library
// and a recording UI.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/address_book.h"
#include "platform/file_writer.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"
#include "support/scripted_library.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;
using test::StandardRecord;
using Texts = std::array<std::string, kSubTextCount>;
using Lines = std::vector<std::string>;

// A record of the file as the format lays it out: ip in 16 bytes, name in 50, zero padded.
std::string Record(const std::string& ip, const std::string& name) {
    std::string r(66, '\0');
    r.replace(0, std::min<size_t>(ip.size(), 16), ip.substr(0, 16));
    r.replace(16, std::min<size_t>(name.size(), 50), name.substr(0, 50));
    return r;
}

class AddressBookTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    fs::path file = dir.path() / "DevInfo.dat";
    DeviceList list;
    test::ScriptedLibrary library;
    test::RecordingUi ui;
    PlatformFileWriter files;
    AddressBook book{list, library, ui, files, file};

    void Load(const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
        ASSERT_TRUE(book.LoadAddressBook());
    }
    std::string Saved() {
        EXPECT_TRUE(book.SaveAddressBook());
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    Lines Column(size_t sub) const {
        Lines out;
        for (size_t i = 0; i < list.RowCount(); ++i)
            out.push_back(list.Row(i).sub[sub]);
        return out;
    }
    void AppendLocal(const std::string& ip) {
        DeviceRow r;
        r.caption = kOnline;
        r.sub = {"1.2.3.4.5.6", ip, "local", "V1", kLocationLocal};
        list.Append(std::move(r));
    }
};

TEST_F(AddressBookTest, LoadMakesAnOfflineRowPerWholeRecord) {
    const std::string ip16 = "192.168.100.2001", name50(50, 'N');             // fields without a NUL
    Load(Record("10.0.0.1", "first") + ip16 + name50 + std::string(8, 'x'));  // 140 bytes
    ASSERT_EQ(list.RowCount(), 2u);
    EXPECT_EQ(list.Row(0).sub, (Texts{"", "10.0.0.1", "first", "", "AddressBook"}));
    EXPECT_EQ(list.Row(1).sub, (Texts{"", ip16, name50, "", "AddressBook"}));
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(list.Row(i).caption, "Offline");
        EXPECT_EQ(list.Row(i).image, kImageBookOffline);
        EXPECT_EQ(list.Row(i).param->DeviceRecord, DeviceRecordBytes{});
    }
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(AddressBookTest, AMissingFileIsCreatedEmpty) {
    ASSERT_TRUE(book.LoadAddressBook());
    EXPECT_EQ(list.RowCount(), 0u);
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST_F(AddressBookTest, SaveWritesTheBookRowsInListOrderCutToTheirFields) {
    Load(Record("10.0.0.3", "c") + Record("10.0.0.1", "a") + Record("10.0.0.3", "c"));
    AppendLocal("10.9.9.9");  // not written
    list.Update(1, [](DeviceRow& r) {
        r.sub = {"", "123.123.123.1234", std::string(60, 'L'), "", kLocationAddressBook};
    });
    EXPECT_EQ(Saved(), Record("10.0.0.3", "c") + Record("123.123.123.123", std::string(49, 'L')) +
                           Record("10.0.0.3", "c"));
    EXPECT_FALSE(fs::exists(dir.path() / "DevInfo.dat.new"));

    for (size_t i = 0; i < 3; ++i)
        book.Del(0);
    EXPECT_EQ(Saved(), "") << "no address-book rows: an empty file";
}

TEST_F(AddressBookTest, AFailedSaveIsReportedAndLeavesTheOldFile) {
    const std::string old = Record("10.0.0.1", "kept") + Record("10.0.0.2", "kept too");
    Load(old);
    list.Update(0, [](DeviceRow& r) { r.sub[kSubName] = "changed"; });
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    bool saved = true;
    const std::string skip = test::RunWithoutFilePrivilege([&] { saved = book.SaveAddressBook(); });
    fs::permissions(dir.path(), fs::perms::owner_all);
    if (!skip.empty()) GTEST_SKIP() << skip;

    EXPECT_FALSE(saved);
    EXPECT_EQ(ui.events, Lines{"message error OK Cannot write " + file.string() + ".new: Permission denied"});
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
    EXPECT_FALSE(fs::exists(dir.path() / "DevInfo.dat.new"));
}

// The copy of a book whose file could not be read is a new file each time: a file of its name (an
// earlier run's copy, made in the same second) keeps its bytes, and the copy takes the next free name.
TEST_F(AddressBookTest, AnUnsavedCopyNeverReplacesAFileOfItsName) {
    const std::time_t now = 1'765'000'000;
    char stamp[16];
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", std::localtime(&now));
    const fs::path taken = dir.path() / ("DevInfo.dat.unsaved-" + std::string(stamp));
    const std::string earlier = Record("10.0.0.1", "an earlier run's edit");
    std::ofstream(taken, std::ios::binary) << earlier;
    ui.dialog_answers = {{true, "10.0.0.9"}};
    book.Add();
    ui.events.clear();

    ASSERT_TRUE(book.SaveUnsavedCopy(now));
    ASSERT_TRUE(book.SaveUnsavedCopy(now));
    const auto bytes = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(bytes(taken), earlier);
    Lines messages;
    for (const char* suffix : {"-2", "-3"}) {
        const fs::path copy = taken.string() + suffix;
        EXPECT_EQ(bytes(copy), Record("10.0.0.9", "")) << copy;
        messages.push_back("message warning OK The address book could not be read from " + file.string() +
                           " at start, so that file was left as it is. The address book of this run was "
                           "saved to " +
                           copy.string() + ".");
    }
    EXPECT_EQ(ui.events, messages);
    EXPECT_FALSE(fs::exists(file)) << "the file itself is never written";

    // A folder that takes no new file: an error box, and nothing is left behind.
    ui.events.clear();
    const auto before = std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    bool saved = true;
    const std::string skip = test::RunWithoutFilePrivilege([&] { saved = book.SaveUnsavedCopy(now); });
    fs::permissions(dir.path(), fs::perms::owner_all);
    if (!skip.empty()) GTEST_SKIP() << skip;
    EXPECT_FALSE(saved);
    ASSERT_EQ(ui.events.size(), 1u);
    EXPECT_EQ(ui.events[0].rfind("message error OK Cannot write " + taken.string(), 0), 0u) << ui.events[0];
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), before);
}

TEST_F(AddressBookTest, AddAsksForAnAddressAndLooksTheDeviceUp) {
    const auto found =
        StandardRecord(0x20, {0, 0x12, 0x34, 0x56, 0x78, 0x9A}, "10.0.0.7", "dev-name12", "V2.1");
    library.ScriptSearchOne("10.0.0.7", VK_OK, found);
    ui.dialog_answers = {{true, "10.0.0.7"}, {true, "10.0.0.8"}, {true, "10.0.0.8"}, {false, "10.0.0.9"}};
    for (int i = 0; i < 4; ++i)
        book.Add();  // found; no answer (silently stays as added) twice; cancelled
    EXPECT_EQ(ui.events, Lines(4, "dialog Add IP to AddressBook | 0.0.0.0"));
    EXPECT_EQ(library.calls().size(), 3u);

    ASSERT_EQ(list.RowCount(), 3u);  // "Offline" sorts before "Online"
    EXPECT_EQ(list.Row(0).sub, (Texts{"", "10.0.0.8", "", "", "AddressBook"}));
    EXPECT_EQ(list.Row(0).caption, "Offline");
    EXPECT_EQ(list.Row(0).image, kImageBookOffline);
    const DeviceRow& on = list.Row(2);
    EXPECT_EQ(on.sub, (Texts{"0.18.52.86.120.154", "10.0.0.7", "dev-name12", "V2.1", "AddressBook"}));
    EXPECT_EQ(on.caption, "Online");
    EXPECT_EQ(on.image, kImageBookOnline);
    EXPECT_EQ(0, std::memcmp(on.param->DeviceRecord.data(), &found, sizeof found));
    EXPECT_EQ(Saved(), Record("10.0.0.8", "") + Record("10.0.0.8", "") + Record("10.0.0.7", "dev-name12"));
}

TEST_F(AddressBookTest, DelAndEditActOnlyOnASelectedBookRow) {
    library.ScriptSearchOne("10.0.0.2", VK_OK,
                            StandardRecord(0x20, {1, 2, 3, 4, 5, 6}, "10.0.0.2", "n", "V"));
    Load(Record("10.0.0.1", "a") + Record("10.0.0.2", "b"));
    book.StartupPass();
    AppendLocal("10.9.9.9");  // goes last
    ui.events.clear();
    ui.dialog_answers = {{true, "10.0.0.5"}, {false, "10.0.0.6"}};

    for (std::optional<size_t> row : {std::optional<size_t>(), {2}, {1}, {0}})
        book.Edit(row);  // none, a local row, accepted, cancelled
    EXPECT_EQ(ui.events, (Lines{"dialog Modify the ip address in book | 10.0.0.2",
                                "dialog Modify the ip address in book | 10.0.0.1"}));
    // The edited row keeps its state until the next search.
    EXPECT_EQ(list.Row(1).sub, (Texts{"1.2.3.4.5.6", "10.0.0.5", "n", "V", "AddressBook"}));
    EXPECT_EQ(list.Row(1).caption, "Online");
    EXPECT_EQ(list.Row(1).image, kImageBookOnline);
    EXPECT_EQ(list.Row(1).param->model_code(), 0x20);

    for (std::optional<size_t> row : {std::optional<size_t>(), {2}, {7}})
        book.Del(row);
    EXPECT_EQ(list.RowCount(), 3u);
    book.Del(0);
    EXPECT_EQ(Column(kSubIp), (Lines{"10.0.0.5", "10.9.9.9"}));
    EXPECT_EQ(library.calls().size(), 2u);  // the start-up pass only
}

TEST_F(AddressBookTest, TheStartupPassAndTheSearchCommandWalkTheRowsWithTheWaitWindow) {
    Load(Record("10.0.0.1", "a") + Record("10.0.0.2", "b"));
    library.ScriptSearchOne("10.0.0.1", VK_OK,
                            StandardRecord(0x20, {0, 0, 0, 0, 0, 1}, "10.0.0.1", "one", "V1"));
    book.StartupPass();  // the second device does not answer: stays as loaded, not logged
    EXPECT_EQ(ui.events, (Lines{"wait.show", "messages", "wait.step", "wait.show", "messages", "wait.step"}));
    EXPECT_EQ(list.Row(0).sub, (Texts{"0.0.0.0.0.1", "10.0.0.1", "one", "V1", "AddressBook"}));
    EXPECT_EQ(list.Row(1).caption, "Offline");
    EXPECT_EQ(list.Row(1).sub[kSubName], "b");

    AppendLocal("10.9.9.9");  // the sort puts the "Offline" row first, the local row last
    library.ScriptSearchOne("10.0.0.1", VK_ERR_NO_ANSWER);
    library.ScriptSearchOne("10.0.0.2", VK_OK,
                            StandardRecord(0x20, {0, 0, 0, 0, 0, 2}, "10.0.0.2", "two", "V9"));
    ui.events.clear();
    book.Search();
    EXPECT_EQ(ui.events,
              (Lines{"wait.range 0 3", "wait.position 0",   //
                     "wait.show", "messages", "wait.step",  //
                     "wait.show", "messages", "log Can't finded the 10.0.0.1 device,error code is -3",
                     "wait.step",              //
                     "wait.show", "messages",  // the local row: skipped, no step
                     "wait.hide"}));
    EXPECT_EQ(list.Row(0).sub, (Texts{"0.0.0.0.0.2", "10.0.0.2", "two", "", "AddressBook"}));  // no version
    EXPECT_EQ(list.Row(0).caption, "Online");
    EXPECT_EQ(list.Row(0).image, kImageBookOnline);
    const DeviceRow& lost = list.Row(1);
    EXPECT_EQ(lost.sub, (Texts{"", "10.0.0.1", "", "V1", "AddressBook"}));
    EXPECT_EQ(lost.caption, "Offline");
    EXPECT_EQ(lost.image, kImageBookOffline);
    EXPECT_EQ(lost.param->DeviceRecord, DeviceRecordBytes{});
    EXPECT_EQ(library.calls().size(), 4u);  // the local row is never searched
    EXPECT_EQ(Saved(), Record("10.0.0.2", "two") + Record("10.0.0.1", ""));
}

TEST_F(AddressBookTest, RowsRemovedWhileWindowMessagesRunEndTheWalkSafely) {
    Load(Record("10.0.0.1", "a") + Record("10.0.0.2", "b") + Record("10.0.0.3", "c"));
    // The operator deletes rows while the walk lets window messages run.
    ui.during_messages = [&] {
        if (list.RowCount() > 1) book.Del(list.RowCount() - 1);
    };
    book.Search();
    book.StartupPass();
    EXPECT_EQ(list.RowCount(), 1u);
    EXPECT_EQ(ui.Lines("log "), Lines{"Can't finded the 10.0.0.1 device,error code is -3"});
}

}  // namespace
}  // namespace torvane
