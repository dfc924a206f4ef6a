// Discovery over real UDP on loopback, against the simulator and, for answers no sound device gives,
// against a scripted peer.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "device_list.h"
#include "network.h"
#include "support/scripted_peer.h"
#include "support/sim_helpers.h"
#include "vkcfg.h"

namespace {

using vktest::Field;
using vktest::Model;

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// Expects the record to describe the simulated device as the device itself holds it.
void ExpectRecordOf(const VkSearchRecord& r, const vksim::Device& d) {
    SCOPED_TRACE(std::string("device ") + d.model->name + " " + vksim::IpText(d.address));
    EXPECT_EQ(r.model_code, d.model->code);
    EXPECT_EQ(0, std::memcmp(r.mac, d.mac.data(), 6));
    EXPECT_EQ(Field(r.device_name, 10), d.name);
    EXPECT_EQ(Field(r.firmware_version, 16), d.firmware);
    EXPECT_EQ(Field(r.ip, 16), vksim::IpText(d.ip));
    EXPECT_EQ(Field(r.netmask, 16), vksim::IpText(d.netmask));
    EXPECT_EQ(Field(r.gateway, 16), vksim::IpText(d.gateway));
    EXPECT_EQ(Field(r.dns1, 16), vksim::IpText(d.dns1));
    EXPECT_EQ(Field(r.dns2, 16), vksim::IpText(d.dns2));
    EXPECT_EQ(r.local_port, d.channels[0].local_port);
    EXPECT_EQ(Field(r.peer_ip, 16), vksim::IpText(d.channels[0].peer_ip));
    for (size_t k = 1; k < 8; ++k) {
        std::string expected =
            k < static_cast<size_t>(d.model->channels) ? vksim::IpText(d.channels[k].peer_ip) : "";
        EXPECT_EQ(Field(r.channel_peer_ip[k - 1], 16), expected) << "channel " << k;
    }
}

std::vector<vksim::Device> StandardDevices() {
    std::vector<vksim::Device> out;
    for (const auto& d : vksim::DemoNetwork()) {
        if (d.model->generation != vksim::Generation::kExtended) out.push_back(d);
    }
    return out;
}

}  // namespace

TEST(Discovery, UnifiedSearchListsTextDevicesFirstThenBinaryDevicesOnce) {
    auto devices = vksim::DemoNetwork();  // one device of every model, the extended device included
    vksim::Network net(devices);
    std::vector<VkSearchRecord> records(64);
    int count = static_cast<int>(records.size());
    ASSERT_EQ(vk_search_all(records.data(), &count), VK_OK);

    auto standard = StandardDevices();
    ASSERT_EQ(count, static_cast<int>(standard.size()));
    // The text search comes first: both first-generation devices, then every binary device. The
    // extended device is not a record of the unified search.
    size_t text_devices = 0;
    for (const auto& d : standard)
        text_devices += d.model->generation == vksim::Generation::kText;
    ASSERT_EQ(text_devices, 2u);
    for (size_t i = 0; i < standard.size(); ++i) {
        bool is_text = i < text_devices;
        EXPECT_EQ(records[i].model_code == 0x01 || records[i].model_code == 0x20, is_text) << i;
    }
    for (const auto& d : standard) {
        auto it = std::find_if(records.begin(), records.begin() + count, [&](const VkSearchRecord& r) {
            return std::memcmp(r.mac, d.mac.data(), 6) == 0;
        });
        ASSERT_NE(it, records.begin() + count) << d.model->name;
        ExpectRecordOf(*it, d);
    }
}

