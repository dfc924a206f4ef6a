// Discovery in rounds and through routes against a scripted library: the merge by MAC, the broadcast
// address each search was given and its restoration, the tallies per route, a failing search, and the
// texts that report routes and silent ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "core/discovery.h"
#include "core/discovery_hints.h"
#include "core/main_commands.h"
#include "platform/file_writer.h"
#include "support/noting_library.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"
#include "support/scripted_library.h"

namespace torvane {
namespace {

using test::StandardRecord;

MacBytes Mac(uint8_t last) {
    return {0x00, 0x1A, 0x2B, 0x3C, 0x4D, last};
}

VkSearchRecord Device(uint8_t last, const std::string& name) {
    return StandardRecord(VK_MODEL_VKB220, Mac(last), "10.9.5." + std::to_string(last), name, "V1.0");
}

class MemorySetting final : public BroadcastSetting {
  public:
    std::optional<std::string> value;
    std::optional<std::string> Get() const override { return value; }
    void Put(const std::optional<std::string>& address) override { value = address; }
};

const SearchRoute kEth1{"eth1", "10.9.5.255"};
const SearchRoute kEth2{"eth2", "10.9.6.255"};

class Discovering : public ::testing::Test {
  protected:
    test::ScriptedLibrary scripted;
    MemorySetting setting;
    std::vector<std::string> searches;  // each search call with the address the library was given
    test::NotingLibrary library{scripted, [this](const std::string& call) {
                                    searches.push_back(call + " " + setting.value.value_or("(unset)"));
                                }};

    std::vector<std::string> Names(const Discovery& d) const {
        std::vector<std::string> names;
        for (const auto& r : d.devices)
            names.push_back(r.device.device_name + "@" + r.route.interface_name);
        return names;
    }
};

TEST_F(Discovering, RoundsMergeByMacKeepingTheFirstPlaceAndTheLatestAnswer) {
    scripted.ScriptSearchAll(VK_OK, {Device(1, "a"), Device(2, "b")});
    scripted.ScriptSearchAll(VK_OK, {Device(3, "c"), Device(2, "b2")});
    scripted.ScriptSearchAll(VK_OK, {});
    const Discovery d = Discover(library, setting, {LibraryRoute()}, 3, false);
    EXPECT_EQ(d.result, VK_OK);
    EXPECT_EQ(Names(d), (std::vector<std::string>{"a@", "b2@", "c@"}));
    ASSERT_EQ(d.tallies.size(), 1u);
    EXPECT_EQ(d.tallies[0].devices, 3u);
    EXPECT_EQ(searches.size(), 3u);
}

TEST_F(Discovering, EveryRoundSearchesThroughEveryRouteAndPutsTheSettingBack) {
    for (const std::optional<std::string>& before :
         {std::optional<std::string>("127.255.255.255"), std::optional<std::string>()}) {
        searches.clear();
        setting.value = before;
        scripted = test::ScriptedLibrary();
        scripted.ScriptSearchAll(VK_OK, {Device(1, "a")});
        scripted.ScriptSearchAll(VK_OK, {});
        scripted.ScriptSearchAll(VK_OK, {Device(7, "g"), Device(1, "a-again")});
        scripted.ScriptSearchAll(VK_OK, {});
        scripted.ScriptSearchAll(VK_OK, {});
        scripted.ScriptSearchAll(VK_OK, {});
        scripted.ScriptSearchAllEx(VK_OK, {});
        const Discovery d = Discover(library, setting, {LibraryRoute(), kEth1, kEth2}, 2, true);
        const std::string own = before.value_or("(unset)");
        EXPECT_EQ(
            searches,
            (std::vector<std::string>{
                "vk_search_all " + own, "vk_search_all_ex " + own, "vk_search_all 10.9.5.255",
                "vk_search_all_ex 10.9.5.255", "vk_search_all 10.9.6.255", "vk_search_all_ex 10.9.6.255",
                "vk_search_all " + own, "vk_search_all_ex " + own, "vk_search_all 10.9.5.255",
                "vk_search_all_ex 10.9.5.255", "vk_search_all 10.9.6.255", "vk_search_all_ex 10.9.6.255"}));
        EXPECT_EQ(setting.value, before);
        // The device heard through the library's route and again through eth2 is listed once, with
        // the answer and the route of the latest round.
        EXPECT_EQ(Names(d), (std::vector<std::string>{"a-again@eth2", "g@eth2"}));
        ASSERT_EQ(d.tallies.size(), 3u);
        EXPECT_EQ(d.tallies[0].devices, 1u);
        EXPECT_EQ(d.tallies[1].devices, 0u);
        EXPECT_EQ(d.tallies[2].devices, 2u);
    }
}

TEST_F(Discovering, AFailingSearchEndsTheDiscoveryNamingItsRoute) {
    setting.value = "127.255.255.255";
    scripted.ScriptSearchAll(VK_OK, {Device(1, "a")});
    scripted.ScriptSearchAll(VK_ERR_NETWORK, {});
    const Discovery d = Discover(library, setting, {kEth1, kEth2}, 3, false);
    EXPECT_EQ(d.result, VK_ERR_NETWORK);
    EXPECT_EQ(d.failed_search, "search through eth2 (broadcast address 10.9.6.255)");
    EXPECT_EQ(searches.size(), 2u) << "no search after the failing one";
    EXPECT_EQ(setting.value, "127.255.255.255");
}

class NoTable final : public SharedDeviceTable {
  public:
    int reads = 0;
    SharedTableSnapshot Read() override { return ++reads, SharedTableSnapshot{}; }
};

// The main window's logic on a workstation with eth1 and eth2, its scripted library noting each call
// with the broadcast address the library was given at that moment.
struct RoutedCommands {
    test::TempDir dir;
    test::ScriptedLibrary scripted;
    test::RecordingUi ui;
    MemorySetting setting;
    test::NotingLibrary library{scripted, [this](const std::string& call) {
                                    ui.events.push_back(call + " " + setting.value.value_or("(unset)"));
                                }};
    NoTable table;
    PlatformFileWriter files;
    MainCommands commands{library, table, ui, files, dir.path() / "DevInfo.dat", Seams()};

