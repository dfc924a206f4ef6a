// vkctl search in rounds and through interfaces, and vkctl interfaces, run as a program against
// simulated devices on loopback (lo is the interface whose directed broadcast address is the loopback
// broadcast address, so that searching "through lo" stays on this machine).
#include <gtest/gtest.h>

#include <set>

#include <nlohmann/json.hpp>

#include "support/vkctl_runner.h"

using namespace vkctltest;
using Json = nlohmann::json;

namespace {

std::set<std::string> MacsOf(const Json& list) {
    std::set<std::string> macs;
    for (const auto& r : list)
        macs.insert(r.at("mac").get<std::string>());
    return macs;
}

std::vector<vksim::Device> Generated(const char* model, size_t count, size_t first, double loss) {
    vksim::Faults faults;
    faults.loss = loss;
    return vksim::GeneratedDevices(*vksim::FindModel(std::string(model)), count, first, faults);
}

}  // namespace

// One round misses each device with the loss probability; the default rounds find all of them.
TEST(VkctlDiscovery, DefaultRoundsFindEveryOneOfAHundredDevicesAtTenPercentLoss) {
    for (uint32_t seed : {11u, 22u, 33u}) {
        auto devices = Generated("VKA100", 50, 0, 0.1);
        const auto binary = Generated("VKB302", 50, 50, 0.1);
        devices.insert(devices.end(), binary.begin(), binary.end());
        std::set<std::string> expected;
        for (const auto& d : devices)
            expected.insert(Mac(d));
        vksim::Network net(devices, {{127, 255, 255, 255}, seed});
        const Outcome o = Vkctl({"search", "--json"});
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(MacsOf(Json::parse(o.out)), expected) << "seed " << seed;
        EXPECT_EQ(net.stats().requests, 3u * 2u) << "three rounds of the text and the binary search";
    }
}

TEST(VkctlDiscovery, RowsThroughAnInterfaceSayWhichAndTheRunNamesTheAddress) {
    vksim::Network net({Make("VKA100", 0), Make("VKB302", 1)});
    const Outcome json =
        Vkctl({"search", "--interface", "lo", "--rounds", "1", "--json"}, {{"VKCFG_BROADCAST", "127.0.0.1"}});
    ASSERT_EQ(json.status, 0) << json.err;
    const Json list = Json::parse(json.out);
    ASSERT_EQ(list.size(), 2u) << json.out;
    for (const auto& r : list)
        EXPECT_EQ(r.value("interface", ""), "lo");
    EXPECT_EQ(json.err, "vkctl: Local search through lo (127.255.255.255).\n");

    const Outcome table = Vkctl({"search", "--interface", "lo", "--rounds", "1"});
    ASSERT_EQ(table.status, 0) << table.err;
    const auto lines = Lines(table.out);
    ASSERT_EQ(lines.size(), 3u) << table.out;
    EXPECT_NE(lines[0].find("INTERFACE"), std::string::npos);
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].substr(lines[i].size() - 4), "  lo") << lines[i];

    // Without --interface the output keeps its columns and fields.
    const Outcome plain = Vkctl({"search", "--rounds", "1", "--json"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    for (const auto& r : Json::parse(plain.out))
        EXPECT_FALSE(r.contains("interface"));
    EXPECT_EQ(plain.err, "");
}

TEST(VkctlDiscovery, ASilentSearchSaysWhatToCheckForEachRoute) {
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Case> cases{
        {{"search", "--rounds", "1"},
         "vkctl: No device answered the local search. Check that the network interface is up, that a "
         "firewall "
         "lets UDP datagrams in on port 65281, and the broadcast address in use: 127.255.255.255 (set by "
         "VKCFG_BROADCAST).\n"},
        {{"search", "--rounds", "1", "--interface", "lo"},
         "vkctl: Local search through lo (127.255.255.255).\n"
         "vkctl: No device answered the local search through lo (broadcast address 127.255.255.255). Check "
         "that the network interface is up and that a firewall lets UDP datagrams in on port 65281.\n"},
    };
    for (const auto& c : cases) {
        const Outcome o = Vkctl(c.args);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(Lines(o.out).size(), 1u) << "the header alone: " << o.out;
        EXPECT_EQ(o.err, c.err);
    }
}

TEST(VkctlDiscovery, BadRoundsAndUnknownInterfacesAreUsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"search", "--rounds", "0"},
                                                                  {"search", "--rounds", "x"},
                                                                  {"search", "--interface", "nosuch0"}}) {
        const Outcome o = Vkctl(args);
        EXPECT_EQ(o.status, 2) << args.back();
        EXPECT_TRUE(OneErrorLine(o, args.back()));
    }
}

TEST(VkctlDiscovery, InterfacesListsLoopbackWithItsBroadcastAddress) {
    const Outcome o = Vkctl({"interfaces", "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    bool lo = false;
    for (const auto& i : Json::parse(o.out)) {
        lo = lo || (i.value("name", "") == "lo" && i.value("address", "") == "127.0.0.1" &&
                    i.value("netmask", "") == "255.0.0.0" && i.value("broadcast", "") == "127.255.255.255" &&
                    i.value("loopback", false));
    }
    EXPECT_TRUE(lo) << o.out;
    const Outcome table = Vkctl({"interfaces"});
    ASSERT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("127.255.255.255"), std::string::npos);
}