TEST(Discovery, EachGenerationSearchFindsOnlyItsOwnDevices) {
    vksim::Network net(StandardDevices());
    std::vector<VkSearchRecord> records(32);
    int count = 32;
    ASSERT_EQ(vka_search_all(records.data(), &count), VK_OK);
    EXPECT_EQ(count, 2);
    count = 32;
    ASSERT_EQ(vkb_search_all(records.data(), &count), VK_OK);
    EXPECT_EQ(count, 10);  // 0x10, five VKB30x and four VLC6xx; never the VKB220
    for (int i = 0; i < count; ++i)
        EXPECT_NE(records[static_cast<size_t>(i)].model_code, 0x20);
}

TEST(Discovery, CapacityOneWritesOneRecordAndNothingPastIt) {
    std::vector<vksim::Device> devices{vksim::MakeDevice(Model("VKA100"), 0),
                                       vksim::MakeDevice(Model("VKA100"), 1)};
    devices[1].faults.delay_ms = 30;  // the first device answers first
    vksim::Network net(devices);
    VkSearchRecord records[2];
    std::memset(records, 0xCD, sizeof records);
    int count = 1;
    ASSERT_EQ(vka_search_all(records, &count), VK_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(0, std::memcmp(records[0].mac, devices[0].mac.data(), 6));
    for (size_t i = 0; i < sizeof records[1]; ++i) {
        ASSERT_EQ(reinterpret_cast<const uint8_t*>(&records[1])[i], 0xCD)
            << "byte " << i << " of the next record";
    }
}

TEST(Discovery, QuietNetworkEndsAfterTheQuietPeriods) {
    vksim::Network net({});
    VkSearchRecord records[4];
    int count = 4;
    auto t0 = Clock::now();
    ASSERT_EQ(vka_search_all(records, &count), VK_OK);
    double text_ms = MsSince(t0);
    EXPECT_EQ(count, 0);
    EXPECT_GE(text_ms, 345);
    EXPECT_LT(text_ms, 450);

    count = 4;
    t0 = Clock::now();
    ASSERT_EQ(vk_search_all(records, &count), VK_OK);
    double both_ms = MsSince(t0);
    EXPECT_EQ(count, 0);
    EXPECT_GE(both_ms, 695);
    EXPECT_LT(both_ms, 850);

    VkSearchRecordEx slots[2];
    count = 2;
    t0 = Clock::now();
    ASSERT_EQ(vk_search_all_ex(slots, &count), VK_OK);
    EXPECT_EQ(count, 0);
    EXPECT_GE(MsSince(t0), 295);
    EXPECT_LT(MsSince(t0), 400);
}

TEST(Discovery, DuplicatedAndRepeatedAnswersListADeviceOnce) {
    std::vector<VkSearchRecord> records(64);
    int count = 64;
    {
        auto devices = StandardDevices();
        for (auto& d : devices)
            d.faults.duplicate = 1.0;  // every answer twice
        vksim::Network net(devices);
        ASSERT_EQ(vk_search_all(records.data(), &count), VK_OK);
        EXPECT_EQ(count, static_cast<int>(devices.size()));
    }

    // Answers of two devices interleaved (A, B, A): still two records.
    vktest::ScriptedPeer peer({{"127.255.255.255", 65535}}, [](const vktest::PeerRequest&) {
        auto a = vktest::Text("A0.1.2.3.4.5/1/0/0/0/first-device");
        auto b = vktest::Text("A0.1.2.3.4.6/1/0/0/0/second-device");
        return std::vector<vktest::PeerAnswer>{{"127.0.0.91", a}, {"127.0.0.92", b}, {"127.0.0.91", a}};
    });
    count = 64;
    ASSERT_EQ(vka_search_all(records.data(), &count), VK_OK);
    EXPECT_EQ(count, 2);
}

TEST(Discovery, CorruptChecksumsAreIgnoredWithoutLosingTheGoodDevices) {
    auto devices = StandardDevices();
    devices[4].faults.corrupt = 1.0;  // a binary device whose every answer has a wrong checksum
    ASSERT_EQ(devices[4].model->generation, vksim::Generation::kBinary);
    vksim::Network net(devices);
    std::vector<VkSearchRecord> records(64);
    int count = 64;
    ASSERT_EQ(vk_search_all(records.data(), &count), VK_OK);
    EXPECT_EQ(count, static_cast<int>(devices.size()) - 1);
    for (int i = 0; i < count; ++i) {
        EXPECT_NE(0, std::memcmp(records[static_cast<size_t>(i)].mac, devices[4].mac.data(), 6));
    }
}

TEST(Discovery, MalformedTextAnswersEndABatchButNotTheSearch) {
    vktest::ScriptedPeer peer({{"127.255.255.255", 65535}}, [](const vktest::PeerRequest&) {
        return std::vector<vktest::PeerAnswer>{
            {"127.0.0.91", vktest::Text("A0.1.2.3.4.5/1/0/0/0/good-one")},
            {"127.0.0.92", vktest::Text("A0.1.2.3.4.6/1")},                       // shorter than 24
            {"127.0.0.93", vktest::Text("N0.1.2.3.4.7/1/0/0/0/refused-status")},  // not "A"
            {"127.0.0.94", vktest::Text("VB")},                                   // second generation
            {"127.0.0.95", vktest::Text("A0.1.2.3.4.8/1/0/0/0/good-two")},
        };
    });
    VkSearchRecord records[8];
    int count = 8;
    ASSERT_EQ(vka_search_all(records, &count), VK_OK);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(Field(records[0].device_name, 10), "good-one");
    EXPECT_EQ(Field(records[0].ip, 16), "127.0.0.91");  // the sender's address: no part two
    EXPECT_EQ(Field(records[1].device_name, 10), "good-two");
}

TEST(Discovery, BinarySearchSkipsVkb220AndShortFrames) {
    auto frame = [](uint8_t model, size_t size, uint8_t mac_last) {
        vktest::Bytes f(size - 2, 0);
        f[8] = 2;
        f[9] = model;
        for (size_t i = 12; i < f.size(); ++i)
            f[i] ^= 0xF3;  // scrambled zero payload
        f[17] ^= mac_last;
        return vktest::WithChecksum(f);
    };
    vktest::ScriptedPeer peer({{"127.255.255.255", 65280}}, [&](const vktest::PeerRequest&) {
        return std::vector<vktest::PeerAnswer>{
            {"127.0.0.91", frame(0x20, 158, 1)},  // VKB220: listed by the text search only
            {"127.0.0.92", frame(0x10, 100, 2)},  // too short for its shape
            {"127.0.0.93", frame(0x10, 158, 3)},
        };
    });
    VkSearchRecord records[4];
    int count = 4;
    ASSERT_EQ(vkb_search_all(records, &count), VK_OK);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(records[0].mac[5], 3);
}

TEST(Discovery, SearchOneAsksTheTextCommandThenTheBinaryFrameOnVB) {
    auto devices = vksim::DemoNetwork();
    vksim::Network net(devices);
    for (const auto& d : devices) {
        SCOPED_TRACE(d.model->name);
        if (d.model->generation == vksim::Generation::kExtended) continue;
        net.ClearRequests();
        VkSearchRecord r;
        std::memset(&r, 0x5A, sizeof r);
        ASSERT_EQ(vk_search_one(vksim::IpText(d.address).c_str(), &r), VK_OK);
        ExpectRecordOf(r, d);
        auto requests = net.Requests();
        if (d.model->generation == vksim::Generation::kText) {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].bytes, vksim::Bytes{'X'});
        } else {
            ASSERT_EQ(requests.size(), 2u);
            EXPECT_EQ(requests[0].port, 65535);
            EXPECT_EQ(requests[1].port, 65280);  // the SEARCH frame to the same address
            EXPECT_EQ(requests[1].destination, d.address);
            EXPECT_FALSE(requests[1].broadcast);
            EXPECT_EQ(requests[1].bytes.size(), 42u);
            EXPECT_EQ(requests[1].bytes[8], 1);
        }
    }
    VkSearchRecord r;
    const auto& binary = devices[2];
    ASSERT_EQ(binary.model->code, 0x10);
    EXPECT_EQ(vka_search_one(vksim::IpText(binary.address).c_str(), &r), VK_SECOND_GENERATION);
    EXPECT_EQ(r.model_code, 0x10);
    EXPECT_EQ(Field(r.ip, 16), vksim::IpText(binary.address));
}

