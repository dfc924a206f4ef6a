// Serial-line calls over real UDP: the simulator applies them to the channel the call names.
#include <gtest/gtest.h>

#include "support/scripted_peer.h"
#include "support/sim_helpers.h"

using namespace vktest;

namespace {

vksim::Channel ChannelOf(vksim::Network& net, size_t device, size_t channel) {
    return net.WithDevice(device, [&](vksim::Device& d) { return d.channels.at(channel); });
}

}  // namespace

TEST(SerialLine, FirstGenerationCommandsChangeTheLine) {
    auto d = vksim::MakeDevice(Model("VKA100"), 0);
    vksim::Network net({d});
    EXPECT_EQ(vka_setting_baud(Ip(d).c_str(), 38400), VK_OK);
    EXPECT_EQ(vka_setting_parity(Ip(d).c_str(), 1), VK_OK);  // even, sent as the digit 2
    EXPECT_EQ(vka_setting_databit(Ip(d).c_str(), 7), VK_OK);
    auto c = ChannelOf(net, 0, 0);
    EXPECT_EQ(c.baud_rate, 38400u);
    EXPECT_EQ(c.parity, 1);
    EXPECT_EQ(c.data_bits, 7);
    auto sent = RequestsOn(net, 65535);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(TextOf(sent[0]), "PBR5");
    EXPECT_EQ(TextOf(sent[1]), "PPR2");
    EXPECT_EQ(TextOf(sent[2]), "PBB0");
    EXPECT_FALSE(sent[0].broadcast);

    auto login = LoginFor(d);  // the unified call picks the text command for 0x01
    EXPECT_EQ(vk_setting_parity(Ip(d).c_str(), 2, &login), VK_OK);
    EXPECT_EQ(ChannelOf(net, 0, 0).parity, 2);
}

TEST(SerialLine, SecondGenerationFramesChangeTheNamedChannel) {
    auto single = vksim::MakeDevice(Model("VKB200"), 0);
    auto quad = vksim::MakeDevice(Model("VKB304"), 1);
    vksim::Network net({single, quad});
    EXPECT_EQ(vkb_setting_baud(Ip(single).c_str(), 115200), VK_OK);
    EXPECT_EQ(ChannelOf(net, 0, 0).baud_rate, 115200u);
    auto frame = RequestsOn(net, 65280).back().bytes;
    ASSERT_EQ(frame.size(), 42u);
    EXPECT_EQ(frame[18], 0x80);
    EXPECT_EQ(frame[19], 0x04);

    auto login = LoginFor(quad);
    login.channel = 2;
    EXPECT_EQ(vk_setting_parity(Ip(quad).c_str(), 2, &login), VK_OK);
    EXPECT_EQ(vk_setting_databit(Ip(quad).c_str(), 7, &login), VK_OK);
    EXPECT_EQ(vk_setting_baud(Ip(quad).c_str(), 4800, &login), VK_OK);
    EXPECT_EQ(RequestsOn(net, 65280).back().bytes[10], 2);
    auto changed = ChannelOf(net, 1, 2);
    EXPECT_EQ(changed.parity, 2);
    EXPECT_EQ(changed.data_bits, 7);
    EXPECT_EQ(changed.baud_rate, 4800u);
    auto untouched = ChannelOf(net, 1, 1);  // the other channels keep their line
    EXPECT_EQ(untouched.parity, quad.channels[1].parity);
    EXPECT_EQ(untouched.baud_rate, quad.channels[1].baud_rate);

    auto ext = LoginFor(quad);
    ext.model_code = 0x83;  // no serial path
    EXPECT_EQ(vk_setting_baud(Ip(quad).c_str(), 9600, &ext), VK_ERR_ARGUMENT);
    EXPECT_EQ(vkb_setting_parity(Ip(quad).c_str(), 255), VK_ERR_ARGUMENT);  // would read as "unchanged"
}

TEST(SerialLine, RefusalsSilenceAndShortAnswers) {
    auto text = vksim::MakeDevice(Model("VKB220"), 0);
    auto binary = vksim::MakeDevice(Model("VKB200"), 1);
    text.faults.refuse_writes = true;
    binary.faults.refuse_writes = true;
    vksim::Network net({text, binary});
    EXPECT_EQ(vka_setting_baud(Ip(text).c_str(), 9600), VK_ERR_UNEXPECTED);
    EXPECT_EQ(vkb_setting_baud(Ip(binary).c_str(), 9600), VK_ERR_UNEXPECTED);
    EXPECT_EQ(vka_setting_baud("127.0.0.99", 9600), VK_ERR_NO_ANSWER);
    EXPECT_EQ(vkb_setting_baud("127.0.0.99", 9600), VK_ERR_NO_ANSWER);
    EXPECT_EQ(vka_setting_baud("", 9600), VK_ERR_NETWORK);  // never broadcast

    // A 41-byte answer with a correct checksum is no whole frame.
    vktest::ScriptedPeer peer({{"127.0.0.91", 65280}}, [](const vktest::PeerRequest&) {
        return std::vector<vktest::PeerAnswer>{{"127.0.0.91", vktest::WithChecksum(vktest::Bytes(39, 0))}};
    });
    EXPECT_EQ(vkb_setting_databit("127.0.0.91", 8), VK_ERR_UNEXPECTED);
}
