// Parameter codec tests: first-generation request texts and answers, second-generation parameter
// frames, and the record conversions in both directions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codec/crc.h"
#include "codec/frame.h"
#include "codec/param_record.h"
#include "codec/text_commands.h"
#include "support/text_fields.h"
#include "vkcfg.h"

using namespace vkcfg::codec;
using vktest::Field;
using vktest::Put;

namespace {

VkaWorkBlock Stored(std::initializer_list<const char*> answers) {
    VkaWorkBlock b{};
    for (const char* a : answers)
        StoreAnswer(a, b);
    return b;
}

// Undoes the scrambling of a parameter frame's payload (bytes 12 up to the checksum).
std::vector<uint8_t> Plain(std::vector<uint8_t> frame) {
    for (size_t i = 12; i + 2 < frame.size(); ++i)
        frame[i] ^= 0xF3;
    return frame;
}

uint16_t Be16(const std::vector<uint8_t>& f, size_t at) {
    return static_cast<uint16_t>(f[at] << 8 | f[at + 1]);
}
uint16_t Le16(const std::vector<uint8_t>& f, size_t at) {
    return static_cast<uint16_t>(f[at + 1] << 8 | f[at]);
}

}  // namespace

TEST(TextAnswers, ValuesAreParsedByTheAnswersOwnTag) {
    auto b = Stored({"A0.26.43.60.77.94|21",
                     "A192.168.1.20|22",
                     "A4001|23",
                     "A2|24",
                     "A10.0.0.9|25",
                     "A5001|26",
                     "A192.168.1.1|27",
                     "A255.255.255.0|28",
                     "A7|29",
                     "A1|2A",
                     "A0|2B",
                     "A1024|2C",
                     "A300|2D",
                     "A1|2E",
                     "APumpHouse1|2F",
                     "A0|30",
                     "A1|31",
                     "A260|32",
                     "A8.8.8.8|35",
                     "A0|36",
                     "A1|37",
                     "Ahttp://example.org/vk/device|38",
                     "Aadmin|39",
                     "Asecret12345|3A",
                     "A1|3C",
                     "AVKB220|3D",
                     "A1|34"});
    EXPECT_EQ(0, std::memcmp(b.mac, "\x00\x1a\x2b\x3c\x4d\x5e", 6));
    EXPECT_EQ(Field(b.ip, 16), "192.168.1.20");
    EXPECT_EQ(b.local_port, 4001);
    EXPECT_EQ(b.work_mode, 2);
    EXPECT_EQ(Field(b.peer_ip, 16), "10.0.0.9");
    EXPECT_EQ(b.peer_port, 5001);
    EXPECT_EQ(Field(b.gateway, 16), "192.168.1.1");
    EXPECT_EQ(Field(b.netmask, 16), "255.255.255.0");
    EXPECT_EQ(b.baud_rate, 115200u);
    EXPECT_EQ(b.parity, 1);
    EXPECT_EQ(b.data_bits, 7);
    EXPECT_EQ(b.max_length, 1024);
    EXPECT_EQ(b.max_interval, 300 % 256);  // an 8-bit field keeps the value modulo 256
    EXPECT_EQ(b.keep_alive, 260 % 256);
    EXPECT_EQ(b.protocol, 1);
    EXPECT_EQ(Field(b.device_name, 10), "PumpHouse");  // at most 9 characters
    EXPECT_EQ(b.dhcp, 0);
    EXPECT_EQ(b.flow_control, 1);
    EXPECT_EQ(Field(b.dns1, 16), "8.8.8.8");
    EXPECT_EQ(Field(b.dns2, 16), "0.0.0.0");  // "0" means no server
    EXPECT_EQ(b.url_switch, 1);
    EXPECT_EQ(Field(b.url, 30), "http://example.org/vk/device");
    EXPECT_EQ(Field(b.user_name, 10), "admin");
    EXPECT_EQ(Field(b.password, 10), "secret123");
    EXPECT_EQ(b.network_mode, 1);
    EXPECT_EQ(b.model_code, 0x20);
    EXPECT_EQ(b.auto_dns, 1);
}

