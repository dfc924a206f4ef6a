// Codec tests: golden bytes written out by hand, field by field, never produced by the library's own
// encoders.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "codec/addr_text.h"
#include "codec/crc.h"
#include "codec/frame.h"
#include "codec/search_answer.h"
#include "support/text_fields.h"
#include "vkcfg.h"

using namespace vkcfg::codec;
using vktest::Field;

namespace {

std::vector<uint8_t> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

}  // namespace

TEST(Checksum, MatchesCrc16XmodemCheckValueAndEmptyInput) {
    const auto check = Bytes("123456789");
    EXPECT_EQ(Crc16(check), 0x31C3);
    EXPECT_EQ(cal_crc(check.data(), static_cast<uint16_t>(check.size())), 0x31C3);
    EXPECT_EQ(Crc16({}), 0);
    EXPECT_EQ(cal_crc(check.data(), 0), 0);
    EXPECT_EQ(cal_crc(nullptr, 5), 0);
}

TEST(Checksum, LengthIsAnUnsigned16BitCount) {
    std::vector<uint8_t> big(70000, 0xA5);
    // The exported call sees only the low 16 bits of a longer count: 70000 - 65536 = 4464 bytes.
    EXPECT_EQ(cal_crc(big.data(), static_cast<uint16_t>(big.size())), Crc16(std::span(big).first(4464)));
}

TEST(Frame, SearchRequestIsMarkerCommandAndChecksumOnly) {
    std::array<uint8_t, 42> expected{};
    expected[0] = 0xFF;  // marker of a search request
    expected[8] = 0x01;  // command SEARCH
    // Everything else, the MAC field included, is zero. CRC-16/XMODEM of bytes 0..39, low byte first:
    uint16_t crc = Crc16(std::span(expected).first(40));
    expected[40] = static_cast<uint8_t>(crc & 0xFF);
    expected[41] = static_cast<uint8_t>(crc >> 8);
    EXPECT_EQ(BuildSearchFrame(), expected);
}

TEST(Frame, RequestTagIsTheFirstDrawOfTheGeneratorSeededWith250) {
    EXPECT_EQ(kRequestTag, 0x57);
}

TEST(Frame, HeaderFieldsLandAtTheirOffsetsWithTheMacScrambled) {
    ShortFrame f;
    f.marker = 0;
    f.tag = kRequestTag;
    f.command = Command::kLogin;
    f.model_code = 0x34;
    f.channel = 2;
    f.mac = std::array<uint8_t, 6>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    f.password = {'a', 'd', 'm', 'i', 'n'};
    auto out = BuildShortFrame(f);
    EXPECT_EQ(out[0], 0x00);
    EXPECT_EQ(out[7], 0x57);                                               // tag
    EXPECT_EQ(out[8], 17);                                                 // LOGIN
    EXPECT_EQ(out[9], 0x34);                                               // model code
    EXPECT_EQ(out[10], 2);                                                 // channel
    const uint8_t scrambled_mac[] = {0xF3, 0xE9, 0xD8, 0xCF, 0xBE, 0xAD};  // each byte XOR 0xF3
    EXPECT_EQ(0, std::memcmp(out.data() + 12, scrambled_mac, 6));
    EXPECT_EQ(0, std::memcmp(out.data() + 24, "admin\0\0\0\0\0", 10));  // password in plain bytes
    EXPECT_TRUE(ChecksumMatches(out));
}

TEST(Frame, ChecksumIsLowByteFirstAndASwappedChecksumIsRejected) {
    std::array<uint8_t, 42> frame{};
    frame[0] = 0xFF;
    frame[8] = 2;
    frame[9] = 0x10;
    uint16_t crc = Crc16(std::span(frame).first(40));
    ASSERT_NE(crc & 0xFF, crc >> 8) << "the test needs two different checksum bytes";
    frame[40] = static_cast<uint8_t>(crc & 0xFF);
    frame[41] = static_cast<uint8_t>(crc >> 8);
    EXPECT_TRUE(ChecksumMatches(frame));
    std::swap(frame[40], frame[41]);
    EXPECT_FALSE(ChecksumMatches(frame));
    // Too short to hold a checksum and anything it covers.
    EXPECT_FALSE(ChecksumMatches(std::span(frame).first(2)));
    EXPECT_FALSE(ChecksumMatches({}));
}

