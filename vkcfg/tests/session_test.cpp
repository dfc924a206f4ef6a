// Login and logout of both generations over real UDP against the simulator.
#include <gtest/gtest.h>

#include "support/scripted_peer.h"
#include "support/sim_helpers.h"

using namespace vktest;

namespace {

vksim::Device Device(const char* model, size_t index, const char* password = "") {
    auto d = vksim::MakeDevice(Model(model), index);
    d.password = password;
    return d;
}

bool SessionOpen(vksim::Network& net, size_t i) {
    return net.WithDevice(i, [](vksim::Device& d) { return d.session_open; });
}

}  // namespace

TEST(Login, FirstGenerationAcceptedRefusedAndSilent) {
    vksim::Network net({Device("VKA100", 0, "secret")});
    auto d = Device("VKA100", 0, "secret");
    auto good = LoginFor(d, "secret");
    EXPECT_EQ(vka_login(Ip(d).c_str(), MacText(d).c_str(), &good), VK_OK);
    EXPECT_TRUE(SessionOpen(net, 0));
    EXPECT_EQ(vk_logout(Ip(d).c_str(), d.mac.data(), &good), VK_OK);
    EXPECT_FALSE(SessionOpen(net, 0));

    net.ClearRequests();
    auto bad = LoginFor(d, "wrong");
    EXPECT_EQ(vk_login(Ip(d).c_str(), d.mac.data(), &bad), VK_ERR_PASSWORD);
    auto sent = RequestsOn(net, 65535);
    ASSERT_EQ(sent.size(), 2u);  // addressed: no "W"; the refusal is followed by "O"
    EXPECT_EQ(TextOf(sent[0]), "Lwrong|19");
    EXPECT_EQ(TextOf(sent[1]), "O");
    EXPECT_FALSE(SessionOpen(net, 0));

    auto wrong_model = good;
    wrong_model.model_code = 0x10;
    EXPECT_EQ(vka_login(Ip(d).c_str(), MacText(d).c_str(), &wrong_model), VK_ERR_ARGUMENT);
}

TEST(Login, SilentDevicesGiveNoAnswerAfterTheSessionIsClosed) {
    auto text = Device("VKB220", 0);
    auto binary = Device("VKB200", 1);
    text.faults.loss = 1.0;  // hears, never answers
    binary.faults.loss = 1.0;
    vksim::Network net({text, binary});
    auto tl = LoginFor(text);
    EXPECT_EQ(vk_login(Ip(text).c_str(), text.mac.data(), &tl), VK_ERR_NO_ANSWER);
    auto sent = RequestsOn(net, 65535);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(TextOf(sent[1]), "O");

    auto bl = LoginFor(binary);
    EXPECT_EQ(vk_login(Ip(binary).c_str(), binary.mac.data(), &bl), VK_ERR_NO_ANSWER);
    auto frames = RequestsOn(net, 65280);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes[8], 17);  // LOGIN
    EXPECT_EQ(frames[1].bytes[8], 21);  // then LOGOUT to the same address
    EXPECT_EQ(frames[1].destination, binary.address);
}

TEST(Login, BroadcastLoginNamesTheDeviceByMacAddressedLoginDoesNot) {
    vksim::Network net(
        {Device("VKA100", 0), Device("VKA100", 1), Device("VKB200", 2, "pw"), Device("VKB304", 3)});
    auto text = Device("VKA100", 1);
    auto tl = LoginFor(text);
    EXPECT_EQ(vk_login("", text.mac.data(), &tl), VK_OK);
    auto sent = RequestsOn(net, 65535);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sent[0].broadcast);
    EXPECT_EQ(TextOf(sent[0]), "W" + MacText(text) + "|20");
    EXPECT_EQ(TextOf(sent[1]), "L|19");
    EXPECT_FALSE(SessionOpen(net, 0));  // only the device named by the MAC
    EXPECT_TRUE(SessionOpen(net, 1));

    net.ClearRequests();
    EXPECT_EQ(vk_login("1.2.3", text.mac.data(), &tl), VK_OK);  // under 7 characters: broadcast
    EXPECT_TRUE(RequestsOn(net, 65535).at(0).broadcast);

    net.ClearRequests();
    auto binary = Device("VKB200", 2, "pw");
    auto bl = LoginFor(binary, "pw");
    EXPECT_EQ(vk_login("", binary.mac.data(), &bl), VK_OK);
    auto frames = RequestsOn(net, 65280);
    ASSERT_EQ(frames.size(), 1u);
    const auto& f = frames[0].bytes;
    ASSERT_EQ(f.size(), 42u);
    EXPECT_TRUE(frames[0].broadcast);
    EXPECT_EQ(f[8], 15);    // LOGIN_BY_MAC
    EXPECT_EQ(f[7], 0x57);  // the request tag
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(f[12 + i], binary.mac[i] ^ 0xF3) << "scrambled MAC byte " << i;
    EXPECT_EQ(std::string(f.begin() + 24, f.begin() + 34), std::string("pw\0\0\0\0\0\0\0\0", 10));  // plain
    EXPECT_TRUE(SessionOpen(net, 2));
    EXPECT_FALSE(SessionOpen(net, 3));

    net.ClearRequests();
    EXPECT_EQ(vk_login(Ip(binary).c_str(), binary.mac.data(), &bl), VK_OK);
    EXPECT_EQ(RequestsOn(net, 65280).at(0).bytes[8], 17);  // LOGIN to the address
    EXPECT_FALSE(RequestsOn(net, 65280).at(0).broadcast);
}