TEST(TextAnswers, CodeTablesAndTheirFallbacks) {
    struct Case {
        const char* answer;
        uint32_t baud;
    };
    for (auto c : {Case{"A0|29", 1200}, Case{"A3|29", 9600}, Case{"A6|29", 57600}, Case{"A8|29", 9600},
                   Case{"Ax|29", 9600}, Case{"A|29", 9600}}) {
        EXPECT_EQ(Stored({c.answer}).baud_rate, c.baud) << c.answer;
    }
    EXPECT_EQ(Stored({"A1|2B"}).data_bits, 8);
    EXPECT_EQ(Stored({"A|2B"}).data_bits, 8);
    EXPECT_EQ(Stored({"A2|30"}).dhcp, 1);          // anything but "0" switches DHCP on
    EXPECT_EQ(Stored({"A2|31"}).flow_control, 0);  // only "1" switches flow control on
    EXPECT_EQ(Stored({"AVKA100-X|3D"}).model_code, 0x01);
    EXPECT_EQ(Stored({"ASOMETHING|3D"}).model_code, 0x01);
    EXPECT_EQ(Stored({"A0|35"}).dns1[0], '0');
    EXPECT_EQ(Field(Stored({"A0|35"}).dns1, 16), "0.0.0.0");
    EXPECT_EQ(Field(Stored({"A123456|36"}).dns2, 16), "0.0.0.0");  // shorter than 7 characters
    EXPECT_EQ(Stored({"A99999|23"}).local_port, static_cast<uint16_t>(99999 % 65536));
    EXPECT_EQ(Stored({"A123456|23"}).local_port, 12345);  // at most 5 digits
    // A 40-character URL keeps its first 30 bytes, without a NUL.
    auto url = Stored({"A0123456789012345678901234567890123456789|38"});
    EXPECT_EQ(std::string(url.url, 30), "012345678901234567890123456789");
    // The answers to "W" and "T" store nothing.
    VkaWorkBlock empty{};
    auto b = Stored({"A|20", "A|3B", "Aanything|3B"});
    EXPECT_EQ(0, std::memcmp(&b, &empty, sizeof b));
}

TEST(TextAnswers, UntaggedVersionAnswerIsTakenButNotALateKeepAliveAnswer) {
    EXPECT_EQ(TakeAnswer("V|33", "A1.2"), "A1.2|33");
    EXPECT_EQ(Field(Stored({TakeAnswer("V|33", "A1.2").c_str()}).firmware_version, 16), "1.2");
    EXPECT_EQ(TakeAnswer("V|33", "A12|32"), "A12|32");  // stays the keep-alive's answer
    EXPECT_EQ(TakeAnswer("GIP|22", "A1.2"), "A1.2");    // only the version request is special
    EXPECT_EQ(Field(Stored({"AV1.2.3.4.5.6.7.8.9|33"}).firmware_version, 16), "V1.2.3.4.5.6.7.");
}

TEST(TextRequests, ReadSequenceHasThirtyRequestsInOrder) {
    auto r = ReadRequests("0.26.43.60.77.94");
    ASSERT_EQ(r.size(), 30u);
    EXPECT_EQ(r[0], "W0.26.43.60.77.94|20");
    EXPECT_EQ(r[1], "GFE|21");
    EXPECT_EQ(r[18], "GKL|32");
    EXPECT_EQ(r[19], "V|33");
    EXPECT_EQ(r[27], "T|3B");
    EXPECT_EQ(r[29], "GDT|3D");
    for (size_t i = 1; i < r.size(); ++i)
        EXPECT_EQ(TagOf(r[i]).front(), '|') << r[i];
}