TEST(Discovery, SearchOneOfASilentAddressTimesOut) {
    vksim::Network net({});
    VkSearchRecord r;
    auto t0 = Clock::now();
    EXPECT_EQ(vka_search_one("127.0.0.77", &r), VK_ERR_NETWORK);  // no answer counts as a network error here
    EXPECT_GE(MsSince(t0), 990);
    EXPECT_EQ(vk_search_one("127.0.0.77", &r), VK_ERR_NO_ANSWER);
    EXPECT_EQ(vkb_search_one("127.0.0.77", &r), VK_ERR_NO_ANSWER);
    EXPECT_EQ(vk_search_one(nullptr, &r), VK_ERR_ARGUMENT);
    EXPECT_EQ(vk_search_one("127.0.0.77", nullptr), VK_ERR_ARGUMENT);
}

TEST(Discovery, SearchOneRefusesBadChecksumsAndForeignTexts) {
    vktest::ScriptedPeer peer(
        {{"127.0.0.91", 65535}, {"127.0.0.91", 65280}}, [](const vktest::PeerRequest& q) {
            if (q.port == 65535) return std::vector<vktest::PeerAnswer>{{"127.0.0.91", vktest::Text("VB")}};
            auto f = vktest::WithChecksum(vktest::Bytes(156, 0));
            f.back() ^= 0xFF;
            return std::vector<vktest::PeerAnswer>{{"127.0.0.91", f}};
        });
    VkSearchRecord r;
    EXPECT_EQ(vkb_search_one("127.0.0.91", &r), VK_ERR_UNEXPECTED);
    EXPECT_EQ(vk_search_one("127.0.0.91", &r), VK_ERR_UNEXPECTED);

    vktest::ScriptedPeer other({{"127.0.0.92", 65535}}, [](const vktest::PeerRequest&) {
        return std::vector<vktest::PeerAnswer>{{"127.0.0.92", vktest::Text("Nope")}};
    });
    EXPECT_EQ(vka_search_one("127.0.0.92", &r), VK_ERR_NO_ANSWER);
    EXPECT_EQ(r.model_code, 0xFF);
}

