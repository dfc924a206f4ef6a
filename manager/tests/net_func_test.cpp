// The workstation's interfaces and ARP rows, each test inside a network namespace of its own made on a
// thread of the test (fresh loopback, veth pairs and a tun device made there), so that the machine's own
// interfaces and ARP table are never touched. Also the device session's temporary ARP entry on such a
// table.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <net/if.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "core/params/param_session.h"
#include "platform/net_func.h"
#include "platform/workstation_arp.h"
#include "support/noting_library.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"
#include "support/scripted_library.h"

namespace torvane {
namespace {

using test::RunInPrivateNetwork;
using test::Shell;

// Two veth ends (Ethernet) with an address each.
bool MakeVeth() {
    return Shell("ip link add va type veth peer name vb") && Shell("ip addr add 10.9.0.1/24 dev va") &&
           Shell("ip addr add 10.9.1.1/25 dev vb") && Shell("ip link set va up") &&
           Shell("ip link set vb up");
}

// A tun device (no Ethernet) with an address, left down.
bool MakeTun() {
    return Shell("ip tuntap add tn0 mode tun") && Shell("ip addr add 10.8.0.1/24 dev tn0");
}

bool MakeInterfaces() {
    return MakeVeth() && MakeTun();
}

#define SKIP_UNLESS_MADE(reason)                       \
    do {                                               \
        const std::string why_not = (reason);          \
        if (!why_not.empty()) GTEST_SKIP() << why_not; \
    } while (0)

int Index(const char* name) {
    return static_cast<int>(::if_nametoindex(name));
}

// "ip device mac" for every row of this thread's ARP table.
std::set<std::string> ArpRows() {
    std::ifstream in("/proc/thread-self/net/arp");
    std::set<std::string> rows;
    std::string line, ip, type, flags, mac, mask, dev;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream f(line);
        if (f >> ip >> type >> flags >> mac >> mask >> dev) rows.insert(ip + " " + dev + " " + mac);
    }
    return rows;
}

std::set<std::string> AddRows(const std::vector<std::string>& commands) {
    for (const auto& c : commands)
        EXPECT_TRUE(Shell("ip neigh replace " + c)) << c;
    return ArpRows();
}

TEST(NetFunc, GetLocalInterfacesListsTheInterfacesThatAreUpAtMostThirteen) {
    SKIP_UNLESS_MADE(RunInPrivateNetwork([] {
        ASSERT_TRUE(MakeInterfaces());
        auto text = [](const LocalInterface& i) {
            return IpBytesToText(reinterpret_cast<const uint8_t*>(&i.address)) + "/" +
                   IpBytesToText(reinterpret_cast<const uint8_t*>(&i.netmask));
        };
        std::set<std::string> got;
        for (const auto& i : GetLocalInterfaces())
            got.insert(text(i));
        // tn0 has an address but is down.
        EXPECT_EQ(got, (std::set<std::string>{"127.0.0.1/255.0.0.0", "10.9.0.1/255.255.255.0",
                                              "10.9.1.1/255.255.255.128"}));
        for (int i = 2; i < 20; ++i)
            ASSERT_TRUE(Shell("ip addr add 10.9.0." + std::to_string(i) + "/24 dev va"));
        EXPECT_EQ(GetLocalInterfaces().size(), 13u);
    }));
}

TEST(NetFunc, ListNetworkInterfacesGivesEveryAddressWithItsDirectedBroadcastAddress) {
    SKIP_UNLESS_MADE(RunInPrivateNetwork([] {
        ASSERT_TRUE(MakeInterfaces());
        // A second address with an explicit broadcast address; va's and vb's first ones have none.
        ASSERT_TRUE(Shell("ip addr add 10.9.2.1/16 brd 10.9.255.255 dev va"));
        std::set<std::string> got;
        for (const auto& i : ListNetworkInterfaces()) {
            got.insert(i.name + " " + i.address + "/" + i.netmask + " " + i.broadcast +
                       (i.up ? " up" : " down") + (i.loopback ? " loopback" : ""));
        }
        EXPECT_EQ(got, (std::set<std::string>{"lo 127.0.0.1/255.0.0.0 127.255.255.255 up loopback",
                                              "va 10.9.0.1/255.255.255.0 10.9.0.255 up",
                                              "va 10.9.2.1/255.255.0.0 10.9.255.255 up",
                                              "vb 10.9.1.1/255.255.255.128 10.9.1.127 up",
                                              "tn0 10.8.0.1/255.255.255.0 10.8.0.255 down"}));
    }));
}

TEST(NetFunc, FirstEthernetIndexTakesTheFirstEthernetInterfaceInTableOrder) {
    SKIP_UNLESS_MADE(RunInPrivateNetwork([] {
        ASSERT_TRUE(MakeInterfaces());
        const IpAddressRow lo{InetAddr("127.0.0.1"), Index("lo")};
        const IpAddressRow tun{InetAddr("10.8.0.1"), Index("tn0")};
        const IpAddressRow va{InetAddr("10.9.0.1"), Index("va")};
        const IpAddressRow vb{InetAddr("10.9.1.1"), Index("vb")};
        EXPECT_EQ(FirstEthernetIndex({}), -1);
        EXPECT_EQ(FirstEthernetIndex({lo, tun}), -1);
        EXPECT_EQ(FirstEthernetIndex({lo, tun, vb, va}), Index("vb"));
        EXPECT_EQ(FirstEthernetIndex({va, vb}), Index("va"));

        const auto table = ReadIpAddressTable();
        ASSERT_TRUE(table);
        ASSERT_EQ(table->size(), 4u);  // sorted by address
        EXPECT_EQ((*table)[0].if_index, Index("tn0"));
        EXPECT_EQ((*table)[1].if_index, Index("va"));
        EXPECT_EQ((*table)[3].if_index, Index("lo"));
    }));
}

TEST(NetFunc, AdapterIndexOfAddressFindsTheAdapterThatHasTheAddress) {
    SKIP_UNLESS_MADE(RunInPrivateNetwork([] {
        ASSERT_TRUE(MakeInterfaces());
        EXPECT_EQ(AdapterIndexOfAddress("10.9.0.1"), Index("va"));
        EXPECT_EQ(AdapterIndexOfAddress("10.9.1.1"), Index("vb"));
        EXPECT_EQ(AdapterIndexOfAddress("10.9.0.2"), -1);
        EXPECT_EQ(AdapterIndexOfAddress("127.0.0.1"), -1);  // loopback is no adapter
    }));
}

TEST(NetFunc, SetArpEntryAddsADynamicRowOnTheGivenOrFirstEthernetInterface) {
    SKIP_UNLESS_MADE(RunInPrivateNetwork([] {
        ASSERT_TRUE(MakeInterfaces());
        EXPECT_EQ(SetArpEntry("10.9.1.5", "00-1a-2B-3c-4D-5e", std::to_string(Index("vb"))), 0);
        EXPECT_EQ(SetArpEntry("255.255.255.255", "00-1A-2B-3C-4D-5F", ""), 0);
        EXPECT_EQ(ArpRows(), (std::set<std::string>{"10.9.1.5 vb 00:1a:2b:3c:4d:5e",
                                                    "255.255.255.255 va 00:1a:2b:3c:4d:5f"}));
        EXPECT_NE(SetArpEntry("10.9.1.6", "00-1A-2B-3C-4D-5F", "999"),
                  0);  // the OS refuses: a code, no error
    }));
}

TEST(NetFunc, SetArpEntryRefusesBadArgumentsBeforeAddingAnything) {
    SKIP_UNLESS_MADE(RunInPrivateNetwork([] {
        // Only loopback and a tun device: no Ethernet interface to take.
        ASSERT_TRUE(MakeTun());
        EXPECT_THROW(SetArpEntry("10.8.0.5", "00-1A-2B-3C-4D-5E", ""), NetFuncError);
        ASSERT_TRUE(MakeVeth());
        for (const char* index : {"-1", "abc", "1x", " 2"})
            EXPECT_THROW(SetArpEntry("10.8.0.5", "00-1A-2B-3C-4D-5E", index), NetFuncError) << index;
        EXPECT_THROW(SetArpEntry("10.8.0.5", "00:1A:2B:3C:4D:5E", ""), NetFuncError);
        EXPECT_TRUE(ArpRows().empty());
    }));
}

TEST(NetFunc, WithoutThePrivilegeTheOsErrorComesBackAsTheResult) {
    SKIP_UNLESS_MADE(RunInPrivateNetwork([] {
        ASSERT_TRUE(MakeInterfaces());
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        ASSERT_EQ(::syscall(SYS_capget, &header, data), 0);
        data[0].effective &= ~(1u << CAP_NET_ADMIN);
        ASSERT_EQ(::syscall(SYS_capset, &header, data), 0);
        EXPECT_EQ(SetArpEntry("10.9.0.5", "00-1A-2B-3C-4D-5E", ""), EPERM);
        EXPECT_TRUE(ArpRows().empty());
    }));
}

TEST(NetFunc, DeleteArpEntriesByAddressOrAllOnOneOrEveryAdapter) {
    SKIP_UNLESS_MADE(RunInPrivateNetwork([] {
        ASSERT_TRUE(MakeInterfaces());
        const std::vector<std::string> rows{"10.9.0.5 lladdr 00:00:00:00:00:01 dev va nud stale",
                                            "10.9.0.6 lladdr 00:00:00:00:00:02 dev va nud stale",
                                            "10.9.0.5 lladdr 00:00:00:00:00:03 dev vb nud stale",
                                            "10.9.0.7 lladdr 00:00:00:00:00:04 dev vb nud stale"};
        const std::set<std::string> all = AddRows(rows);
        ASSERT_EQ(all.size(), 4u);

        DeleteArpEntries("10.9.0.1", "999.1.1.1");  // no address: nothing happens
        EXPECT_EQ(ArpRows(), all);
        EXPECT_THROW(DeleteArpEntries("10.9.0.5", "10.7.7.7"), NetFuncError);  // no adapter has it
        EXPECT_THROW(DeleteArpEntries("*", "10.7.7.7"), NetFuncError);
        EXPECT_EQ(ArpRows(), all);

        DeleteArpEntries("10.9.0.5", "");  // on every adapter
        EXPECT_EQ(ArpRows(),
                  (std::set<std::string>{"10.9.0.6 va 00:00:00:00:00:02", "10.9.0.7 vb 00:00:00:00:00:04"}));
        AddRows(rows);
        DeleteArpEntries("10.9.0.5", "10.9.1.1");  // on vb only
        EXPECT_EQ(ArpRows().size(), 3u);
        EXPECT_EQ(ArpRows().count("10.9.0.5 va 00:00:00:00:00:01"), 1u);
        DeleteArpEntries("*", "10.9.0.1");  // all of va
        EXPECT_EQ(ArpRows(), (std::set<std::string>{"10.9.0.7 vb 00:00:00:00:00:04"}));
        AddRows(rows);
        DeleteArpEntries("*", "");  // all of every adapter
        EXPECT_TRUE(ArpRows().empty());
    }));
}

// The ARP rows at the first library call of each kind and at the window of one session with a standard device
// of the local search whose login results are scripted; the operator presses the modify button.
struct SessionRows {
    std::map<std::string, std::set<std::string>> at;  // "vk_login", "vk_read_setting", "window"...
    std::vector<std::string> boxes, log;
};

SessionRows OpenDevice(std::vector<int> logins) {
    static const std::vector<std::string> kNames{"UDP", "TCP", "REAL_COM"};
    const MacBytes mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    SessionRows rows;
    test::ScriptedLibrary scripted;
    test::NotingLibrary library(scripted, [&](const std::string& call) {
        rows.at.emplace(call.substr(0, call.find(' ')), ArpRows());
    });
    test::RecordingUi ui;
    ui.credential_answers.push_back(Credentials{"admin", "x"});
    ui.in_param_window = [&](ParamSheet& sheet, std::span<uint8_t> block) {
        rows.at["window"] = ArpRows();
        EXPECT_EQ(sheet.Modity(block), std::nullopt);
    };
    scripted.ScriptLogins(std::move(logins));
    std::vector<uint8_t> block(sizeof(VkParamRecord), 0);
    block[0] = VK_MODEL_VKB220;
    scripted.ScriptRead(VK_OK, block);
    WorkstationArp arp;
    ParamSession session(library, ui, arp, kNames, {[](std::chrono::milliseconds) {}, [] {}});
    DeviceRow row;
    row.sub = {MacToText(mac), "127.0.0.5", "dev", "V1", kLocationLocal};
    row.image = kImageInSubnet;
    row.param->DeviceRecord =
        RecordBytes(test::StandardRecord(VK_MODEL_VKB220, mac, "127.0.0.5", "dev", "V1"));
    session.ListView1DblClick(&row);
    rows.at["after"] = ArpRows();
    rows.boxes = ui.Lines("message ");
    rows.log = ui.Lines("log ");
    return rows;
}

// The entry ties the library's broadcast address to the device's MAC for the login and the read only;
// it is gone before the window shows, is not made for the write, and is removed after a refused login
// too. A table that cannot take it (no Ethernet interface) does not stop the session.
TEST(WorkstationArp, TheSessionsEntryStandsForTheReadOnlyAndARefusedEntryDoesNotStopTheSession) {
    const std::string broadcast = LibraryBroadcastAddress().value_or("(none)");
    SKIP_UNLESS_MADE(RunInPrivateNetwork([&] {
        const std::set<std::string> none;
        const std::set<std::string> entry{broadcast + " va 00:1a:2b:3c:4d:5e"};
        const std::vector<std::string> written{"Modify 127.0.0.5 param successful!"};

        ASSERT_TRUE(MakeTun());
        SessionRows rows = OpenDevice({VK_OK});
        EXPECT_EQ(rows.at["vk_read_setting"], none);
        EXPECT_EQ(rows.log, written) << "the session went on without the entry";

        ASSERT_TRUE(MakeVeth());
        rows = OpenDevice({VK_OK});
        EXPECT_EQ(rows.at["vk_login"], entry);
        EXPECT_EQ(rows.at["vk_read_setting"], entry);
        EXPECT_EQ(rows.at["window"], none);
        EXPECT_EQ(rows.at["vk_write_setting"], none);
        EXPECT_EQ(rows.at["after"], none);
        EXPECT_EQ(rows.log, written);

        rows = OpenDevice({VK_ERR_PASSWORD, VK_ERR_PASSWORD});
        EXPECT_EQ(rows.at["vk_login"], entry);
        EXPECT_EQ(rows.at["after"], none);
        EXPECT_EQ(rows.boxes, (std::vector<std::string>{"error OK UserName or Password error!"}));
    }));
}

}  // namespace
}  // namespace torvane
