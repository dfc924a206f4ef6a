// The device side of the firmware update, request by request. Requests are built here byte by byte
// from the protocol's tables: the byte sum and the CRC are appended high byte first.
#include <gtest/gtest.h>

#include <thread>

#include "device_list.h"
#include "requests.h"

using namespace simtest;

namespace {

Bytes Summed(Bytes f) {
    unsigned sum = 0;
    for (uint8_t b : f)
        sum += b;
    f.push_back(static_cast<uint8_t>(sum >> 8 & 0xFF));
    f.push_back(static_cast<uint8_t>(sum & 0xFF));
    return f;
}

Bytes CrcSealed(Bytes f) {
    const uint16_t crc = vksim::Crc16Bitwise(f.data(), f.size());
    f.push_back(static_cast<uint8_t>(crc >> 8));
    f.push_back(static_cast<uint8_t>(crc & 0xFF));
    return f;
}

Bytes WithData(Bytes head, const Bytes& data) {
    head.insert(head.end(), data.begin(), data.end());
    return head;
}

const Bytes kIdentify = Summed({0xFA, 0xFA});
const Bytes kRestart = Summed({0xFA, 0xF7, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66});

Bytes ReadAt(uint16_t field) {
    return Summed({0xFA, 0xF9, static_cast<uint8_t>(field >> 8), static_cast<uint8_t>(field)});
}
Bytes Block(uint8_t command, uint16_t field, const Bytes& data) {
    return Summed(
        WithData({0xFA, command, static_cast<uint8_t>(field >> 8), static_cast<uint8_t>(field)}, data));
}
Bytes BRead(uint16_t address) {
    return CrcSealed({0xF9, 0x00, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)});
}
Bytes BWrite(uint16_t address, const Bytes& data) {
    return CrcSealed(
        WithData({0xF8, 0x00, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)}, data));
}
const Bytes kBRestart = CrcSealed({0xF7, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66});

std::vector<Bytes> Ask(vksim::Device& d, const Bytes& request) {
    return vksim::Respond(d, {vksim::kTextPort, false, request});
}

Bytes Only(vksim::Device& d, const Bytes& request) {
    auto answers = Ask(d, request);
    EXPECT_EQ(answers.size(), 1u);
    return answers.empty() ? Bytes{} : answers[0];
}

std::string TextAt(const Bytes& b, size_t at) {
    std::string s;
    for (size_t i = at; i < at + 16 && b.at(i) != 0; ++i)
        s.push_back(static_cast<char>(b[i]));
    return s;
}

uint32_t Le32At(const Bytes& b, size_t at) {
    return static_cast<uint32_t>(b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | b.at(at + 3) << 24);
}

uint8_t StatusOf(const Bytes& answer) {
    EXPECT_EQ(answer.size(), 5u);
    return answer.size() == 5 ? answer[2] : 0xEE;
}

}  // namespace

TEST(UpdateDevice, IdentifyNamesModelAndVersionAndThePagedFamilyItsDataLength) {
    struct Case {
        const char* model;
        size_t size;
        const char* text;
    };
    for (const Case& c : {Case{"VKA100", 33, "VKA100-S"}, Case{"VKB200", 33, "VKB200"},
                          Case{"VKB220", 49, "VKB220"}, Case{"VLC611", 49, "VLC611"}}) {
        auto d = NewDevice(c.model);
        const Bytes answer = Only(d, kIdentify);
        ASSERT_EQ(answer.size(), c.size) << c.model;
        EXPECT_EQ(TextAt(answer, 1), c.text);
        EXPECT_EQ(TextAt(answer, 17), "V2.1");
        if (c.size == 49) {
            EXPECT_EQ(Le32At(answer, 45), 1024u + 0x4000u);
        }
    }
    auto d = NewDevice("VKB220");
    Bytes wrong_sum = kIdentify;
    wrong_sum.back() ^= 1;
    EXPECT_TRUE(Ask(d, wrong_sum).empty());
}

TEST(UpdateDevice, FirstFamilyUpdatesAfterPrepareWrapsPast0xFFFFAndInstallsOnRestart) {
    auto d = NewDevice("VKA100");
    const Bytes original = d.update.data;
    const Bytes read = Only(d, ReadAt(0x8080));
    ASSERT_EQ(read.size(), 4u + 128u + 2u);
    EXPECT_EQ((Bytes{read[2], read[3]}), (Bytes{0x00, 0x80}));
    EXPECT_TRUE(std::equal(read.begin() + 4, read.end() - 2, original.begin() + 128));

    const Bytes block(256, 0x5A);
    EXPECT_EQ(StatusOf(Only(d, Block(0xF8, 0x8000, block))), 1) << "no prepare yet";
    EXPECT_EQ(StatusOf(Only(d, Summed({0xFA, 0xF5}))), 0);
    EXPECT_EQ(StatusOf(Only(d, Block(0xF8, 0x8000, block))), 0);
    EXPECT_EQ(StatusOf(Only(d, Block(0xF8, 0x0000, Bytes(256, 0xA5)))), 0);  // body offset 32,768
    EXPECT_EQ(d.firmware, "V2.1") << "nothing is installed before the restart";

    EXPECT_EQ(StatusOf(Only(d, kRestart)), 0);
    ASSERT_EQ(d.update.firmware.size(), 0x8000u + 256u);
    EXPECT_EQ(d.update.firmware[0], 0x5A);
    EXPECT_EQ(d.update.firmware[0x8000], 0xA5);
    EXPECT_EQ(d.firmware, "V2.2");
    EXPECT_EQ(d.update.data, Bytes(0x8000, 0xFF)) << "new firmware starts with an erased data area";
    EXPECT_TRUE(Ask(d, kIdentify).empty()) << "still restarting";
}