TEST(Login, SecondGenerationRefusalAndTheExtendedDevice) {
    auto binary = Device("VLC602", 0, "right");
    auto ext = Device("EXT", 1, "x");
    vksim::Network net({binary, ext});
    auto wrong = LoginFor(binary, "wrong");
    EXPECT_EQ(vk_login(Ip(binary).c_str(), binary.mac.data(), &wrong), VK_ERR_PASSWORD);
    auto el = LoginFor(ext, "x");  // model code 0x83 takes the second-generation login
    EXPECT_EQ(vk_login(Ip(ext).c_str(), ext.mac.data(), &el), VK_OK);
    EXPECT_TRUE(SessionOpen(net, 1));
    EXPECT_EQ(vk_logout(Ip(ext).c_str(), ext.mac.data(), &el), VK_OK);
    EXPECT_FALSE(SessionOpen(net, 1));
}

TEST(Login, ForeignTagsAreReadPast) {
    auto text = Device("VKA100", 0);
    auto binary = Device("VKB200", 1);
    text.faults.foreign_tag = true;
    binary.faults.foreign_tag = true;
    vksim::Network net({text, binary});
    auto tl = LoginFor(text);
    EXPECT_EQ(vk_login(Ip(text).c_str(), text.mac.data(), &tl), VK_OK);
    auto bl = LoginFor(binary);
    EXPECT_EQ(vk_login(Ip(binary).c_str(), binary.mac.data(), &bl), VK_OK);
}

TEST(Login, AnAnswerLongerThanTheBufferIsJudgedOnTheBytesThatFit) {
    // 3000 bytes whose checksum is right over all of them: the first 2048 are read, and their last two
    // are no checksum of the rest. (The Windows build must not take the overlong datagram for a failure.)
    auto binary = Device("VKB200", 0);
    binary.faults.pad = 3000;
    vksim::Network net({binary});
    auto login = LoginFor(binary);
    EXPECT_EQ(vk_login(Ip(binary).c_str(), binary.mac.data(), &login), VK_ERR_UNEXPECTED);
}

TEST(Login, ScriptedAnswersTheDevicesNeverGive) {
    // Right tag and checksum, command 18: a refused password. A wrong checksum: -2 and a logout.
    // A foreign tag and then silence: -3 and a logout.
    int round = 0;
    vktest::ScriptedPeer peer({{"127.0.0.91", 65280}}, [&](const vktest::PeerRequest& q) {
        std::vector<vktest::PeerAnswer> out;
        if (q.bytes.size() != 42 || q.bytes[8] != 17) return out;
        vktest::Bytes f(40, 0);
        f[7] = 0x57;
        f[8] = 18;
        switch (round++) {
            case 0:
                out.push_back({"127.0.0.91", vktest::WithChecksum(f)});
                break;
            case 1: {
                auto bad = vktest::WithChecksum(f);
                bad[40] ^= 0x55;
                out.push_back({"127.0.0.91", bad});
                break;
            }
            default:
                f[7] = 0x58;
                out.push_back({"127.0.0.91", vktest::WithChecksum(f)});
        }
        return out;
    });
    const uint8_t mac[6] = {1, 2, 3, 4, 5, 6};
    LoginRecord login{};
    login.model_code = 0x10;
    EXPECT_EQ(vkb_login("127.0.0.91", mac, &login), VK_ERR_PASSWORD);
    EXPECT_EQ(vkb_login("127.0.0.91", mac, &login), VK_ERR_UNEXPECTED);
    EXPECT_EQ(vkb_login("127.0.0.91", mac, &login), VK_ERR_NO_ANSWER);
    auto seen = peer.Requests();
    ASSERT_EQ(seen.size(), 5u);  // login, login + logout, login + logout
    EXPECT_EQ(seen[2].bytes[8], 21);
    EXPECT_EQ(seen[4].bytes[8], 21);
}

TEST(Login, NullArgumentsAreRefused) {
    const uint8_t mac[6] = {};
    LoginRecord login{};
    EXPECT_EQ(vk_login(nullptr, mac, &login), VK_ERR_ARGUMENT);
    EXPECT_EQ(vk_login("", nullptr, &login), VK_ERR_ARGUMENT);
    EXPECT_EQ(vk_login("", mac, nullptr), VK_ERR_ARGUMENT);
    EXPECT_EQ(vka_logout(nullptr, nullptr), VK_ERR_ARGUMENT);
}
