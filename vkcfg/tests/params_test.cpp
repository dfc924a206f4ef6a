// Parameter reads and writes of both generations and of the extended device, over real UDP against the
// simulator. Writes are checked on the device itself and by reading back.
#include <gtest/gtest.h>

#include <chrono>

#include "support/scripted_peer.h"
#include "support/sim_helpers.h"

using namespace vktest;

namespace {

int LoginTo(const vksim::Device& d, LoginRecord& login) {
    return vk_login(Ip(d).c_str(), d.mac.data(), &login);
}

// Expects the single-port record to hold the device's settings.
void ExpectSinglePortOf(const VkParamSinglePort& r, const vksim::Device& d) {
    const auto& c = d.channels[0];
    EXPECT_EQ(r.model_code, d.model->code);
    EXPECT_EQ(0, std::memcmp(r.mac, d.mac.data(), 6));
    EXPECT_EQ(Field(r.device_name, 10), d.name);
    EXPECT_EQ(Field(r.user_name, 10), d.user_name);
    EXPECT_EQ(Field(r.password, 10), d.password);
    EXPECT_EQ(Field(r.firmware_version, 16), d.firmware);
    EXPECT_EQ(Field(r.ip, 16), vksim::IpText(d.ip));
    EXPECT_EQ(Field(r.netmask, 16), vksim::IpText(d.netmask));
    EXPECT_EQ(Field(r.gateway, 16), vksim::IpText(d.gateway));
    EXPECT_EQ(Field(r.dns1, 16), vksim::IpText(d.dns1));
    EXPECT_EQ(Field(r.dns2, 16), vksim::IpText(d.dns2));
    EXPECT_EQ(r.local_port, c.local_port);
    EXPECT_EQ(Field(r.peer_ip, 16), vksim::IpText(c.peer_ip));
    EXPECT_EQ(r.peer_port, c.peer_port);
    EXPECT_EQ(Field(r.url, 30), c.url);
    EXPECT_EQ(r.baud_rate, c.baud_rate);
    EXPECT_EQ(r.parity, c.parity);
    EXPECT_EQ(r.data_bits, c.data_bits);
    EXPECT_EQ(r.flow_control, c.flow_control);
    EXPECT_EQ(r.protocol, d.protocol);
    EXPECT_EQ(r.work_mode, d.work_mode);
    EXPECT_EQ(r.dhcp, d.dhcp);
    EXPECT_EQ(r.url_switch, d.url_switch);
    EXPECT_EQ(r.auto_dns, d.auto_dns);
    EXPECT_EQ(r.keep_alive, d.keep_alive);
    EXPECT_EQ(r.max_interval, d.max_interval);
    EXPECT_EQ(r.max_length, d.max_length);
    if (d.model->generation == vksim::Generation::kText) {
        EXPECT_EQ(r.network_mode, d.network_mode);
        EXPECT_EQ(r.stop_bits, 1);
    } else {
        EXPECT_EQ(r.network_mode, 0);
        EXPECT_EQ(r.stop_bits, c.stop_bits);
    }
}

// Every field of the single-port layout changed to a value the device does not hold yet.
void ChangeEverything(VkParamSinglePort& r, bool second_generation) {
    Put(r.device_name, "Changed9c");
    Put(r.user_name, "operator");
    Put(r.password, "n3wpass");
    Put(r.ip, "127.0.0.10");  // the device keeps answering on its own address either way
    Put(r.netmask, "255.255.0.0");
    Put(r.gateway, "127.0.9.1");
    Put(r.dns1, "9.9.9.9");
    Put(r.dns2, "1.0.0.1");
    r.local_port = 10001;
    Put(r.peer_ip, "10.20.30.40");
    r.peer_port = 20002;
    std::memcpy(r.url, "http://abcdefghijklmnopqrst.cn", 30);  // all 30 bytes
    r.baud_rate = 57600;
    r.parity = 2;
    r.data_bits = 7;
    r.flow_control = 1;
    r.protocol = 0;
    r.work_mode = 2;
    r.dhcp = 1;
    r.url_switch = 1;
    r.auto_dns = 1;
    r.keep_alive = 45;
    r.max_interval = 33;
    r.max_length = 1400;
    if (second_generation) {
        r.stop_bits = 2;
    } else {
        r.network_mode = 1;
    }
}

void ReadWriteReadBack(const char* model) {
    SCOPED_TRACE(model);
    auto device = vksim::MakeDevice(Model(model), 0);
    vksim::Network net({device});
    const bool second = device.model->generation != vksim::Generation::kText;
    LoginRecord login = LoginFor(device);
    VkParamRecord rec;
    std::memset(&rec, 0, sizeof rec);
    ASSERT_EQ(LoginTo(device, login), VK_OK);
    ASSERT_EQ(vk_read_setting(Ip(device).c_str(), device.mac.data(), &rec, &login), VK_OK);
    ExpectSinglePortOf(rec.single, device);
    if (second) vk_logout(Ip(device).c_str(), device.mac.data(), &login);

    ChangeEverything(rec.single, second);
    ASSERT_EQ(LoginTo(device, login), VK_OK);  // a first-generation read ended the session
    ASSERT_EQ(vk_write_setting(Ip(device).c_str(), device.mac.data(), &rec, &login), VK_OK);
    if (second) vk_logout(Ip(device).c_str(), device.mac.data(), &login);
    auto changed = net.WithDevice(0, [](vksim::Device& d) { return d; });
    ExpectSinglePortOf(rec.single, changed);  // the device holds every value written

    // The password changed with the write: the old one is refused now.
    EXPECT_EQ(LoginTo(device, login), VK_ERR_PASSWORD);
    if (second) vk_logout(Ip(device).c_str(), device.mac.data(), &login);
    Put(login.password, "n3wpass");
    ASSERT_EQ(LoginTo(device, login), VK_OK);
    VkParamRecord back;
    std::memset(&back, 0, sizeof back);
    ASSERT_EQ(vk_read_setting(Ip(device).c_str(), device.mac.data(), &back, &login), VK_OK);
    ExpectSinglePortOf(back.single, changed);
}

}  // namespace