TEST(Frame, ScramblingTwiceGivesTheBytesBack) {
    std::array<uint8_t, 6> mac{255, 0, 1, 2, 3, 4};
    auto copy = mac;
    Scramble(copy);
    EXPECT_EQ(copy, (std::array<uint8_t, 6>{0x0C, 0xF3, 0xF2, 0xF1, 0xF0, 0xF7}));
    Scramble(copy);
    EXPECT_EQ(copy, mac);
}

TEST(AddressText, MacTextRoundTripAndPartialParses) {
    const std::array<uint8_t, 6> mac{255, 0, 1, 2, 3, 4};
    EXPECT_EQ(MacText(mac), "255.0.1.2.3.4");
    EXPECT_EQ(MacText(std::array<uint8_t, 6>{0, 26, 43, 60, 77, 94}), "0.26.43.60.77.94");

    struct Case {
        const char* text;
        MacBytes expected;
    };
    const Case cases[] = {
        {"255.0.1.2.3.4", {255, 0, 1, 2, 3, 4}},
        {"256.1", {0, 1, 9, 9, 9, 9}},            // modulo 256; the other four bytes unchanged
        {"1.2.3.4.5.6.7.8", {1, 2, 3, 4, 5, 6}},  // ends after the sixth group
        {"1.2/3", {1, 2, 9, 9, 9, 9}},            // a group not followed by "." ends the parse
        {"", {9, 9, 9, 9, 9, 9}},                 // nothing to parse
        {"x.1", {9, 9, 9, 9, 9, 9}},              // no digit: nothing stored
        {"99999999999.7", {static_cast<uint8_t>(99999999999ULL % 256), 7, 9, 9, 9, 9}},
    };
    for (const auto& c : cases) {
        MacBytes out{9, 9, 9, 9, 9, 9};
        MacTextToBytes(c.text, out);
        EXPECT_EQ(out, c.expected) << c.text;
    }
}

TEST(AddressText, DottedQuadParsingIsStrictAndUnparsableGivesAllOnes) {
    EXPECT_EQ(AddrTextToBytes("192.168.1.20"), (Ipv4Bytes{192, 168, 1, 20}));
    EXPECT_EQ(AddrTextToBytes("1.2.3.4"), (Ipv4Bytes{1, 2, 3, 4}));
    for (const char* bad :
         {"", "1.2.3", "1.2.3.256", "1.2.3.4.5", "a.b.c.d", "1.2.3.4 ", "1..2.3", "1234.1.1.1"}) {
        EXPECT_EQ(AddrTextToBytes(bad), kBroadcastBytes) << bad;
    }
    EXPECT_EQ(AddrBytesToText(std::array<uint8_t, 4>{10, 0, 0, 1}), "10.0.0.1");
    EXPECT_EQ(AddrBytesToText(std::array<uint8_t, 4>{255, 255, 255, 255}), "255.255.255.255");
    EXPECT_TRUE(IsShortAddressText(""));
    EXPECT_TRUE(IsShortAddressText("1.2.3"));
    EXPECT_FALSE(IsShortAddressText("1.2.3.4"));
}

// ---- First-generation search answers -------------------------------------------------------------