TEST(TextRequests, WriteSequenceCarriesTheValuesWithTheirTags) {
    VkaWorkBlock b{};
    Put(b.device_name, "Pump");
    Put(b.ip, "192.168.1.20");
    b.local_port = 4001;
    b.work_mode = 2;
    Put(b.peer_ip, "10.0.0.9");
    b.peer_port = 5001;
    Put(b.gateway, "192.168.1.1");
    Put(b.netmask, "255.255.255.0");
    b.baud_rate = 9600;
    b.parity = 2;
    b.data_bits = 8;
    b.max_length = 512;
    b.max_interval = 20;
    b.protocol = 1;
    b.dhcp = 1;
    b.flow_control = 0;
    b.keep_alive = 60;
    b.auto_dns = 0;
    Put(b.dns1, "8.8.8.8");
    Put(b.dns2, "");
    b.url_switch = 1;
    std::memcpy(b.url, "http://abcdefghijklmnopqrst.cn", 30);  // exactly 30 characters, no NUL
    Put(b.user_name, "admin");
    Put(b.password, "pw");
    b.network_mode = 1;
    std::vector<std::string> expected{"W0.26.43.60.77.94|1E",
                                      "SDNPump|1F",
                                      "SIP192.168.1.20|21",
                                      "SPN4001|22",
                                      "SRM2|23",
                                      "SDI10.0.0.9|24",
                                      "SDP5001|25",
                                      "SGI192.168.1.1|26",
                                      "SNM255.255.255.0|27",
                                      "SBR3|28",
                                      "SPR2|29",
                                      "SBB1|2A",
                                      "SML512|2B",
                                      "SMD20|2C",
                                      "STP1|2D",
                                      "SDH1|2E",
                                      "SFC0|2F",
                                      "SKL60|30",
                                      "SDD0|34",
                                      "SLI8.8.8.8|35",
                                      "SLi|36",
                                      "SWW1|37",
                                      "SDWhttp://abcdefghijklmnopqrst.cn|38",
                                      "SONadmin|39",
                                      "SPWpw|3A",
                                      "SNB1|3B"};
    EXPECT_EQ(WriteRequests("0.26.43.60.77.94", b), expected);

    b.baud_rate = 300;  // not in the table: written as code 3, like 9600
    b.data_bits = 7;
    auto w = WriteRequests("1.2.3.4.5.6", b);
    EXPECT_EQ(w[9], "SBR3|28");
    EXPECT_EQ(w[11], "SBB0|2A");
    b.baud_rate = 57600;
    EXPECT_EQ(WriteRequests("1.2.3.4.5.6", b)[9], "SBR6|28");
}

TEST(TextRequests, LoginRequestsSendAtMostNinePasswordCharacters) {
    char full[10];
    std::memcpy(full, "0123456789", 10);  // no NUL in the field
    EXPECT_EQ(PasswordRequest(full), "L012345678|19");
    char shortpw[10] = "abc";
    EXPECT_EQ(PasswordRequest(shortpw), "Labc|19");
    EXPECT_EQ(SelectRequest("0.1.2.3.4.5", kLoginSelectTag), "W0.1.2.3.4.5|20");
}

TEST(TextBlock, ConversionToTheRecordSetsOneStopBitAndRoundTrips) {
    VkParamSinglePort r{};
    r.model_code = 0x20;
    Put(r.device_name, "Gate");
    Put(r.ip, "10.1.2.3");
    r.local_port = 502;
    r.baud_rate = 38400;
    r.data_bits = 7;
    r.parity = 2;
    r.stop_bits = 2;
    std::memcpy(r.url, "abcdefghijklmnopqrstuvwxyz0123", 30);
    VkParamSinglePort back{};
    TextBlockToRecord(RecordToTextBlock(r), back);
    EXPECT_EQ(back.model_code, 0x20);
    EXPECT_EQ(Field(back.device_name, 10), "Gate");
    EXPECT_EQ(Field(back.ip, 16), "10.1.2.3");
    EXPECT_EQ(back.local_port, 502);
    EXPECT_EQ(back.baud_rate, 38400u);
    EXPECT_EQ(back.data_bits, 7);
    EXPECT_EQ(back.parity, 2);
    EXPECT_EQ(back.stop_bits, 1);
    EXPECT_EQ(std::string(back.url, 30), "abcdefghijklmnopqrstuvwxyz0123");
}

// ---- Second generation ------------------------------------------------------------------------

namespace {

VkParamRecord SinglePortRecord() {
    VkParamRecord rec{};
    auto& r = rec.single;
    r.model_code = 0x10;
    Put(r.user_name, "admin");
    Put(r.password, "pw");
    Put(r.device_name, "Boiler");
    Put(r.firmware_version, "V2.05");
    std::memcpy(r.mac, "\x00\x1a\x2b\x3c\x4d\x5e", 6);
    Put(r.ip, "192.168.0.7");
    r.local_port = 4001;
    Put(r.peer_ip, "192.168.0.50");
    r.peer_port = 5002;
    Put(r.netmask, "255.255.255.0");
    Put(r.gateway, "192.168.0.1");
    Put(r.dns1, "1.1.1.1");
    Put(r.dns2, "");
    Put(r.url, "vk.example");
    r.protocol = 1;
    r.work_mode = 2;
    r.dhcp = 1;
    r.url_switch = 1;
    r.auto_dns = 1;
    r.keep_alive = 30;
    r.max_interval = 10;
    r.max_length = 1460;
    r.baud_rate = 115200;
    r.parity = 1;
    r.data_bits = 8;
    r.stop_bits = 2;
    r.flow_control = 1;
    return rec;
}

}  // namespace

