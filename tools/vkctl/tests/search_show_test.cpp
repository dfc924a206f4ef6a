// vkctl search, find and show, run as a program against simulated devices.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <nlohmann/json.hpp>

#include "support/vkctl_runner.h"

using namespace vkctltest;
using Json = nlohmann::json;

namespace {

const Json* ByMac(const Json& list, const vksim::Device& d) {
    for (const auto& r : list) {
        if (r.value("mac", "") == Mac(d)) return &r;
    }
    return nullptr;
}

class VkctlSearchShow : public ::testing::Test {
  protected:
    vksim::Device text_ = Make("VKA100", 0);
    vksim::Device single_ = Make("VKB200", 1);
    vksim::Device multi_ = Make("VKB302", 2);
    vksim::Device extended_ = Make("EXT", 3);
    vksim::Network net_{{text_, single_, multi_, extended_}};
};

}  // namespace

TEST_F(VkctlSearchShow, SearchTableListsEveryStandardDevice) {
    // --broadcast replaces whatever VKCFG_BROADCAST held for this run.
    const Outcome o =
        Vkctl({"search", "--broadcast", "127.255.255.255"}, {{"VKCFG_BROADCAST", "not-an-address"}});
    ASSERT_EQ(o.status, 0) << o.err;
    const auto lines = Lines(o.out);
    ASSERT_EQ(lines.size(), 4u) << o.out;  // the header and three devices; the extended one needs --extended
    EXPECT_NE(lines[0].find("MODEL"), std::string::npos);
    for (const auto* d : {&text_, &single_, &multi_}) {
        bool listed = false;
        for (const auto& line : lines) {
            listed =
                listed ||
                (line.find(Mac(*d)) != std::string::npos && line.find(Ip(*d)) != std::string::npos &&
                 line.find(d->name) != std::string::npos && line.find(d->model->name) != std::string::npos);
        }
        EXPECT_TRUE(listed) << d->model->name << " missing from\n" << o.out;
    }
    EXPECT_EQ(o.out.find(Mac(extended_)), std::string::npos);
}