TEST(UpdateDevice, PagedFamilyPlacesBlockKAtPage4KAndWritesDataByPage) {
    auto d = NewDevice("VKB301");
    d.update.restart_ms = 0;
    EXPECT_EQ(StatusOf(Only(d, Block(0xF8, 4, Bytes(1280, 2)))), 0);
    EXPECT_EQ(StatusOf(Only(d, Block(0xF8, 0, Bytes(1280, 1)))), 0);
    EXPECT_EQ(StatusOf(Only(d, Block(0xF8, 3, Bytes(1280, 9)))), 1) << "not a block's page";
    EXPECT_EQ(StatusOf(Only(d, Block(0xF6, 8, Bytes(1024, 7)))), 0);
    EXPECT_EQ(Only(d, ReadAt(8)), Summed(WithData({0xFA, 0xF9, 0x00, 0x04}, Bytes(1024, 7))));
    Only(d, kRestart);
    Bytes expected(1280, 1);
    expected.resize(2560, 2);
    EXPECT_EQ(d.update.firmware, expected);
    EXPECT_EQ(TextAt(Only(d, kIdentify), 17), "V2.2");
}

TEST(UpdateDevice, BFamilySharesOneMemoryAndItsRestartInstallsWhatWasWritten) {
    auto d = NewDevice("VKB200");
    d.update.restart_ms = 0;
    const Bytes before = d.update.data;
    const Bytes read = Only(d, BRead(0x0200));
    ASSERT_EQ(read.size(), 518u);
    EXPECT_TRUE(std::equal(read.begin() + 4, read.end() - 2, before.begin() + 0x200));
    EXPECT_EQ(Only(d, BWrite(0x0200, Bytes(100, 3))), (Bytes{0xF8, 0x00, 0x02, 0x00}));
    EXPECT_TRUE(Ask(d, kBRestart).empty()) << "the B restart is not answered";
    EXPECT_EQ(d.update.firmware.size(), 0x200u + 100u);
    EXPECT_EQ(d.firmware, "V2.2");
    EXPECT_EQ(Only(d, Bytes{0xFA}).size(), 33u) << "the poll is answered";
}

TEST(UpdateDevice, FaultsNameRequestsByTheirNumberWithinTheirKind) {
    auto d = vksim::ParseDeviceWords(
        "model=VKB220 lose_write=2/4 refuse_write=3 damaged_at=2048 flip_at=5 silent_after_restart=1", 0);
    const Bytes block(1280, 0);
    EXPECT_EQ(Ask(d, Block(0xF8, 0, block)).size(), 1u);
    EXPECT_TRUE(Ask(d, Block(0xF8, 0, block)).empty());
    EXPECT_EQ(StatusOf(Only(d, Block(0xF8, 0, block))), 1);
    EXPECT_TRUE(Ask(d, Block(0xF8, 0, block)).empty());
    EXPECT_EQ(StatusOf(Only(d, Block(0xF8, 0, block))), 0);
    EXPECT_EQ(d.update.staged.at(5), 0xFF) << "the failing cell";
    EXPECT_EQ(Only(d, ReadAt(8)), Summed({0xFA, 0xF9, 0x00, 0x00})) << "damaged data at offset 2048";
    Only(d, kRestart);
    d.update.back_at = {};
    EXPECT_TRUE(Ask(d, kIdentify).empty()) << "silent after the restart";

    auto b = vksim::ParseDeviceWords("model=VKB200 echo_write=1", 0);
    EXPECT_EQ(Only(b, BWrite(0, Bytes(512, 1))), (Bytes{0xF8, 0x00, 0x02, 0x00}));
    EXPECT_NE(b.update.data[0], 1) << "a write answered with a wrong echo is not taken";
}

TEST(UpdateDevice, RestartKeepsTheDeviceSilentForItsConfiguredTime) {
    auto d = vksim::ParseDeviceWords("model=VKA100 restart_ms=80", 0);
    Only(d, kRestart);
    EXPECT_TRUE(Ask(d, kIdentify).empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Only(d, kIdentify).size(), 33u);
    EXPECT_EQ(TextAt(Only(d, kIdentify), 17), "V2.1") << "no firmware was sent, so the version stays";
}