namespace {

// "A" + part one, a NUL and one more byte, then part two, as a first-generation device sends it.
std::vector<uint8_t> TextDatagram(const std::string& one, const std::string& two) {
    auto out = Bytes("A" + one);
    out.push_back(0);
    out.push_back('#');
    auto rest = Bytes(two);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

}  // namespace

TEST(TextSearchAnswer, FullAnswerFillsEveryField) {
    auto answer =
        TextDatagram("0.26.43.60.77.94/4001/1/0/0/Pump",
                     "192.168.1.20/255.255.255.0/192.168.1.1/8.8.8.8/8.8.4.4/192.168.1.9/VKA100/V1.07");
    VkSearchRecord r{};
    ASSERT_EQ(ParseTextSearchAnswer(answer, r), TextAnswer::kDevice);
    EXPECT_EQ(r.model_code, 0x01);
    EXPECT_EQ(0, std::memcmp(r.mac, "\x00\x1a\x2b\x3c\x4d\x5e", 6));
    EXPECT_EQ(r.local_port, 4001);
    EXPECT_EQ(Field(r.device_name, 10), "Pump");
    EXPECT_EQ(Field(r.ip, 16), "192.168.1.20");
    EXPECT_EQ(Field(r.netmask, 16), "255.255.255.0");
    EXPECT_EQ(Field(r.gateway, 16), "192.168.1.1");
    EXPECT_EQ(Field(r.dns1, 16), "8.8.8.8");
    EXPECT_EQ(Field(r.dns2, 16), "8.8.4.4");
    EXPECT_EQ(Field(r.peer_ip, 16), "192.168.1.9");
    EXPECT_EQ(Field(r.firmware_version, 16), "V1.07");
}

TEST(TextSearchAnswer, ModelTextAndNameRules) {
    VkSearchRecord r{};
    auto vkb220 = TextDatagram("1.2.3.4.5.6/1/a/b/c/ABCDEFGHIJKL",
                               "1.1.1.1/2.2.2.2/3.3.3.3/4.4.4.4/5.5.5.5/6.6.6.6/VKB220-S/2");
    ASSERT_EQ(ParseTextSearchAnswer(vkb220, r), TextAnswer::kDevice);
    EXPECT_EQ(r.model_code, 0x20);
    EXPECT_EQ(Field(r.device_name, 10), "ABCDEFGHI");  // a 12-character name keeps its first 9
    EXPECT_EQ(r.device_name[9], '\0');

    // An 18-character field is cut to 15 characters and a NUL.
    VkSearchRecord l{};
    auto long_fields =
        TextDatagram("1.2.3.4.5.6/1/a/b/c/n", "123456789012345678/m/g/d/e/p/OTHER/firmware-1234567890");
    ASSERT_EQ(ParseTextSearchAnswer(long_fields, l), TextAnswer::kDevice);
    EXPECT_EQ(Field(l.ip, 16), "123456789012345");
    EXPECT_EQ(Field(l.firmware_version, 16), "firmware-123456");
    EXPECT_EQ(l.model_code, 0x01);  // a model text without "VKB22" keeps code 1
}

TEST(TextSearchAnswer, WithoutNulOnlyPartOneAndTheSenderAddress) {
    auto answer = Bytes("A0.26.43.60.77.94/502/x/y/z/Gate/");
    VkSearchRecord r{};
    std::memcpy(r.ip, "127.0.0.12", 11);  // the sender's address, put there by the search
    ASSERT_EQ(ParseTextSearchAnswer(answer, r), TextAnswer::kDevice);
    EXPECT_EQ(r.local_port, 502);
    EXPECT_EQ(Field(r.device_name, 10), "Gate");
    EXPECT_EQ(Field(r.ip, 16), "127.0.0.12");
    EXPECT_EQ(Field(r.netmask, 16), "");
    EXPECT_EQ(Field(r.firmware_version, 16), "");
}

TEST(TextSearchAnswer, ShortAndForeignAnswersAreClassified) {
    VkSearchRecord r{};
    EXPECT_EQ(ParseTextSearchAnswer(Bytes("VB"), r), TextAnswer::kSecondGeneration);
    EXPECT_EQ(r.model_code, 0x10);
    EXPECT_EQ(ParseTextSearchAnswer(Bytes("N|20"), r), TextAnswer::kNotDevice);
    EXPECT_EQ(r.model_code, 0xFF);
    EXPECT_EQ(ParseTextSearchAnswer({}, r), TextAnswer::kNotDevice);
    EXPECT_EQ(ParseTextSearchAnswer(Bytes("V"), r), TextAnswer::kNotDevice);

    // Fields that stop early never reach into what follows: a NUL as the datagram's last byte.
    VkSearchRecord t{};
    auto truncated = Bytes("A1.2.3.4.5.6/7");
    truncated.push_back(0);
    std::memcpy(t.ip, "127.0.0.5", 10);
    EXPECT_EQ(ParseTextSearchAnswer(truncated, t), TextAnswer::kDevice);
    EXPECT_EQ(t.local_port, 7);
    EXPECT_EQ(Field(t.device_name, 10), "");
    EXPECT_EQ(Field(t.ip, 16), "127.0.0.5");
}

TEST(TextSearchAnswer, PortDigitsAccumulateIn16Bits) {
    VkSearchRecord r{};
    ASSERT_EQ(ParseTextSearchAnswer(Bytes("A1.2.3.4.5.6/70001/a/b/c/n"), r), TextAnswer::kDevice);
    EXPECT_EQ(r.local_port, 70001 % 65536);
}

// ---- Second-generation search answers ------------------------------------------------------------

namespace {

// Test-side frame: fields placed by hand at the offsets a device uses; the payload stays plain, as
// the search sees it after unscrambling.
struct PlainFrame {
    std::vector<uint8_t> bytes;
    explicit PlainFrame(size_t size, uint8_t model) : bytes(size, 0) {
        bytes[8] = 2;      // SEARCH_ANSWER
        bytes[9] = model;  // model code
    }
    void Put(size_t at, std::initializer_list<uint8_t> v) {
        std::copy(v.begin(), v.end(), bytes.begin() + at);
    }
    void Text(size_t at, const char* t) { std::memcpy(bytes.data() + at, t, std::strlen(t)); }
};

}  // namespace

TEST(BinarySearchAnswer, SinglePortFrameFillsTheRecord) {
    PlainFrame f(158, 0x10);
    f.Put(12, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E});  // MAC
    f.Text(20, "Boiler");                             // device name, 20..29
    f.Text(36, "V2.05");                              // firmware version, 36..51
    f.Put(52, {192, 168, 0, 7});                      // ip
    f.Put(56, {255, 255, 255, 0});                    // netmask
    f.Put(60, {192, 168, 0, 1});                      // gateway
    f.Put(64, {0x0F, 0xA1});                          // data port 4001, high byte first
    f.Put(68, {192, 168, 0, 50});                     // peer
    f.Put(80, {1, 1, 1, 1});                          // dns1
    f.Put(84, {9, 9, 9, 9});                          // dns2
    VkSearchRecord r{};
    ASSERT_EQ(FillFromBinarySearchAnswer(f.bytes, r), BinaryFill::kFilled);
    EXPECT_EQ(r.model_code, 0x10);
    EXPECT_EQ(0, std::memcmp(r.mac, "\x00\x1a\x2b\x3c\x4d\x5e", 6));
    EXPECT_EQ(Field(r.device_name, 10), "Boiler");
    EXPECT_EQ(Field(r.firmware_version, 16), "V2.05");
    EXPECT_EQ(Field(r.ip, 16), "192.168.0.7");
    EXPECT_EQ(Field(r.netmask, 16), "255.255.255.0");
    EXPECT_EQ(Field(r.gateway, 16), "192.168.0.1");
    EXPECT_EQ(r.local_port, 4001);
    EXPECT_EQ(Field(r.peer_ip, 16), "192.168.0.50");
    EXPECT_EQ(Field(r.dns1, 16), "1.1.1.1");
    EXPECT_EQ(Field(r.dns2, 16), "9.9.9.9");
    EXPECT_EQ(Field(r.channel_peer_ip[0], 16), "");
}