TEST_F(VkctlSearchShow, SearchJsonParsesBackWithTheRecordFieldNames) {
    const Outcome o = Vkctl({"search", "--extended", "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    const Json list = Json::parse(o.out);
    ASSERT_EQ(list.size(), 4u);
    for (const auto* d : {&text_, &single_, &multi_, &extended_}) {
        SCOPED_TRACE(d->model->name);
        const Json* r = ByMac(list, *d);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ((*r)["model_code"], d->model->code);
        EXPECT_EQ((*r)["device_name"], d->name);
        EXPECT_EQ((*r)["firmware_version"], d->firmware);
        EXPECT_EQ((*r)["ip"], vksim::IpText(d->ip));
        EXPECT_EQ((*r)["netmask"], vksim::IpText(d->netmask));
        EXPECT_EQ((*r)["peer_ip"], vksim::IpText(d->channels[0].peer_ip));
        if (d != &extended_) {
            EXPECT_EQ((*r)["local_port"], d->channels[0].local_port);
        }
    }
    EXPECT_FALSE(ByMac(list, extended_)->contains("local_port"));
    EXPECT_EQ((*ByMac(list, multi_))["channel_peer_ip"],
              Json::array({vksim::IpText(multi_.channels[1].peer_ip)}));
}

TEST_F(VkctlSearchShow, FindAsksOneAddress) {
    Outcome o = Vkctl({"find", Ip(single_), "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    const Json r = Json::parse(o.out);
    EXPECT_EQ(r["mac"], Mac(single_));
    EXPECT_EQ(r["model_code"], 0x10);

    o = Vkctl({"find", Ip(text_)});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find(Mac(text_)), std::string::npos);

    o = Vkctl({"find", Ip(extended_), "--json"});  // answers only the extended search
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Json::parse(o.out)["model_code"], 0x83);

    o = Vkctl({"find", "127.0.0.99"});
    EXPECT_EQ(o.status, 3);
    EXPECT_TRUE(OneErrorLine(o, "127.0.0.99"));
    o = Vkctl({"find", "127.0.0"});
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(OneErrorLine(o, "127.0.0"));
}

TEST_F(VkctlSearchShow, ShowReadsEveryKindOfDevice) {
    for (const auto* d : {&text_, &single_, &multi_, &extended_}) {
        SCOPED_TRACE(d->model->name);
        const Outcome o = Vkctl({"show", Ip(*d), "--json"});
        ASSERT_EQ(o.status, 0) << o.err;
        const Json j = Json::parse(o.out);
        EXPECT_EQ(j["model_code"], d->model->code);
        EXPECT_EQ(j["mac"], Mac(*d));
        EXPECT_EQ(j["device_name"], d->name);
        EXPECT_EQ(j["firmware_version"], d->firmware);
        EXPECT_EQ(j["ip"], vksim::IpText(d->ip));
        EXPECT_EQ(j["gateway"], vksim::IpText(d->gateway));
        EXPECT_EQ(j["user_name"], d->user_name);
        if (d == &multi_) {
            ASSERT_EQ(j["channels"].size(), 2u);
            for (size_t i = 0; i < 2; ++i) {
                EXPECT_EQ(j["channels"][i]["local_port"], d->channels[i].local_port);
                EXPECT_EQ(j["channels"][i]["peer_ip"], vksim::IpText(d->channels[i].peer_ip));
                EXPECT_EQ(j["channels"][i]["baud_rate"], d->channels[i].baud_rate);
            }
        } else {
            EXPECT_EQ(j["local_port"], d->channels[0].local_port);
            EXPECT_EQ(j["peer_port"], d->channels[0].peer_port);
            EXPECT_EQ(j["baud_rate"], d->channels[0].baud_rate);
            EXPECT_EQ(j["max_length"], d->max_length);
        }
        if (d == &extended_) {
            EXPECT_EQ(j["time_zone"], 8);
            EXPECT_EQ(j["request_interval"], 30);
            EXPECT_EQ(j["time_server1"], "127.0.0.1");
        }
        if (d == &text_) {
            EXPECT_EQ(j["network_mode"], 0);
        }
    }
}

TEST_F(VkctlSearchShow, ShowByMacReachesTheDeviceByBroadcast) {
    // The ARP form of the first-generation device's MAC, and the decimal form of the extended one's.
    char arp[18];
    std::snprintf(arp, sizeof arp, "%02X-%02X-%02X-%02X-%02X-%02X", text_.mac[0], text_.mac[1], text_.mac[2],
                  text_.mac[3], text_.mac[4], text_.mac[5]);
    Outcome o = Vkctl({"show", arp});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("device_name       " + text_.name), std::string::npos) << o.out;
    bool selected_by_broadcast = false;
    for (const auto& r : net_.Requests()) {
        const std::string text(r.bytes.begin(), r.bytes.end());
        selected_by_broadcast = selected_by_broadcast || (r.broadcast && text == "W" + Mac(text_) + "|20");
    }
    EXPECT_TRUE(selected_by_broadcast);

    net_.ClearRequests();
    o = Vkctl({"show", Mac(extended_), "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Json::parse(o.out)["device_name"], extended_.name);
    EXPECT_GT(RequestsWithCommand(net_, 13), 0u);  // READ_BY_MAC

    o = Vkctl({"show", "0.26.43.99.99.99"});
    EXPECT_EQ(o.status, 3);
    EXPECT_TRUE(OneErrorLine(o, "0.26.43.99.99.99"));
}

// While another program holds the library's local port, every command says so, whatever step found
// the port taken (show and find reach the extended search after the search by address failed).
TEST_F(VkctlSearchShow, ABusyLocalPortIsNamedAsTheCause) {
    const int holder = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(holder, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(65281);  // the library's fixed local port
    ASSERT_EQ(::bind(holder, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << errno;
    const std::vector<std::vector<std::string>> commands = {{"search"},
                                                            {"search", "--extended"},
                                                            {"find", Ip(single_)},
                                                            {"show", Ip(single_)},
                                                            {"show", Mac(text_)}};
    for (const auto& args : commands) {
        const Outcome o = Vkctl(args);
        EXPECT_EQ(o.status, 7) << args[0];
        EXPECT_TRUE(
            OneErrorLine(o, "local UDP port 65281 is in use: another Torvane or vkctl may be running"))
            << args[0] << ": " << o.err;
    }
    ::close(holder);
    EXPECT_EQ(Vkctl({"find", Ip(single_)}).status, 0) << "the port is free again";
}