    MainSeams Seams() {
        MainSeams seams;
        seams.pause = [](std::chrono::milliseconds) {};
        seams.network_interfaces = [] {
            return std::vector<NetworkInterface>{
                {"lo", "127.0.0.1", "255.0.0.0", "127.255.255.255", true, true},
                {"eth1", "10.9.5.1", "255.255.255.0", "10.9.5.255", true, false},
                {"eth2", "10.9.6.1", "255.255.255.0", "10.9.6.255", true, false}};
        };
        seams.broadcast = &setting;
        return seams;
    }
    std::vector<std::string> LibraryCalls() const {
        std::vector<std::string> calls;
        std::copy_if(ui.events.begin(), ui.events.end(), std::back_inserter(calls),
                     [](const std::string& e) { return e.rfind("vk_", 0) == 0; });
        return calls;
    }
};

// The interfaces chosen for the local search (Torvane's dialog) reach each pass's searches: every
// search goes through each chosen interface that is up, the setting is put back, and the log pane
// names the addresses and each interface that heard nothing.
TEST(LocalSearchRoutes, EveryPassSearchesThroughEachChosenInterfaceAndTheLogSaysWhere) {
    RoutedCommands r;
    r.setting.value = "127.255.255.255";
    r.commands.SetSearchInterfaces({"eth2", "wlan9", "eth1"});
    r.scripted.ScriptSearchAll(VK_OK, {});
    r.scripted.ScriptSearchAll(VK_OK, {Device(1, "a")});  // through eth1, then in every later search
    r.scripted.ScriptSearchAllEx(VK_OK, {});

    r.commands.RunLocalSearchCommand();
    EXPECT_EQ(r.LibraryCalls(),
              (std::vector<std::string>{
                  "vk_search_all 10.9.6.255", "vk_search_all 10.9.5.255", "vk_search_all_ex 10.9.6.255",
                  "vk_search_all_ex 10.9.5.255", "vk_search_all 10.9.6.255", "vk_search_all 10.9.5.255",
                  "vk_search_all_ex 10.9.6.255", "vk_search_all_ex 10.9.5.255", "vk_search_all 10.9.6.255",
                  "vk_search_all 10.9.5.255", "vk_search_all_ex 10.9.6.255", "vk_search_all_ex 10.9.5.255"}));
    EXPECT_EQ(r.table.reads, 3) << "the shared table once per pass";
    EXPECT_EQ(r.setting.value, "127.255.255.255");
    EXPECT_EQ(r.commands.list().RowCount(), 1u);
    // The second and third passes heard the device through eth2 as well (the script repeats its last
    // answer), so only the missing interface is reported besides the addresses.
    EXPECT_EQ(r.ui.Lines("log "),
              (std::vector<std::string>{
                  "The local search leaves out wlan9: no IPv4 network interface of that name is up.",
                  "Local search through eth2 (10.9.6.255), eth1 (10.9.5.255)."}));

    // Back to "All": the library's own address, no line when devices answer.
    r.ui.events.clear();
    r.commands.SetSearchInterfaces({});
    r.commands.RunLocalSearchCommand();
    EXPECT_EQ(r.ui.Lines("vk_search_all "), (std::vector<std::string>(3, "127.255.255.255")));
    EXPECT_TRUE(r.ui.Lines("log ").empty());
}

TEST(LocalSearchRoutes, ARouteThatFailsOrHearsNothingIsNamedAndTheOthersStillMerge) {
    struct Case {
        const char* name;
        std::vector<VkSearchRecord> eth2_records;  // none: the search through eth2 fails as well
        size_t rows;
        int table_reads;
        std::vector<std::string> hints;
    };
    const std::string eth1_silent = NoDeviceAnsweredThroughHint(kEth1);
    const std::string eth2_silent = NoDeviceAnsweredThroughHint(kEth2);
    const std::vector<Case> cases{
        {"eth1 fails, eth2 answers", {Device(2, "b")}, 1, 3, {eth1_silent}},
        {"both fail", {}, 0, 0, {eth1_silent, eth2_silent}},
    };
    for (const auto& c : cases) {
        RoutedCommands r;
        r.commands.SetSearchInterfaces({"eth1", "eth2"});
        for (int pass = 0; pass < 3; ++pass) {
            r.scripted.ScriptSearchAll(VK_ERR_NETWORK, {});
            r.scripted.ScriptSearchAll(c.eth2_records.empty() ? VK_ERR_NETWORK : VK_OK, c.eth2_records);
        }
        r.scripted.ScriptSearchAllEx(VK_OK, {});
        r.commands.RunLocalSearchCommand();
        EXPECT_EQ(r.commands.list().RowCount(), c.rows) << c.name;
        EXPECT_EQ(r.table.reads, c.table_reads) << c.name;
        std::vector<std::string> expected{"Local search through eth1 (10.9.5.255), eth2 (10.9.6.255)."};
        expected.insert(expected.end(), c.hints.begin(), c.hints.end());
        EXPECT_EQ(r.ui.Lines("log "), expected) << c.name;
        EXPECT_EQ(r.setting.value, std::nullopt) << c.name;
    }
}

NetworkInterface Interface(const std::string& name, const std::string& address, const std::string& broadcast,
                           bool up, bool loopback = false) {
    return {name, address, "255.255.255.0", broadcast, up, loopback};
}

TEST(SearchRoutes, AllTakesEveryInterfaceThatIsUpAndNamesTakeEachOfTheirAddresses) {
    const std::vector<NetworkInterface> interfaces{
        Interface("lo", "127.0.0.1", "127.255.255.255", true, true),
        Interface("eth0", "192.168.5.10", "192.168.5.255", true),
        Interface("eth1", "10.9.6.1", "10.9.6.255", true),
        Interface("eth1", "10.9.7.1", "10.9.7.255", true),
        Interface("wlan0", "10.1.1.5", "10.1.1.255", false),
    };
    EXPECT_EQ(RoutesThroughAll(interfaces),
              (std::vector<SearchRoute>{
                  {"eth0", "192.168.5.255"}, {"eth1", "10.9.6.255"}, {"eth1", "10.9.7.255"}}));

    struct Case {
        std::vector<std::string> names;
        std::vector<SearchRoute> routes;
        std::vector<std::string> missing;
    };
    const std::vector<Case> cases{
        {{"eth1", "lo", "eth1"},
         {{"eth1", "10.9.6.255"}, {"eth1", "10.9.7.255"}, {"lo", "127.255.255.255"}},
         {}},
        {{"wlan0", "eth9", "eth0"}, {{"eth0", "192.168.5.255"}}, {"wlan0", "eth9"}},
    };
    for (const auto& c : cases) {
        const RouteChoice choice = RoutesThroughNamed(interfaces, c.names);
        EXPECT_EQ(choice.routes, c.routes) << c.names.front();
        EXPECT_EQ(choice.missing, c.missing) << c.names.front();
    }
}

TEST(SearchRoutes, HintsNameEachSilentRouteAndTheLineNamesEveryAddress) {
    const std::vector<RouteTally> tallies{{LibraryRoute(), 0}, {kEth1, 2}, {kEth2, 0}};
    EXPECT_EQ(
        SilentRouteHints(tallies, "127.255.255.255"),
        (std::vector<std::string>{
            "No device answered the local search. Check that the network interface is up, that a "
            "firewall lets UDP datagrams in on port 65281, and the broadcast address in use: "
            "127.255.255.255 (set by VKCFG_BROADCAST).",
            "No device answered the local search through eth2 (broadcast address 10.9.6.255). Check "
            "that the network interface is up and that a firewall lets UDP datagrams in on port 65281."}));
    EXPECT_EQ(SearchRoutesLine({LibraryRoute()}, "127.255.255.255"), "Local search through 127.255.255.255.");
    EXPECT_EQ(SearchRoutesLine({kEth1, kEth2}, "255.255.255.255"),
              "Local search through eth1 (10.9.5.255), eth2 (10.9.6.255).");
}

}  // namespace
}  // namespace torvane