TEST(Discovery, ExtendedSearchCopiesPayloadsOfSearchAnswers) {
    auto devices = vksim::DemoNetwork();
    vksim::Network net(devices);
    std::vector<VkSearchRecordEx> slots(64);
    int count = 64;
    ASSERT_EQ(vk_search_all_ex(slots.data(), &count), VK_OK);
    // Every second-generation device answers SEARCH with command byte 2: ten standard devices and the
    // extended one; the caller picks the extended devices by model code.
    EXPECT_EQ(count, 11);
    const vksim::Device& ext = devices.back();
    ASSERT_EQ(ext.model->code, 0x83);
    int extended = 0;
    for (int i = 0; i < count; ++i) {
        const auto& s = slots[static_cast<size_t>(i)];
        if (s.model_code != VK_MODEL_EXTENDED) continue;
        ++extended;
        EXPECT_EQ(Field(s.firmware_version, 32), ext.firmware);
        EXPECT_EQ(Field(s.device_name, 16), ext.name);
        EXPECT_EQ(0, std::memcmp(s.mac, ext.mac.data(), 6));
        EXPECT_EQ(0, std::memcmp(s.ip, ext.ip.data(), 4));
        EXPECT_EQ(0, std::memcmp(s.peer_ip, ext.channels[0].peer_ip.data(), 4));
        EXPECT_EQ(0, std::memcmp(s.netmask, ext.netmask.data(), 4));
        EXPECT_EQ(0, std::memcmp(s.gateway, ext.gateway.data(), 4));
    }
    EXPECT_EQ(extended, 1);
}