TEST(Parameters, FirstGenerationReadAndWriteEveryField) {
    ReadWriteReadBack("VKA100");
    ReadWriteReadBack("VKB220");
}

TEST(Parameters, SecondGenerationSinglePortReadAndWriteEveryField) {
    ReadWriteReadBack("VKB200");
}

TEST(Parameters, MultiPortReadAndWriteEveryChannel) {
    auto device = vksim::MakeDevice(Model("VKB304"), 0);
    device.option_a = 0x12;
    device.channels[3].options = {1, 2, 3, 4};
    device.channels[3].word = 0xBEEF;
    vksim::Network net({device});
    LoginRecord login = LoginFor(device);
    ASSERT_EQ(LoginTo(device, login), VK_OK);
    VkParamRecord rec;
    std::memset(&rec, 0xCC, sizeof rec);  // bytes past the four-channel layout must stay as they are
    ASSERT_EQ(vk_read_setting(Ip(device).c_str(), device.mac.data(), &rec, &login), VK_OK);
    const auto& m = rec.multi;
    EXPECT_EQ(m.model_code, 0x34);
    EXPECT_EQ(Field(m.device_name, 10), device.name);
    EXPECT_EQ(Field(m.ip, 16), vksim::IpText(device.ip));
    EXPECT_EQ(m.option_a, 0x12);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(m.channels[i].local_port, device.channels[i].local_port) << i;
        EXPECT_EQ(Field(m.channels[i].peer_ip, 16), vksim::IpText(device.channels[i].peer_ip)) << i;
        EXPECT_EQ(m.channels[i].baud_rate, device.channels[i].baud_rate) << i;
    }
    EXPECT_EQ(m.channels[3].channel_options[2], 3);
    EXPECT_EQ(m.channels[3].channel_word, 0xBEEF);
    const auto* raw = reinterpret_cast<const uint8_t*>(&rec);
    for (size_t i = 156 + 4 * 68; i < sizeof rec; ++i)
        ASSERT_EQ(raw[i], 0xCC) << "byte " << i;

    for (size_t i = 0; i < 4; ++i) {
        rec.multi.channels[i].baud_rate = 19200u * static_cast<uint32_t>(i + 1);
        Put(rec.multi.channels[i].peer_ip, "10.1.1." + std::to_string(i + 1));
        rec.multi.channels[i].peer_port = static_cast<uint16_t>(7000 + i);
        Put(rec.multi.channels[i].url, "ch" + std::to_string(i));
        rec.multi.channels[i].channel_serial[0] = 7;  // the simulator reads this byte as data bits
    }
    Put(rec.multi.device_name, "Quad2");
    rec.multi.option_b = 0x77;
    ASSERT_EQ(vk_write_setting(Ip(device).c_str(), device.mac.data(), &rec, &login), VK_OK);
    auto d = net.WithDevice(0, [](vksim::Device& x) { return x; });
    EXPECT_EQ(d.name, "Quad2");
    EXPECT_EQ(d.option_b, 0x77);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(d.channels[i].baud_rate, 19200u * (i + 1)) << i;
        EXPECT_EQ(vksim::IpText(d.channels[i].peer_ip), "10.1.1." + std::to_string(i + 1)) << i;
        EXPECT_EQ(d.channels[i].peer_port, 7000 + i) << i;
        EXPECT_EQ(d.channels[i].url, "ch" + std::to_string(i)) << i;
        EXPECT_EQ(d.channels[i].data_bits, 7) << i;
    }
    EXPECT_EQ(d.channels[3].word, 0xBEEF);  // carried back unchanged
}