TEST(BinarySearchAnswer, MultiPortFrameFillsChannelZeroAndTheChannelSlots) {
    // VLC621 (0x94): three channels, 94 + 3 * 54 = 256 bytes.
    PlainFrame f(256, 0x94);
    f.Put(12, {1, 2, 3, 4, 5, 6});
    f.Text(20, "Line");
    f.Text(52, "V9.1");                    // firmware, 52..67
    f.Put(68, {10, 0, 0, 5});              // ip
    f.Put(72, {255, 0, 0, 0});             // netmask
    f.Put(76, {10, 0, 0, 1});              // gateway
    f.Put(84, {10, 0, 0, 2});              // dns1
    f.Put(88, {10, 0, 0, 3});              // dns2
    f.Put(92, {0x13, 0x88});               // channel 0 port 5000, high byte first
    f.Put(94, {10, 0, 1, 100});            // channel 0 peer
    f.Put(92 + 54 + 2, {10, 0, 1, 101});   // channel 1 peer
    f.Put(92 + 108 + 2, {10, 0, 1, 102});  // channel 2 peer
    VkSearchRecord r{};
    ASSERT_EQ(FillFromBinarySearchAnswer(f.bytes, r), BinaryFill::kFilled);
    EXPECT_EQ(r.model_code, 0x94);
    EXPECT_EQ(Field(r.firmware_version, 16), "V9.1");
    EXPECT_EQ(Field(r.ip, 16), "10.0.0.5");
    EXPECT_EQ(Field(r.netmask, 16), "255.0.0.0");
    EXPECT_EQ(Field(r.gateway, 16), "10.0.0.1");
    EXPECT_EQ(Field(r.dns1, 16), "10.0.0.2");
    EXPECT_EQ(Field(r.dns2, 16), "10.0.0.3");
    EXPECT_EQ(r.local_port, 5000);
    EXPECT_EQ(Field(r.peer_ip, 16), "10.0.1.100");
    EXPECT_EQ(Field(r.channel_peer_ip[0], 16), "10.0.1.101");  // offset 132
    EXPECT_EQ(Field(r.channel_peer_ip[1], 16), "10.0.1.102");  // offset 148
    EXPECT_EQ(Field(r.channel_peer_ip[2], 16), "");            // the model has no fourth channel
}

