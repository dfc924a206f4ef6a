// What vkctl prints and the address texts it takes: device texts cannot drive the terminal, JSON is
// produced whatever bytes a device sends and parses back with the record field names, and DEVICE
// arguments are told apart exactly.
#include <gtest/gtest.h>

#include <cstring>

#include "device_text.h"
#include "field_table.h"
#include "output.h"

using namespace vkctl;
using Json = nlohmann::ordered_json;

namespace {

template <size_t N>
void Put(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N));
}

}  // namespace

TEST(VkctlOutput, DeviceTextsCannotDriveTheTerminal) {
    const std::pair<std::string, std::string> cases[] = {
        {"Pump 7", "Pump 7"},
        {"\x1b[2JX", "\\x1B[2JX"},              // an escape sequence
        {"a\nb\tc\x7f", "a\\x0Ab\\x09c\\x7F"},  // line breaks, tabs, DEL
        {"S\xc3\xbc"
         "d",
         "S\xc3\xbc"
         "d"},                             // UTF-8 passes
        {"\xe6\xb3\xb5", "\xe6\xb3\xb5"},  // a CJK character
        {"\xc2\x9b"
         "31m",
         "\\xC2\\x9B31m"},  // C1 control (CSI) as UTF-8
        {"\x9b"
         "31m",
         "\\x9B31m"},                // CSI as a single byte
        {"\xb1\xc3", "\\xB1\\xC3"},  // GBK bytes that are no UTF-8
        {"\xe6\xb3", "\\xE6\\xB3"},  // a cut sequence
        {"\xc0\xaf", "\\xC0\\xAF"},  // an overlong "/"
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(DisplayText(in), out) << out;
}

TEST(VkctlOutput, SearchJsonUsesTheRecordNamesAndSurvivesForeignBytes) {
    VkSearchRecord two{};
    two.model_code = VK_MODEL_VKB302;
    Put(two.device_name, "\xb1\xc3\xd5\xbe");  // GBK, not UTF-8
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

    const Json parsed = Json::parse(DumpJson(SearchJson({RowOf(two), RowOf(ext)})));
    ASSERT_EQ(parsed.size(), 2u);
    const Json& a = parsed[0];
    EXPECT_EQ(a["model_code"], 0x32);
    EXPECT_EQ(a["model_name"], "VKB302");
    EXPECT_EQ(a["mac"], "0.26.43.60.77.94");
    EXPECT_EQ(a["ip"], "10.0.0.5");
    EXPECT_EQ(a["local_port"], 4001);
    EXPECT_EQ(a["peer_ip"], "10.0.0.9");
    EXPECT_EQ(a["channel_peer_ip"], Json::array({"10.0.0.10"}));
    EXPECT_TRUE(a["device_name"].is_string());  // replaced characters rather than no output at all
    const Json& b = parsed[1];
    EXPECT_EQ(b["model_code"], VK_MODEL_EXTENDED);
    EXPECT_EQ(b["ip"], "10.0.0.7");
    EXPECT_EQ(b["device_name"], "Clock");
    EXPECT_FALSE(b.contains("local_port"));  // the extended search carries none

    const std::string table = FormatSearchTable({RowOf(two), RowOf(ext)});
    EXPECT_NE(table.find("\\xB1\\xC3"), std::string::npos);
    EXPECT_NE(table.find("VMS450"), std::string::npos);
}

TEST(VkctlOutput, FieldsJsonNestsChannelsAndHidesThePassword) {
    const auto table = FieldsFor(VK_MODEL_VKB303);
    VkParamRecord record{};
    record.multi.model_code = VK_MODEL_VKB303;
    Put(record.multi.password, "hunter2");
    record.multi.channels[2].baud_rate = 38400;
    Put(record.multi.channels[2].peer_ip, "10.3.3.3");
    Block block(sizeof record);
    std::memcpy(block.data(), &record, sizeof record);

    const Json j = Json::parse(DumpJson(FieldsJson(*table, block)));
    EXPECT_EQ(j["model_name"], "VKB303");
    EXPECT_EQ(j["password"], "********");
    ASSERT_EQ(j["channels"].size(), 3u);
    EXPECT_EQ(j["channels"][2]["baud_rate"], 38400);
    EXPECT_EQ(j["channels"][2]["peer_ip"], "10.3.3.3");
    EXPECT_EQ(j["channels"][2]["channel_options"], Json::array({0, 0, 0, 0}));
    EXPECT_EQ(FormatFields(*table, block).find("hunter2"), std::string::npos);
}

TEST(VkctlDeviceText, AddressesAndBothMacFormsAreToldApart) {
    const auto mac = [](const char* text) { return ParseDeviceText(text); };
    const torvane::MacBytes expected{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    for (const char* text :
         {"0.26.43.60.77.94", "00-1A-2B-3C-4D-5E", "00-1a-2b-3c-4d-5e", "00:1a:2b:3c:4d:5e"}) {
        const auto d = mac(text);
        ASSERT_TRUE(d) << text;
        EXPECT_EQ(d->kind, DeviceText::Kind::kMac) << text;
        EXPECT_EQ(d->mac, expected) << text;
    }
    const auto ip = ParseDeviceText("10.0.0.5");
    ASSERT_TRUE(ip);
    EXPECT_EQ(ip->kind, DeviceText::Kind::kIp);
    EXPECT_EQ(ParseDeviceText("010.000.000.005")->ip, "10.0.0.5");
    for (const char* bad :
         {"", "10.0.0", "10.0.0.5.1", "10.0.0.256", "0.26.43.60.77.256", "0.26.43.60.77", "00-1A-2B-3C-4D",
          "00-1A-2B-3C-4D-5G", "001A2B3C4D5E", "host.example", "10.0.0.-1"}) {
        EXPECT_FALSE(ParseDeviceText(bad)) << bad;
    }
}
