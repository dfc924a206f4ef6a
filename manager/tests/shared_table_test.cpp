// The shared device table through real POSIX shared memory and a named semaphore, published by the
// simulator's publisher (its own layout code) and read by the manager.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

#include "core/local_search.h"
#include "platform/shared_table_posix.h"
#include "shared_table.h"
#include "support/scripted_library.h"

namespace torvane {
namespace {

using Clock = std::chrono::steady_clock;

// Names of this test process only: other runs on the machine share /dev/shm.
SharedTableNames UniqueNames(const char* what) {
    const std::string tag = "/torvane-test-" + std::to_string(::getpid()) + "-" + what;
    return {tag + " table", tag + " mutex"};
}

vksim::TableNames SimNames(const SharedTableNames& n) {
    return {n.memory, n.mutex};
}

vksim::TableEntry Entry(const char* name, uint8_t mac_last, const char* ip, bool in_use = true) {
    vksim::TableEntry e;
    e.in_use = in_use;
    e.name = name;
    e.mac = {0x00, 0x1A, 0x2B, 0x00, 0x00, mac_last};
    e.ip_text = e.ip = ip;
    e.port = 4001;
    e.netmask = "255.0.0.0";
    e.gateway = "127.0.0.1";
    e.dns1 = "127.0.0.53";
    e.dns2 = "0.0.0.0";
    e.peer_ip = "127.0.0.200";
    return e;
}

double MsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

class SharedTableTest : public ::testing::Test {
  protected:
    DeviceList list;
    test::ScriptedLibrary library;

    void RunPass(SharedDeviceTable& table) {
        LocalSearch search(list, library, table);
        search.SetLocalInterfaces({{InetAddr("127.0.0.1"), InetAddr("255.0.0.0")}});
        search.LocalSearchPass();
    }
    void SetUp() override {
        library.ScriptSearchAll(VK_OK, {});
        library.ScriptSearchAllEx(
            VK_OK, {test::ExtendedSlot(0x83, {0, 0, 0, 0, 0, 0x83}, {127, 0, 0, 9}, "ext", "v")});
    }
};

TEST_F(SharedTableTest, ThePublishedEntriesInUseBecomeRows) {
    const auto names = UniqueNames("rows");
    vksim::SharedTablePublisher publisher(SimNames(names));
    publisher.Put(0, Entry("pump-station-9", 1, "127.0.0.31"));  // a name longer than its 9 bytes
    publisher.Put(1, Entry("unused", 2, "127.0.0.32", false));   // filled, but not in use
    publisher.Put(511, Entry("last", 3, "10.1.1.1"));
    PosixSharedTable table(names);
    RunPass(table);

    ASSERT_EQ(list.RowCount(), 3u);  // two table rows and the extended device
    const DeviceRow& first = list.Row(0);
    EXPECT_EQ(first.sub,
              (std::array<std::string, 5>{"0.26.43.0.0.1", "127.0.0.31", "pump-stat", "", "Local"}));
    EXPECT_EQ(first.image, kImageInSubnet);
    VkSearchRecord r;
    std::memcpy(&r, first.param->DeviceRecord.data(), sizeof r);
    EXPECT_EQ(r.model_code, 0);
    EXPECT_EQ(r.local_port, 4001);  // the publisher's 16-bit value, unchanged
    EXPECT_EQ(std::string(r.ip), "127.0.0.31");
    EXPECT_EQ(std::string(r.dns1), "127.0.0.53");
    EXPECT_EQ(std::string(r.peer_ip), "127.0.0.200");
    EXPECT_EQ(list.Row(1).sub[kSubName], "last");
    EXPECT_EQ(list.Row(1).image, kImageOutOfSubnet);
    EXPECT_EQ(list.Row(2).sub[kSubName], "ext");
}

TEST_F(SharedTableTest, WithoutTheTableThePassMergesTheSearchesOnly) {
    PosixSharedTable table(UniqueNames("absent"));
    EXPECT_EQ(table.Read().status, SharedTableStatus::kAbsent);
    RunPass(table);
    ASSERT_EQ(list.RowCount(), 1u);
    EXPECT_EQ(list.Row(0).sub[kSubName], "ext");
}

TEST_F(SharedTableTest, OnlyTheEntriesThatFitASmallerMemoryAreRead) {
    const auto names = UniqueNames("small");
    vksim::SharedTablePublisher publisher(SimNames(names), 140 * 3 + 70);
    for (uint8_t i = 0; i < 4; ++i)
        publisher.Put(i, Entry("dev", i, "127.0.0.40"));  // the fourth entry does not fit
    const SharedTableSnapshot s = PosixSharedTable(names).Read();
    ASSERT_EQ(s.status, SharedTableStatus::kRead);
    EXPECT_EQ(s.entries.size(), 3u);
}

TEST_F(SharedTableTest, AMissingMutexIsCreatedFreeAndEveryReadReleasesIt) {
    const auto names = UniqueNames("mutex");
    vksim::SharedTablePublisher publisher(SimNames(names));
    publisher.Put(0, Entry("a", 1, "127.0.0.1"));
    ::sem_unlink(names.mutex.c_str());  // the publisher's mutex is gone; the reader makes a new one
    PosixSharedTable table(names);
    for (int i = 0; i < 3; ++i) {
        const auto t0 = Clock::now();
        EXPECT_EQ(table.Read().status, SharedTableStatus::kRead) << "read " << i;
        EXPECT_LT(MsSince(t0), 500) << "read " << i;
    }
}

TEST_F(SharedTableTest, AMutexHeldByAnotherProcessForLongerThanASecondSkipsTheTable) {
    const auto names = UniqueNames("held");
    vksim::SharedTablePublisher publisher(SimNames(names));
    publisher.Put(0, Entry("held", 1, "127.0.0.31"));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sem_t* sem = ::sem_open(names.mutex.c_str(), 0);
        if (sem == SEM_FAILED || ::sem_wait(sem) != 0) ::_exit(1);
        const char one = 1;
        if (::write(ready[1], &one, 1) != 1) ::_exit(1);
        ::usleep(1'600'000);
        ::sem_post(sem);
        ::_exit(0);
    }
    char got = 0;
    ASSERT_EQ(::read(ready[0], &got, 1), 1) << "the other process did not take the mutex";
    PosixSharedTable table(names);
    const auto t0 = Clock::now();
    RunPass(table);
    const double waited = MsSince(t0);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    EXPECT_GE(waited, 995);
    EXPECT_LT(waited, 1500);
    ASSERT_EQ(list.RowCount(), 1u) << "only the extended device, not the table's";
    EXPECT_EQ(list.Row(0).sub[kSubName], "ext");
    EXPECT_EQ(table.Read().status, SharedTableStatus::kRead) << "free again after the other process";
}

}  // namespace
}  // namespace torvane