TEST(BinarySearchAnswer, FramesWithoutAShapeOrTooShortLeaveTheRecordAlone) {
    struct Case {
        uint8_t model;
        size_t size;
        BinaryFill expected;
    };
    const Case cases[] = {
        {0x20, 158, BinaryFill::kNoShape},  // listed by the text search
        {0x83, 404, BinaryFill::kNoShape},  // extended device
        {0x01, 158, BinaryFill::kNoShape},
        {0x10, 157, BinaryFill::kTooShort},
        {0x10, 42, BinaryFill::kTooShort},
        {0x32, 94 + 54, BinaryFill::kTooShort},  // two channels need 202 bytes
        {0x35, 94, BinaryFill::kTooShort},       // unknown multi-port code: channel 0 is still read
        {0x35, 148, BinaryFill::kFilled},
        {0x32, 202, BinaryFill::kFilled},
    };
    for (const auto& c : cases) {
        PlainFrame f(c.size, c.model);
        VkSearchRecord r;
        std::memset(&r, 0xAB, sizeof r);
        EXPECT_EQ(FillFromBinarySearchAnswer(f.bytes, r), c.expected)
            << std::hex << int(c.model) << " " << c.size;
        if (c.expected != BinaryFill::kFilled) {
            EXPECT_EQ(r.model_code, 0xAB);
        }
    }
    EXPECT_EQ(ParameterFrameSize(0x10), 158u);
    EXPECT_EQ(ParameterFrameSize(0x32), 202u);
    EXPECT_EQ(ParameterFrameSize(0x38), 94u + 8 * 54);
    EXPECT_EQ(ParameterFrameSize(0x20), 0u);
    EXPECT_EQ(ParameterFrameSize(0x83), 0u);
}