TEST(ParameterFrame, SinglePortWriteFrameBytes) {
    auto block = RecordToBinaryBlock(SinglePortRecord());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->size(), 148u);
    auto frame = BuildParameterWriteFrame(*block);
    ASSERT_EQ(frame.size(), 158u);
    EXPECT_TRUE(ChecksumMatches(frame));
    EXPECT_EQ(frame[0], 0);  // marker of the write request
    EXPECT_EQ(frame[7], 0);  // no tag
    EXPECT_EQ(frame[8], 5);  // WRITE
    EXPECT_EQ(frame[9], 0x10);
    auto p = Plain(frame);
    EXPECT_EQ(0, std::memcmp(&p[12], "\x00\x1a\x2b\x3c\x4d\x5e", 6));
    EXPECT_EQ(0, std::memcmp(&p[20], "Boiler\0\0\0\0", 10));
    EXPECT_EQ(0, std::memcmp(&p[52], "\xc0\xa8\x00\x07", 4));  // 192.168.0.7
    EXPECT_EQ(Be16(p, 64), 4001);                              // port, high byte first
    EXPECT_EQ(p[64], 0x0F);
    EXPECT_EQ(p[65], 0xA1);
    EXPECT_EQ(p[66], 2);  // work mode
    EXPECT_EQ(p[67], 1);  // dhcp
    EXPECT_EQ(Be16(p, 72), 5002);
    EXPECT_EQ(0, std::memcmp(&p[84], "\0\0\0\0", 4));  // empty dns2 is 0.0.0.0
    EXPECT_EQ(Le16(p, 124), 1460);
    EXPECT_EQ(Le16(p, 128), 1152);  // 115200 / 100, low byte first
    EXPECT_EQ(p[128], 0x80);
    EXPECT_EQ(p[129], 0x04);
    EXPECT_EQ(p[134], 2);  // stop bits
    EXPECT_EQ(0, std::memcmp(&p[136], "admin", 5));
    EXPECT_EQ(0, std::memcmp(&p[146], "pw", 2));
    for (size_t zero : {18, 19, 30, 31, 32, 33, 34, 35, 77, 78, 79, 118, 119, 120, 121, 122, 123, 130, 131}) {
        EXPECT_EQ(p[zero], 0) << "byte " << zero;
    }
}

TEST(ParameterFrame, MultiPortFrameSizeFollowsTheChannelCount) {
    for (auto [model, size] :
         {std::pair<uint8_t, size_t>{0x32, 202}, {0x31, 148}, {0x38, 526}, {0x92, 256}, {0x35, 94}}) {
        VkParamRecord rec{};
        rec.model_code = model;
        auto block = RecordToBinaryBlock(rec);
        ASSERT_TRUE(block) << int(model);
        EXPECT_EQ(BuildParameterWriteFrame(*block).size(), size) << std::hex << int(model);
    }
}

TEST(ParameterFrame, RoundTripsBothLayouts) {
    VkParamRecord single = SinglePortRecord();
    VkParamRecord back{};
    auto block = RecordToBinaryBlock(single);
    ASSERT_TRUE(block);
    ASSERT_EQ(BinaryBlockToRecord(*block, back), 304u);
    single.single.network_mode = 0;      // a first-generation setting, never carried by a frame
    Put(single.single.dns2, "0.0.0.0");  // the empty text went out as 0.0.0.0
    for (size_t i = 0; i < 304; ++i) {
        ASSERT_EQ(reinterpret_cast<const uint8_t*>(&back)[i], reinterpret_cast<const uint8_t*>(&single)[i])
            << "byte " << i;
    }

    VkParamRecord multi{};
    auto& m = multi.multi;
    m.model_code = 0x34;  // four channels
    Put(m.user_name, "u");
    Put(m.password, "p");
    Put(m.device_name, "Quad");
    Put(m.firmware_version, "M1");
    std::memcpy(m.mac, "\x01\x02\x03\x04\x05\x06", 6);
    Put(m.ip, "10.0.0.5");
    Put(m.netmask, "255.0.0.0");
    Put(m.gateway, "10.0.0.1");
    m.option_a = 0xA5;
    m.option_b = 0x5A;
    Put(m.dns1, "10.0.0.2");
    Put(m.dns2, "10.0.0.3");
    for (int i = 0; i < 4; ++i) {
        auto& c = m.channels[i];
        c.local_port = static_cast<uint16_t>(4001 + i);
        c.peer_port = static_cast<uint16_t>(6001 + i);
        Put(c.peer_ip, ("10.0.1." + std::to_string(100 + i)).c_str());
        c.channel_options[0] = static_cast<uint8_t>(i);
        c.channel_options[3] = 0xEE;
        Put(c.url, "url");
        c.baud_rate = 9600u * static_cast<uint32_t>(i + 1);
        c.channel_serial[1] = 7;
        c.channel_word = static_cast<uint16_t>(0x1234 + i);
        c.channel_byte = 0x99;
    }
    auto mblock = RecordToBinaryBlock(multi);
    ASSERT_TRUE(mblock);
    auto frame = Plain(BuildParameterWriteFrame(*mblock));
    ASSERT_EQ(frame.size(), 94u + 4 * 54);
    EXPECT_EQ(Be16(frame, 92 + 54), 4002);          // channel 1 port, high byte first
    EXPECT_EQ(Le16(frame, 92 + 54 * 2 + 44), 288);  // channel 2 baud 28800 / 100
    EXPECT_EQ(Le16(frame, 92 + 54 * 3 + 50), 0x1237);
    VkParamRecord mback{};
    ASSERT_EQ(BinaryBlockToRecord(*mblock, mback), 156u + 4 * 68);
    EXPECT_EQ(0, std::memcmp(&mback, &multi, 156 + 4 * 68));
}

