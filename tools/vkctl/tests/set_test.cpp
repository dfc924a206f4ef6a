// vkctl set and serial, run as a program against simulated devices: changes reach the device, bad input
// is refused before anything is sent, and --dry-run writes nothing.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/vkctl_runner.h"

using namespace vkctltest;
using Json = nlohmann::json;

namespace {

vksim::Device Snapshot(vksim::Network& net, size_t index) {
    return net.WithDevice(index, [](vksim::Device& d) { return d; });
}

}  // namespace

TEST(VkctlSet, FirstGenerationFieldsReachTheDevice) {
    vksim::Network net({Make("VKB220", 0)});
    const Outcome o = Vkctl({"set", "127.0.0.10", "device_name=Pump", "baud_rate=19200", "parity=even",
                             "dns1=009.9.9.9", "local_port=5000", "network_mode=busy"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("device_name: \"DEV0\" -> \"Pump\""), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("baud_rate: 9600 -> 19200"), std::string::npos) << o.out;
    const auto d = Snapshot(net, 0);
    EXPECT_EQ(d.name, "Pump");
    EXPECT_EQ(d.channels[0].baud_rate, 19200u);
    EXPECT_EQ(d.channels[0].parity, 1);
    EXPECT_EQ(vksim::IpText(d.dns1), "9.9.9.9");
    EXPECT_EQ(d.channels[0].local_port, 5000);
    EXPECT_EQ(d.network_mode, 1);
    EXPECT_EQ(d.channels[0].peer_port, 5001);  // untouched fields go back as they were read
}

TEST(VkctlSet, SecondGenerationAndMultiPortFieldsReadBack) {
    vksim::Network net({Make("VKB200", 0), Make("VKB304", 1)});
    Outcome o = Vkctl({"set", "127.0.0.10", "peer_ip=10.20.30.40", "stop_bits=2", "work_mode=client",
                       "url=http://example.cn", "max_length=1400"});
    ASSERT_EQ(o.status, 0) << o.err;
    o = Vkctl({"show", "127.0.0.10", "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    const Json single = Json::parse(o.out);
    EXPECT_EQ(single["peer_ip"], "10.20.30.40");
    EXPECT_EQ(single["stop_bits"], 2);
    EXPECT_EQ(single["work_mode"], 2);
    EXPECT_EQ(single["url"], "http://example.cn");
    EXPECT_EQ(single["max_length"], 1400);

    o = Vkctl({"set", "127.0.0.11", "channels[3].baud_rate=115200", "channels[3].peer_ip=10.1.1.4",
               "channels[0].local_port=4100", "gateway=127.0.0.254"});
    ASSERT_EQ(o.status, 0) << o.err;
    const auto d = Snapshot(net, 1);
    EXPECT_EQ(d.channels[3].baud_rate, 115200u);
    EXPECT_EQ(vksim::IpText(d.channels[3].peer_ip), "10.1.1.4");
    EXPECT_EQ(d.channels[0].local_port, 4100);
    EXPECT_EQ(vksim::IpText(d.gateway), "127.0.0.254");
    EXPECT_EQ(d.channels[2].baud_rate, 9600u);
}

TEST(VkctlSet, AChannelsSerialSettingsChangeAndTheOtherChannelsStay) {
    vksim::Network net({Make("VKB304", 0)});
    const auto before = Snapshot(net, 0);
    const Outcome o = Vkctl({"set", "127.0.0.10", "channels[2].parity=even", "channels[2].stop_bits=2"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("channels[2].parity: 0 (none) -> 1 (even)"), std::string::npos) << o.out;
    const auto after = Snapshot(net, 0);
    EXPECT_EQ(after.channels[2].parity, 1);
    EXPECT_EQ(after.channels[2].stop_bits, 2);
    EXPECT_EQ(after.channels[2].data_bits, before.channels[2].data_bits);
    EXPECT_EQ(after.channels[2].flow_control, before.channels[2].flow_control);
    for (size_t i : {0u, 1u, 3u}) {
        EXPECT_EQ(after.channels[i].parity, before.channels[i].parity) << i;
        EXPECT_EQ(after.channels[i].stop_bits, before.channels[i].stop_bits) << i;
        EXPECT_EQ(after.channels[i].baud_rate, before.channels[i].baud_rate) << i;
    }
    const Json shown = Json::parse(Vkctl({"show", "127.0.0.10", "--json"}).out);
    EXPECT_EQ(shown["channels"][2]["stop_bits"], 2);
    EXPECT_EQ(shown["channels"][3]["stop_bits"], 1);
}

TEST(VkctlSet, NamesReachTheDeviceAsGbkBytesAndWhatGbkCannotHoldIsRefused) {
    vksim::Network net({Make("VKB200", 0), Make("VKA100", 1)});
    for (size_t i : {0u, 1u}) {
        const std::string ip = Ip(Snapshot(net, i));
        SCOPED_TRACE(ip);
        Outcome o = Vkctl({"set", ip, "device_name=B\xc3\xbcro-2"});
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(Snapshot(net, i).name, "B\xa8\xb9ro-2");
        o = Vkctl({"show", ip, "--json"});
        EXPECT_EQ(Json::parse(o.out)["device_name"], "B\xc3\xbcro-2");

        net.ClearRequests();
        o = Vkctl({"set", ip, "device_name=Pumpe-\xc3\x9c"});
        EXPECT_EQ(o.status, 2);
        EXPECT_TRUE(OneErrorLine(o, "(U+00DC)"));
        EXPECT_EQ(LoginRequests(net), 0u);  // refused before anything was sent
        EXPECT_EQ(Snapshot(net, i).name, "B\xa8\xb9ro-2");
    }
}

TEST(VkctlSet, ExtendedBlockChangesOnlyTheNamedFields) {
    vksim::Network net({Make("EXT", 0)});
    const auto before = Snapshot(net, 0).extended_block;
    const Outcome o = Vkctl({"set", "127.0.0.10", "time_zone=-8", "time_server2=pool.example",
                             "local_port=6006", "device_name=Clock", "source_baud_rate=4800"});
    ASSERT_EQ(o.status, 0) << o.err;
    const auto d = Snapshot(net, 0);
    EXPECT_EQ(d.name, "Clock");
    EXPECT_EQ(d.channels[0].local_port, 6006);
    const auto& after = d.extended_block;
    ASSERT_EQ(after.size(), 438u);
    EXPECT_EQ(after[235], 248);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&after[278])), "pool.example");
    EXPECT_EQ(after[224], 48);
    for (size_t i = 0; i < 438; ++i) {
        const bool named = i == 235 || (i >= 278 && i < 310) || i == 118 || i == 119 ||
                           (i >= 84 && i < 100) || i == 224 || i == 225;
        if (!named) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
}

TEST(VkctlSet, DryRunAndUnchangedValuesWriteNothing) {
    vksim::Network net({Make("VKB200", 0), Make("VKA100", 1)});
    for (const char* ip : {"127.0.0.10", "127.0.0.11"}) {
        Outcome o = Vkctl({"set", ip, "device_name=Other", "--dry-run"});
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_NE(o.out.find("device_name:"), std::string::npos);
        EXPECT_NE(o.out.find("dry run"), std::string::npos);
        o = Vkctl({"set", ip, "baud_rate=9600"});  // already so
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_NE(o.out.find("nothing to change"), std::string::npos);
    }
    EXPECT_TRUE(ChangeRequests(net).empty());
    EXPECT_EQ(Snapshot(net, 0).name, "DEV0");
    EXPECT_GT(RequestsWithCommandOnceLogged(net, 21, 1), 0u);  // the second-generation session was ended
}

TEST(VkctlSet, BadInputIsRefusedBeforeTheDeviceIsTouched) {
    vksim::Network net({Make("VKB200", 0), Make("VKA100", 1)});
    const std::pair<std::string, std::string> cases[] = {
        {"colour=red", "colour"},          {"local_port=70000", "out of range"},
        {"ip=10.1.1", "not an IPv4"},      {"device_name=a|b", "\"|\""},
        {"baud_rate=fast", "not a speed"}, {"mac=1.2.3.4.5.6", "read-only"},
        {"device_name", "field=value"},    {"password=0123456789", "longer than 9"},
    };
    for (const char* ip : {"127.0.0.10", "127.0.0.11"}) {
        for (const auto& [word, says] : cases) {
            SCOPED_TRACE(std::string(ip) + " " + word);
            const Outcome o = Vkctl({"set", ip, "dhcp=1", word});
            EXPECT_EQ(o.status, 2);
            EXPECT_TRUE(OneErrorLine(o, says));
            EXPECT_TRUE(o.out.empty()) << o.out;
        }
    }
    EXPECT_TRUE(ChangeRequests(net).empty());
    EXPECT_EQ(LoginRequests(net), 0u);
    EXPECT_EQ(Snapshot(net, 0).dhcp, 0);
}

TEST(VkctlSet, WriteProtectionIsReportedAsARefusal) {
    auto device = Make("VKB200", 0);
    device.faults.refuse_writes = true;
    vksim::Network net({device});
    const Outcome o = Vkctl({"set", "127.0.0.10", "device_name=Nope"});
    EXPECT_EQ(o.status, 5);
    EXPECT_TRUE(OneErrorLine(o, "-2"));
    EXPECT_NE(o.err.find("protection"), std::string::npos);
    EXPECT_EQ(Snapshot(net, 0).name, "DEV0");
}

TEST(VkctlSerial, SettingsReachTheDeviceAndTheChannel) {
    vksim::Network net({Make("VKB200", 0), Make("VKB304", 1), Make("VKA100", 2), Make("EXT", 3)});
    Outcome o = Vkctl({"serial", "127.0.0.10", "--baud", "57600", "--parity", "odd", "--databits", "7"});
    ASSERT_EQ(o.status, 0) << o.err;
    auto d = Snapshot(net, 0);
    EXPECT_EQ(d.channels[0].baud_rate, 57600u);
    EXPECT_EQ(d.channels[0].parity, 2);
    EXPECT_EQ(d.channels[0].data_bits, 7);

    o = Vkctl({"serial", "127.0.0.11", "--channel", "2", "--baud", "38400"});
    ASSERT_EQ(o.status, 0) << o.err;
    d = Snapshot(net, 1);
    EXPECT_EQ(d.channels[2].baud_rate, 38400u);
    EXPECT_EQ(d.channels[0].baud_rate, 9600u);

    o = Vkctl({"serial", "127.0.0.12", "--parity", "even"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Snapshot(net, 2).channels[0].parity, 1);

    // The second generation's frame carries the parity byte as it is.
    o = Vkctl({"serial", "127.0.0.11", "--channel", "1", "--parity", "special"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Snapshot(net, 1).channels[1].parity, 5);

    net.ClearRequests();
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused{
        {{"serial", "127.0.0.11", "--channel", "4", "--baud", "9600"}, "--channel 4"},
        {{"serial", "127.0.0.12", "--baud", "300"}, "not a speed"},  // the first generation has no 300
        {{"serial", "127.0.0.12", "--parity", "special"},
         "--parity"},  // the text command has no digit for it
        {{"serial", "127.0.0.13", "--baud", "9600"}, "no serial-line commands"},
        {{"serial", "127.0.0.10"}, "--baud, --parity or --databits"},
    };
    for (const auto& [args, says] : refused) {
        o = Vkctl(args);
        EXPECT_EQ(o.status, 2) << says;
        EXPECT_TRUE(OneErrorLine(o, says));
    }
    EXPECT_TRUE(ChangeRequests(net).empty());
}