TEST(Discovery, ExtendedSearchSkipsOtherCommandsAndAnswersWithoutPayload) {
    auto answer = [](uint8_t command, size_t payload, uint8_t fill, uint8_t mac_last) {
        vktest::Bytes f(42 + payload, fill);
        std::fill(f.begin(), f.begin() + 42, 0);
        f[8] = command;
        f[17] = mac_last;
        return vktest::WithChecksum(f);
    };
    vktest::ScriptedPeer peer({{"127.255.255.255", 65280}}, [&](const vktest::PeerRequest&) {
        return std::vector<vktest::PeerAnswer>{
            {"127.0.0.91", answer(11, 360, 0x11, 1)},                    // not a search answer
            {"127.0.0.92", vktest::WithChecksum(vktest::Bytes(41, 0))},  // 43 bytes: no payload
            {"127.0.0.93", answer(2, 10, 0x83, 3)},                      // short payload
            {"127.0.0.94", answer(2, 500, 0x44, 4)},                     // long payload: 360 bytes kept
        };
    });
    std::vector<VkSearchRecordEx> slots(4);
    std::memset(slots.data(), 0xEE, slots.size() * sizeof slots[0]);
    int count = 4;
    ASSERT_EQ(vk_search_all_ex(slots.data(), &count), VK_OK);
    ASSERT_EQ(count, 2);
    const auto* s0 = reinterpret_cast<const uint8_t*>(&slots[0]);
    EXPECT_EQ(s0[0], 0x83);
    EXPECT_EQ(s0[9], 0x83);
    EXPECT_EQ(s0[10], 0xEE);  // a short payload leaves the rest of its slot as it was
    const auto* s1 = reinterpret_cast<const uint8_t*>(&slots[1]);
    EXPECT_EQ(s1[0], 0x44);
    EXPECT_EQ(s1[359], 0x44);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(&slots[2])[0], 0xEE);  // nothing past the count
}

TEST(Discovery, ASecondOperationWhileThePortIsTakenFailsWithNetworkError) {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(VK_LOCAL_PORT);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
    VkSearchRecord records[2];
    int count = 2;
    EXPECT_EQ(vk_search_all(records, &count), VK_ERR_NETWORK);
    EXPECT_EQ(count, 0);
    count = 2;
    EXPECT_EQ(vkb_search_all(records, &count), VK_ERR_NETWORK);
    VkSearchRecordEx slots[2];
    count = 2;
    EXPECT_EQ(vk_search_all_ex(slots, &count), VK_ERR_NETWORK);
    EXPECT_EQ(vk_search_one("127.0.0.10", records), VK_ERR_NO_ANSWER);  // -1 of the text step becomes -3
    ::close(fd);
}

TEST(Discovery, ArgumentsAreCheckedBeforeAnythingIsSent) {
    VkSearchRecord records[1];
    EXPECT_EQ(vk_search_all(records, nullptr), VK_ERR_ARGUMENT);
    int count = 3;
    EXPECT_EQ(vk_search_all(nullptr, &count), VK_ERR_ARGUMENT);
    EXPECT_EQ(count, 0);
}

TEST(Discovery, MalformedBroadcastSettingFailsInsteadOfBroadcastingToTheLan) {
    const char* saved = std::getenv("VKCFG_BROADCAST");
    std::string keep = saved ? saved : "";
    ::setenv("VKCFG_BROADCAST", "127.255.255", 1);
    VkSearchRecord records[1];
    int count = 1;
    EXPECT_EQ(vk_search_all(records, &count), VK_ERR_NETWORK);
    ::setenv("VKCFG_BROADCAST", keep.c_str(), 1);
}