TEST(Parameters, ExtendedDeviceReadAndWriteTheBlockUnchanged) {
    auto device = vksim::MakeDevice(Model("EXT"), 0);
    vksim::Network net({device});
    LoginRecord login = LoginFor(device);
    ASSERT_EQ(LoginTo(device, login), VK_OK);
    std::vector<uint8_t> payload(VK_EX_PAYLOAD_MAX, 0xAB);
    ASSERT_EQ(vk_read_setting_ex(Ip(device).c_str(), device.mac.data(), payload.data(), &login), VK_OK);
    auto block = net.WithDevice(0, [](vksim::Device& d) { return d.extended_block; });
    ASSERT_EQ(block.size(), 438u);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), payload.begin()));
    EXPECT_EQ(payload[438], 0xAB);  // nothing past the answer's payload

    // Change bytes of the time-service area (kept by the device byte for byte) and write back.
    for (size_t i = 300; i < 310; ++i)
        payload[i] = static_cast<uint8_t>(i);
    ASSERT_EQ(vk_write_setting_ex(Ip(device).c_str(), device.mac.data(), payload.data(), 438, &login), VK_OK);
    auto written = net.WithDevice(0, [](vksim::Device& d) { return d.extended_block; });
    EXPECT_TRUE(std::equal(written.begin(), written.end(), payload.begin()));
    std::vector<uint8_t> again(VK_EX_PAYLOAD_MAX, 0);
    ASSERT_EQ(vk_read_setting_ex("", device.mac.data(), again.data(), &login), VK_OK);  // READ_BY_MAC
    EXPECT_TRUE(std::equal(again.begin(), again.begin() + 438, payload.begin()));
    EXPECT_EQ(RequestsOn(net, 65280).back().bytes[8], 13);
}

TEST(Parameters, ModelsWithoutALayoutGiveArgumentErrorWithNothingSent) {
    auto device = vksim::MakeDevice(Model("EXT"), 0);
    vksim::Network net({device});
    LoginRecord login = LoginFor(device);
    VkParamRecord rec{};
    EXPECT_EQ(vk_read_setting(Ip(device).c_str(), device.mac.data(), &rec, &login), VK_ERR_ARGUMENT);
    EXPECT_EQ(vk_write_setting(Ip(device).c_str(), device.mac.data(), &rec, &login), VK_ERR_ARGUMENT);
    login.model_code = 0x00;
    EXPECT_EQ(vk_read_setting(Ip(device).c_str(), device.mac.data(), &rec, &login), VK_ERR_ARGUMENT);
    EXPECT_TRUE(net.Requests().empty());
    VkaWorkBlock block{};
    EXPECT_EQ(vka_read_setting("", "1.2.3.4", &block, nullptr), VK_ERR_ARGUMENT);  // no address, no MAC
    EXPECT_EQ(vk_write_setting_ex("", device.mac.data(), block.mac, -1, nullptr), VK_ERR_ARGUMENT);
    EXPECT_EQ(vk_write_setting_ex("", device.mac.data(), nullptr, 4, nullptr), VK_ERR_ARGUMENT);
    EXPECT_TRUE(net.Requests().empty());
}

TEST(Parameters, DropsAndForeignTagsStillGiveACorrectRead) {
    auto dropping = vksim::MakeDevice(Model("VKA100"), 0);
    dropping.faults.ignore_text_sends = 2;  // every request answered only at its third send
    auto foreign = vksim::MakeDevice(Model("VKA100"), 1);
    foreign.faults.foreign_tag = true;
    foreign.name = "Foreign";
    vksim::Network net({dropping, foreign});
    for (const auto& d : {dropping, foreign}) {
        SCOPED_TRACE(d.name);
        LoginRecord login = LoginFor(d);
        ASSERT_EQ(LoginTo(d, login), VK_OK);
        VkParamRecord rec{};
        ASSERT_EQ(vk_read_setting(Ip(d).c_str(), d.mac.data(), &rec, &login), VK_OK);
        ExpectSinglePortOf(rec.single, d);
    }
}