TEST(ParameterFrame, RecordsThatWouldWriteANonsenseAddressAreRefused) {
    VkParamRecord rec = SinglePortRecord();
    Put(rec.single.gateway, "192.168.0");
    EXPECT_FALSE(RecordToBinaryBlock(rec));
    rec = SinglePortRecord();
    Put(rec.single.ip, "not an ip");
    EXPECT_FALSE(RecordToBinaryBlock(rec));
    VkParamRecord first{};
    first.model_code = 0x20;  // the text protocol has no parameter frame
    EXPECT_FALSE(RecordToBinaryBlock(first));
    EXPECT_TRUE(BuildParameterWriteFrame(std::vector<uint8_t>{0x10, 1, 2}).empty());  // too short
}

TEST(ParameterFrame, ReadAnswerBecomesAWorkBlockOnlyWhenWhole) {
    std::vector<uint8_t> frame(158, 0);
    frame[8] = 11;
    frame[9] = 0x10;
    frame[12] = 0xAA;
    auto block = BinaryBlockOfFrame(frame);
    ASSERT_EQ(block.size(), 148u);
    EXPECT_EQ(block[0], 0x10);  // the model code stands in the command's place
    EXPECT_EQ(block[1], 0x10);
    EXPECT_EQ(block[4], 0xAA);  // frame byte 12
    frame.resize(150);
    EXPECT_TRUE(BinaryBlockOfFrame(frame).empty());
    frame.assign(202, 0);
    frame[9] = 0x32;
    EXPECT_EQ(BinaryBlockOfFrame(frame).size(), 192u);
    frame[9] = 0x83;
    EXPECT_TRUE(BinaryBlockOfFrame(frame).empty());
}

TEST(DeviceRequests, LoginSaveAndExtendedWriteFrames) {
    const MacBytes mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    auto save = BuildDeviceRequest(kMarkerRequest, 0, 7, mac);
    ASSERT_EQ(save.size(), 42u);
    EXPECT_EQ(save[0], 0xFF);
    EXPECT_EQ(save[8], 7);
    EXPECT_EQ(0, std::memcmp(&save[12], "\xf3\xe9\xd8\xcf\xbe\xad", 6));
    EXPECT_TRUE(ChecksumMatches(save));

    std::vector<uint8_t> payload(438);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>(i);
    auto ext = BuildExtendedWriteFrame(mac, payload);
    ASSERT_EQ(ext.size(), 44u + 438);
    EXPECT_EQ(ext[0], 0xFF);
    EXPECT_EQ(ext[8], 5);
    EXPECT_EQ(0, std::memcmp(&ext[12], "\xf3\xe9\xd8\xcf\xbe\xad", 6));
    EXPECT_EQ(0, std::memcmp(&ext[42], payload.data(), payload.size()));  // plain, unchanged
    uint16_t crc = Crc16(std::span(ext).first(42 + 438));
    EXPECT_EQ(ext[480], crc & 0xFF);
    EXPECT_EQ(ext[481], crc >> 8);
}
