// What vkctl prints and the address texts it takes: device texts are shown decoded from GBK and cannot
// drive the terminal, JSON carries them decoded whatever bytes a device sends and parses back with the
// record field names, and DEVICE arguments are told apart exactly.
#include <gtest/gtest.h>

#include <cstring>

#include "core/field_text.h"
#include "core/protocol_names.h"
#include "device_argument.h"
#include "output.h"

using namespace vkctl;
using Json = nlohmann::ordered_json;
using torvane::FoundDeviceOf;

namespace {

template <size_t N>
void Put(char (&field)[N], const std::string& text) {
    torvane::PutFieldText(field, text, torvane::TextEnd::kMayFill);
}

torvane::params::FieldTable Table(uint8_t model) {
    return *torvane::params::FieldsFor(model, torvane::ProtocolNames(std::nullopt));
}

Block BlockOf(const VkParamRecord& record) {
    Block block(sizeof record);
    std::memcpy(block.data(), &record, sizeof record);
    return block;
}

}  // namespace

TEST(VkctlOutput, DeviceTextsCannotDriveTheTerminal) {
    const std::pair<std::string, std::string> cases[] = {
        {"Pump 7", "Pump 7"},
        {"\x1b[2JX", "\\x1B[2JX"},                         // an escape sequence
        {"a\nb\tc\x7f", "a\\x0Ab\\x09c\\x7F"},             // line breaks, tabs, DEL
        {"B\xa8\xb9ro", "B\xc3\xbcro"},                    // GBK, shown as UTF-8
        {"\xb1\xc3\xd5\xbe", "\xe6\xb3\xb5\xe7\xab\x99"},  // two Chinese characters
        {"\x80", "\xe2\x82\xac"},                          // the euro sign, GBK's one-byte character
        {"\x9b"
         "31m",
         "\\x9B31m"},                // CSI as a single byte: no GBK character
        {"\xff\xfe", "\\xFF\\xFE"},  // no character at all
        {"\xa2\xe3", "\\xA2\\xE3"},  // a pair that is no character, and a lead byte at the end
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(DisplayText(in), out) << out;
}

TEST(VkctlOutput, SearchJsonUsesTheRecordNamesAndSurvivesForeignBytes) {
    VkSearchRecord two{};
    two.model_code = VK_MODEL_VKB302;
    Put(two.device_name, "\xb1\xc3\xd5\xbe");  // GBK
    Put(two.firmware_version, "V2.1");
    const uint8_t mac[6] = {0, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::memcpy(two.mac, mac, 6);
    Put(two.ip, "10.0.0.5");
    two.local_port = 4001;
    Put(two.peer_ip, "10.0.0.9");
    Put(two.channel_peer_ip[0], "10.0.0.10");
    Put(two.channel_peer_ip[1], "10.0.0.11");  // beyond the model's two channels: not reported
    VkSearchRecordEx ext{};
    ext.model_code = VK_MODEL_EXTENDED;
    Put(ext.device_name, "Clock");
    const uint8_t ip[4] = {10, 0, 0, 7};
    std::memcpy(ext.ip, ip, 4);

    Put(ext.firmware_version, "V\xff");  // a byte that is no GBK character
    const Json parsed = Json::parse(DumpJson(SearchJson({FoundDeviceOf(two), FoundDeviceOf(ext)})));
    ASSERT_EQ(parsed.size(), 2u);
    const Json& a = parsed[0];
    EXPECT_EQ(a["model_code"], 0x32);
    EXPECT_EQ(a["model_name"], "VKB302");
    EXPECT_EQ(a["mac"], "0.26.43.60.77.94");
    EXPECT_EQ(a["ip"], "10.0.0.5");
    EXPECT_EQ(a["local_port"], 4001);
    EXPECT_EQ(a["peer_ip"], "10.0.0.9");
    EXPECT_EQ(a["channel_peer_ip"], Json::array({"10.0.0.10"}));
    EXPECT_EQ(a["device_name"], "\xe6\xb3\xb5\xe7\xab\x99");  // decoded
    const Json& b = parsed[1];
    EXPECT_EQ(b["model_code"], VK_MODEL_EXTENDED);
    EXPECT_EQ(b["ip"], "10.0.0.7");
    EXPECT_EQ(b["device_name"], "Clock");
    EXPECT_EQ(b["firmware_version"], "V\xef\xbf\xbd");  // replaced rather than no output at all
    EXPECT_FALSE(b.contains("local_port"));             // the extended search carries none

    const std::string table = FormatSearchTable({FoundDeviceOf(two), FoundDeviceOf(ext)});
    EXPECT_NE(table.find("\xe6\xb3\xb5\xe7\xab\x99"), std::string::npos);
    EXPECT_NE(table.find("VMS450"), std::string::npos);
}

TEST(VkctlOutput, FieldsJsonNestsChannelsAndHidesThePassword) {
    const auto table = Table(VK_MODEL_VKB303);
    VkParamRecord record{};
    record.multi.model_code = VK_MODEL_VKB303;
    Put(record.multi.password, "hunter2");
    Put(record.multi.device_name, "B\xa8\xb9ro-2");
    record.multi.channels[2].baud_rate = 38400;
    record.multi.channels[2].channel_serial[2] = 2;
    Put(record.multi.channels[2].peer_ip, "10.3.3.3");
    const Block block = BlockOf(record);

    const Json j = Json::parse(DumpJson(FieldsJson(table, block)));
    EXPECT_EQ(j["model_name"], "VKB303");
    EXPECT_EQ(j["password"], "********");
    ASSERT_EQ(j["channels"].size(), 3u);
    EXPECT_EQ(j["channels"][2]["baud_rate"], 38400);
    EXPECT_EQ(j["channels"][2]["peer_ip"], "10.3.3.3");
    EXPECT_EQ(j["channels"][2]["stop_bits"], 2);
    EXPECT_EQ(j["channels"][2]["channel_options"], Json::array({0, 0, 0, 0}));
    EXPECT_EQ(j["device_name"], "B\xc3\xbcro-2");
    const std::string shown = FormatFields(table, block);
    EXPECT_EQ(shown.find("hunter2"), std::string::npos);
    EXPECT_NE(shown.find("channels[2].stop_bits"), std::string::npos);
    // Read-only fields say why; the others say nothing more.
    const auto line_of = [&](const std::string& name) {
        const size_t at = shown.find("\n" + name + " ");
        return at == std::string::npos ? std::string()
                                       : shown.substr(at + 1, shown.find('\n', at + 1) - at - 1);
    };
    EXPECT_NE(line_of("mac").find("(read-only: the device's own)"), std::string::npos) << shown;
    EXPECT_NE(line_of("channels[0].channel_word").find("(read-only: carried unchanged"), std::string::npos);
    EXPECT_EQ(line_of("device_name").find("read-only"), std::string::npos);
    EXPECT_NE(line_of("device_name").find("B\xc3\xbcro-2"), std::string::npos);
}

TEST(VkctlOutput, ChangesNameTheFieldsAndHidePasswords) {
    const auto table = Table(VK_MODEL_VKA100);
    VkParamRecord before{};
    before.single.protocol = 1;
    VkParamRecord after = before;
    Put(after.single.password, "s3cret");
    Put(after.single.device_name, "B\xa8\xb9ro");
    after.single.max_interval = 40;
    after.single.protocol = 2;
    const std::string printed = FormatChanges(Diff(table, BlockOf(before), BlockOf(after)));
    EXPECT_EQ(printed,
              "password: changed\ndevice_name: \"\" -> \"B\xc3\xbcro\"\nprotocol: 1 (TCP) -> 2 (REAL_COM)\n"
              "max_interval: 0 -> 40\n");
    EXPECT_EQ(printed.find("s3cret"), std::string::npos);
}

TEST(VkctlDeviceArgument, AddressesAndBothMacFormsAreToldApart) {
    const auto mac = [](const char* text) { return ParseDeviceArgument(text); };
    const torvane::MacBytes expected{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    for (const char* text :
         {"0.26.43.60.77.94", "00-1A-2B-3C-4D-5E", "00-1a-2b-3c-4d-5e", "00:1a:2b:3c:4d:5e"}) {
        const auto d = mac(text);
        ASSERT_TRUE(d) << text;
        EXPECT_EQ(d->kind, DeviceArgument::Kind::kMac) << text;
        EXPECT_EQ(d->mac, expected) << text;
    }
    const auto ip = ParseDeviceArgument("10.0.0.5");
    ASSERT_TRUE(ip);
    EXPECT_EQ(ip->kind, DeviceArgument::Kind::kIp);
    EXPECT_EQ(ParseDeviceArgument("010.000.000.005")->ip, "10.0.0.5");
    for (const char* bad :
         {"", "10.0.0", "10.0.0.5.1", "10.0.0.256", "0.26.43.60.77.256", "0.26.43.60.77", "00-1A-2B-3C-4D",
          "00-1A-2B-3C-4D-5G", "001A2B3C4D5E", "host.example", "10.0.0.-1"}) {
        EXPECT_FALSE(ParseDeviceArgument(bad)) << bad;
    }
}