TEST(Parameters, RefusalsGiveUnexpectedAnswerAndLeaveTheRecord) {
    auto text = vksim::MakeDevice(Model("VKA100"), 0);
    auto binary = vksim::MakeDevice(Model("VKB302"), 1);
    text.faults.refuse_writes = true;
    binary.faults.refuse_writes = true;
    vksim::Network net({text, binary});
    for (const auto& d : {text, binary}) {
        SCOPED_TRACE(d.model->name);
        LoginRecord login = LoginFor(d);
        VkParamRecord rec;
        std::memset(&rec, 0x5A, sizeof rec);
        // Outside a session the device refuses to be read; the record stays as it was.
        EXPECT_EQ(vk_read_setting(Ip(d).c_str(), d.mac.data(), &rec, &login), VK_ERR_UNEXPECTED);
        EXPECT_EQ(rec.model_code, 0x5A);
        ASSERT_EQ(LoginTo(d, login), VK_OK);
        ASSERT_EQ(vk_read_setting(Ip(d).c_str(), d.mac.data(), &rec, &login), VK_OK);
        ASSERT_EQ(LoginTo(d, login), VK_OK);
        Put(rec.single.device_name, "Nope");
        EXPECT_EQ(vk_write_setting(Ip(d).c_str(), d.mac.data(), &rec, &login), VK_ERR_UNEXPECTED);
    }
    EXPECT_EQ(net.WithDevice(0, [](vksim::Device& d) { return d.name; }), text.name);
    EXPECT_EQ(net.WithDevice(1, [](vksim::Device& d) { return d.name; }), binary.name);
}

TEST(Parameters, BroadcastReadChoosesTheDeviceByMac) {
    auto a = vksim::MakeDevice(Model("VKA100"), 0);
    auto b = vksim::MakeDevice(Model("VKA100"), 1);
    b.name = "Second";
    auto c = vksim::MakeDevice(Model("VKB200"), 2);
    c.name = "Binary";
    vksim::Network net({a, b, c});
    LoginRecord login = LoginFor(b);
    ASSERT_EQ(vk_login("", b.mac.data(), &login), VK_OK);
    VkParamRecord rec{};
    ASSERT_EQ(vk_read_setting("", b.mac.data(), &rec, &login), VK_OK);
    EXPECT_EQ(Field(rec.single.device_name, 10), "Second");
    EXPECT_EQ(TextOf(RequestsOn(net, 65535).at(2)), "W" + MacText(b) + "|20");  // request 0 of the read

    login = LoginFor(c);
    ASSERT_EQ(vk_login("", c.mac.data(), &login), VK_OK);
    ASSERT_EQ(vk_read_setting("", c.mac.data(), &rec, &login), VK_OK);
    EXPECT_EQ(Field(rec.single.device_name, 10), "Binary");
    EXPECT_EQ(RequestsOn(net, 65280).back().bytes[8], 13);  // READ_BY_MAC
}

TEST(Parameters, ScriptedExtendedAnswers) {
    // A 480-byte answer carries 436 payload bytes; an accepted answer without payload gives -2 and
    // copies nothing.
    int round = 0;
    vktest::ScriptedPeer peer({{"127.0.0.91", 65280}}, [&](const vktest::PeerRequest& q) {
        std::vector<vktest::PeerAnswer> out;
        if (q.bytes.size() < 9 || q.bytes[8] != 11) return out;
        vktest::Bytes f(round++ == 0 ? 478 : 40, 0x66);
        std::fill(f.begin(), f.begin() + 12, 0);
        f[7] = 0x57;
        f[8] = 11;
        out.push_back({"127.0.0.91", vktest::WithChecksum(f)});
        return out;
    });
    const uint8_t mac[6] = {1, 2, 3, 4, 5, 6};
    std::vector<uint8_t> payload(VK_EX_PAYLOAD_MAX, 0x11);
    ASSERT_EQ(vk_read_setting_ex("127.0.0.91", mac, payload.data(), nullptr), VK_OK);
    EXPECT_EQ(payload[435], 0x66);
    EXPECT_EQ(payload[436], 0x11);
    std::fill(payload.begin(), payload.end(), 0x11);
    EXPECT_EQ(vk_read_setting_ex("127.0.0.91", mac, payload.data(), nullptr), VK_ERR_UNEXPECTED);
    EXPECT_EQ(payload[0], 0);  // the first four bytes are cleared before the read
    EXPECT_EQ(payload[4], 0x11);
}
