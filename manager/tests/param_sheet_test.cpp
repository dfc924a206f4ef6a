// The rows of the standard parameter window against golden parameter blocks: what every row shows, what
// "Modity" stores where and in which order it stops, the address check after edits and the marks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/field_text.h"
#include "core/params/param_sheet.h"
#include "vkcfg.h"

namespace torvane {
namespace {

using Block = std::vector<uint8_t>;
using P = ParamSheet;

const std::vector<std::string> kNames{"UDP", "TCP", "REAL_COM"};

// A VKB220 as a device would report it, in the session's 2054-byte buffer.
Block GoldenBlock() {
    Block block(VK_PARAM_BUFFER_SIZE, 0);
    VkParamSinglePort p{};
    p.model_code = VK_MODEL_VKB220;
    PutFieldText(p.user_name, sizeof p.user_name, "admin");
    PutFieldText(p.password, sizeof p.password, "secret");
    PutFieldText(p.device_name, sizeof p.device_name, "Pump-7");
    PutFieldText(p.firmware_version, sizeof p.firmware_version, "V2.31");
    const uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::memcpy(p.mac, mac, 6);
    PutFieldText(p.ip, sizeof p.ip, "192.168.1.20");
    p.local_port = 4001;
    PutFieldText(p.peer_ip, sizeof p.peer_ip, "192.168.1.5");
    p.peer_port = 5002;
    PutFieldText(p.netmask, sizeof p.netmask, "255.255.255.0");
    PutFieldText(p.gateway, sizeof p.gateway, "192.168.1.1");
    PutFieldText(p.dns1, sizeof p.dns1, "8.8.8.8");
    PutFieldText(p.dns2, sizeof p.dns2, "8.8.4.4");
    PutFieldText(p.url, sizeof p.url, "plant.example");
    p.protocol = 2;
    p.work_mode = 1;
    p.dhcp = 0;
    p.url_switch = 1;
    p.auto_dns = 1;
    p.network_mode = 1;
    p.keep_alive = 12;
    p.max_interval = 40;
    p.max_length = 512;
    p.baud_rate = 115200;
    p.parity = 2;
    p.data_bits = 7;
    p.stop_bits = 2;
    p.flow_control = 1;
    std::memcpy(block.data(), &p, sizeof p);
    return block;
}

ParamSheet ShownSheet(const Block& block, std::vector<std::string> names = kNames) {
    ParamSheet sheet(std::move(names));
    sheet.Show(block);
    return sheet;
}

struct RowText {
    P::Page page;
    const char* caption;
    const char* text;
};

TEST(ParamSheet, ShowsEveryRowOfAGoldenBlock) {
    const RowText expected[] = {
        {P::kSystem, "MAC Address", "0.26.43.60.77.94"},
        {P::kDevice, "Device Type", "VKB220"},
        {P::kDevice, "Firmware Version", "V2.31"},
        {P::kDevice, "Device Name", "Pump-7"},
        {P::kDevice, "User Name", "admin"},
        {P::kDevice, "Password", "secret"},
        {P::kNetwork, "Network Mode", "Busy Mode"},
        {P::kNetwork, "DHCP Switch", "Disable"},
        {P::kNetwork, "IP Address", "192.168.1.20"},
        {P::kNetwork, "Netmask", "255.255.255.0"},
        {P::kNetwork, "Gateway IP", "192.168.1.1"},
        {P::kNetwork, "First DNS", "8.8.8.8"},
        {P::kNetwork, "Second DNS", "8.8.4.4"},
        {P::kNetwork, "Auto DNS", "Enable"},
        {P::kInterface, "Port", "4001"},
        {P::kInterface, "Protocol", "REAL_COM"},
        {P::kInterface, "Work Mode", "Auto Mode"},
        {P::kInterface, "Broadcast Interval(S)", "5002"},
        {P::kInterface, "Timezone", "12"},
        {P::kInterface, "Peer IP Address", "192.168.1.5"},
        {P::kInterface, "URL", "plant.example"},
        {P::kInterface, "URL Switch", "Enable"},
        {P::kSerial, "Baudrate", "115200 bps"},
        {P::kSerial, "Parity", "ODD"},
        {P::kSerial, "Data Bits", "7 bit"},
        {P::kSerial, "Stop Bits", "2 bit"},
        {P::kSerial, "Flow Control", "CTS/RTS"},
        {P::kSerial, "Max Length(Bytes)", "512"},
        {P::kSerial, "Max Interval(ms)", "40"},
    };
    const ParamSheet sheet = ShownSheet(GoldenBlock());
    for (const auto& e : expected)
        EXPECT_EQ(sheet.Text(e.page, e.caption), e.text) << e.caption;
}

TEST(ParamSheet, PagesRowsAndKindsInDisplayOrder) {
    const ParamSheet sheet(kNames);
    std::vector<std::string> pages;
    for (const auto& page : sheet.sheet().pages)
        pages.push_back(page.caption);
    EXPECT_EQ(pages, (std::vector<std::string>{"System", "Device", "Network", "Interface", "Serial"}));

    std::vector<std::string> network;
    for (const auto& row : sheet.sheet().pages[P::kNetwork].rows)
        network.push_back(row.caption + (row.visible ? "" : " (hidden)"));
    EXPECT_EQ(network,
              (std::vector<std::string>{"Network Mode", "DHCP Switch", "IP Address", "Netmask", "Gateway IP",
                                        "First DNS (hidden)", "Second DNS (hidden)", "Auto DNS (hidden)"}));
    for (const auto& row : sheet.sheet().pages[P::kSystem].rows)
        EXPECT_TRUE(row.read_only && row.inactive) << row.caption;
    EXPECT_TRUE(sheet.Row(P::kDevice, "Password").secret);
    EXPECT_EQ(sheet.Row(P::kDevice, "Device Name").max_length, 9u);
    EXPECT_EQ(sheet.Row(P::kNetwork, "IP Address").kind, RowKind::kMaskedText);
    EXPECT_EQ(sheet.Row(P::kNetwork, "IP Address").max_length, 15u);
    EXPECT_EQ(sheet.Row(P::kNetwork, "DHCP Switch").kind, RowKind::kPickList);
    EXPECT_EQ(sheet.Row(P::kSerial, "Baudrate").kind, RowKind::kPickText);
    EXPECT_EQ(sheet.Row(P::kSerial, "Baudrate").items.size(), 14u);
    EXPECT_EQ(sheet.Row(P::kSerial, "Max Length(Bytes)").spin_max, 1536);
    EXPECT_EQ(sheet.Row(P::kInterface, "Timezone").spin_max, 1000);
    EXPECT_FALSE(sheet.sheet().pages[P::kSerial].greys_inactive);
    EXPECT_TRUE(sheet.sheet().pages[P::kNetwork].greys_inactive);
}

TEST(ParamSheet, ProtocolItemsAreTheNonEmptyNamesButIndexTheFullList) {
    const std::vector<std::string> names{"UDP", "TCP", "REAL_COM", "", "MODBUS", ""};
    Block block = GoldenBlock();
    block[offsetof(VkParamSinglePort, protocol)] = 4;
    ParamSheet sheet = ShownSheet(block, names);
    EXPECT_EQ(sheet.Row(P::kInterface, "Protocol").items,
              (std::vector<std::string>{"UDP", "TCP", "REAL_COM", "MODBUS"}));
    EXPECT_EQ(sheet.Text(P::kInterface, "Protocol"), "MODBUS");
    ASSERT_FALSE(sheet.Modity(block));
    EXPECT_EQ(block[offsetof(VkParamSinglePort, protocol)], 4);
}

TEST(ParamSheet, SystemPageComesFromTheSearchRecordAndTheBlock) {
    VkSearchRecord record{};
    PutFieldText(record.ip, sizeof record.ip, "10.0.0.7");
    PutFieldText(record.netmask, sizeof record.netmask, "255.0.0.0");
    PutFieldText(record.gateway, sizeof record.gateway, "10.0.0.1");
    std::memset(record.peer_ip, '9', sizeof record.peer_ip);  // no NUL: all 16 characters
    PutFieldText(record.dns1, sizeof record.dns1, "1.1.1.1");
    PutFieldText(record.dns2, sizeof record.dns2, "");
    Block block = GoldenBlock();
    block[offsetof(VkParamSinglePort, dhcp)] = 1;
    block[offsetof(VkParamSinglePort, auto_dns)] = 2;  // only 1 reads "Enable" here
    ParamSheet sheet(kNames);
    sheet.FillSystemPage(RecordBytes(record), block);
    sheet.Show(block);
    const RowText expected[] = {
        {P::kSystem, "IP Address", "10.0.0.7"},
        {P::kSystem, "Netmask", "255.0.0.0"},
        {P::kSystem, "Gateway IP", "10.0.0.1"},
        {P::kSystem, "Peer IP", "9999999999999999"},
        {P::kSystem, "DHCP flag", "Enable"},
        {P::kSystem, "Auto DNS", "Disable"},
        {P::kSystem, "First DNS", "1.1.1.1"},
        {P::kSystem, "Second DNS", ""},
        {P::kSystem, "MAC Address", "0.26.43.60.77.94"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(sheet.Text(e.page, e.caption), e.text) << e.caption;
}

TEST(ParamSheet, ModityWithoutChangesStoresEveryFieldUnchanged) {
    for (uint8_t dhcp : {0, 1}) {
        Block block = GoldenBlock();
        block[offsetof(VkParamSinglePort, dhcp)] = dhcp;
        // Bytes no row names keep whatever they hold.
        for (size_t i = sizeof(VkParamSinglePort); i < block.size(); ++i)
            block[i] = static_cast<uint8_t>(i * 7);
        block[50] = 0xAB;
        const Block before = block;
        ParamSheet sheet = ShownSheet(block);
        EXPECT_EQ(sheet.Modity(block), std::nullopt);
        EXPECT_EQ(sheet.Modified, 1);
        EXPECT_EQ(block, before) << "dhcp " << int(dhcp);
    }
}

struct StoreCase {
    P::Page page;
    const char* caption;
    const char* text;
    size_t offset;
    std::vector<uint8_t> bytes;
};

TEST(ParamSheet, StoresEachRowIntoItsField) {
    const StoreCase cases[] = {
        {P::kDevice, "Device Name", "AB", 21, {'A', 'B', 0, 'p', '-'}},  // text and one NUL
        {P::kDevice, "User Name", "root", 1, {'r', 'o', 'o', 't', 0}},
        {P::kDevice, "Password", "123456789", 11, {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0}},
        {P::kNetwork, "Network Mode", "Normal Mode", 263, {0}},
        {P::kNetwork, "DHCP Switch", "Enable", 260, {1}},
        {P::kNetwork, "IP Address", "10.1.1", 70, {'1', '0', '.', '1', '.', '1', 0}},  // stored as typed
        {P::kNetwork, "Auto DNS", "Disable", 262, {0}},
        {P::kInterface, "Port", "6006", 86, {0x76, 0x17}},   // little-endian
        {P::kInterface, "Port", "70000", 86, {0x70, 0x11}},  // low 16 bits
        {P::kInterface, "Protocol", "UDP", 258, {0}},
        {P::kInterface, "Protocol", "7", 258, {1}},  // a number no name equals
        {P::kInterface, "Work Mode", "Client Mode", 259, {2}},
        {P::kInterface, "Work Mode", "9", 259, {3}},
        {P::kInterface, "Broadcast Interval(S)", "65535", 104, {0xFF, 0xFF}},
        {P::kInterface, "Timezone", "300", 264, {44}},
        {P::kInterface, "Timezone", "-8", 264, {248}},
        {P::kInterface, "URL Switch", "Disable", 261, {0}},
        {P::kInterface, "URL", "123456789012345678901234567890", 170, {'1', '2'}},
        {P::kSerial, "Baudrate", "4800", 296, {0xC0, 0x12, 0, 0}},
        {P::kSerial, "Baudrate", "9600 bps", 296, {0x80, 0x25, 0, 0}},
        {P::kSerial, "Baudrate", "19200 fast", 296, {0x00, 0x4B, 0, 0}},
        {P::kSerial, "Parity", "SPECIAL", 300, {5}},
        {P::kSerial, "Parity", "none", 300, {0}},  // case-sensitive: no item
        {P::kSerial, "Data Bits", "8 bit", 301, {8}},
        {P::kSerial, "Data Bits", "5", 301, {8}},
        {P::kSerial, "Stop Bits", "1 bit", 302, {1}},
        {P::kSerial, "Stop Bits", "3", 302, {1}},
        {P::kSerial, "Flow Control", "NONE", 303, {0}},
        {P::kSerial, "Flow Control", "RTS", 303, {0}},
        {P::kSerial, "Max Length(Bytes)", "1000", 292, {0xE8, 0x03}},
        {P::kSerial, "Max Interval(ms)", "257", 290, {1}},
    };
    for (const auto& c : cases) {
        Block block = GoldenBlock();
        ParamSheet sheet = ShownSheet(block);
        sheet.sheet().SetText({c.page, c.caption}, c.text);
        ASSERT_EQ(sheet.Modity(block), std::nullopt) << c.caption << " " << c.text;
        const Block got(block.begin() + static_cast<long>(c.offset),
                        block.begin() + static_cast<long>(c.offset + c.bytes.size()));
        EXPECT_EQ(got, c.bytes) << c.caption << " " << c.text;
    }
}

TEST(ParamSheet, ThirtyCharacterUrlPutsItsNulIntoTheUnusedByteAfterTheField) {
    Block block = GoldenBlock();
    block[200] = 0xEE;
    ParamSheet sheet = ShownSheet(block);
    sheet.sheet().SetText({P::kInterface, "URL"}, std::string(35, 'u'));  // the editor takes 30
    ASSERT_EQ(sheet.Modity(block), std::nullopt);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[170]), 30), std::string(30, 'u'));
    EXPECT_EQ(block[200], 0);
    EXPECT_EQ(block[201], 0);
}

TEST(ParamSheet, AddressRowsTakeAtMostFifteenCharacters) {
    ParamSheet sheet = ShownSheet(GoldenBlock());
    sheet.sheet().SetText({P::kNetwork, "Netmask"}, "255.255.255.2550");
    EXPECT_EQ(sheet.Text(P::kNetwork, "Netmask"), "255.255.255.255");
    Block block = GoldenBlock();
    ASSERT_EQ(sheet.Modity(block), std::nullopt);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[106])), "255.255.255.255");
    EXPECT_EQ(block[106 + 15], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[122])), "192.168.1.1");  // the next field
}

TEST(ParamSheet, OutOfListValuesShowTheNumberAndStoreTheFallback) {
    Block block = GoldenBlock();
    auto& p = *reinterpret_cast<VkParamSinglePort*>(block.data());
    p.protocol = 9;
    p.work_mode = 4;
    p.parity = 6;
    p.data_bits = 5;
    p.stop_bits = 0;
    p.flow_control = 2;
    p.network_mode = 7;
    p.dhcp = 2;
    p.model_code = 0x31;
    ParamSheet sheet = ShownSheet(block);
    const RowText shown[] = {
        {P::kInterface, "Protocol", "9"},
        {P::kInterface, "Work Mode", "4"},
        {P::kSerial, "Parity", "6"},
        {P::kSerial, "Data Bits", "5 bit"},
        {P::kSerial, "Stop Bits", "0"},
        {P::kSerial, "Flow Control", "2"},
        {P::kNetwork, "Network Mode", "Busy Mode"},
        {P::kNetwork, "DHCP Switch", "Disable"},
        {P::kDevice, "Device Type", ""},
    };
    for (const auto& e : shown)
        EXPECT_EQ(sheet.Text(e.page, e.caption), e.text) << e.caption;
    ASSERT_EQ(sheet.Modity(block), std::nullopt);
    EXPECT_EQ(p.protocol, 1);
    EXPECT_EQ(p.work_mode, 3);
    EXPECT_EQ(p.parity, 0);
    EXPECT_EQ(p.data_bits, 8);
    EXPECT_EQ(p.stop_bits, 1);
    EXPECT_EQ(p.flow_control, 0);
    EXPECT_EQ(p.network_mode, 1);
    EXPECT_EQ(p.dhcp, 0);
    EXPECT_EQ(p.model_code, 0x31);  // not stored
}

TEST(ParamSheet, ProtocolStoresTheLastEqualName) {
    const std::vector<std::string> names{"UDP", "TCP", "REAL_COM", "TCP", "", ""};
    const struct {
        const char* text;
        uint8_t stored;
    } cases[] = {{"TCP", 3}, {"UDP", 0}, {"", 5}, {"tcp", 1}, {"KM", 1}};
    for (const auto& c : cases) {
        Block block = GoldenBlock();
        ParamSheet sheet = ShownSheet(block, names);
        sheet.sheet().SetText({P::kInterface, "Protocol"}, c.text);
        ASSERT_EQ(sheet.Modity(block), std::nullopt);
        EXPECT_EQ(block[offsetof(VkParamSinglePort, protocol)], c.stored) << '"' << c.text << '"';
    }
}

struct RefusalCase {
    RowName refused;
    const char* text;
    const char* error;
    RowName before;  // a row stored before the refused one (caption nullptr: none)
    const char* before_text;
    RowName after;  // a row whose store comes after the refused one
    const char* after_text;
};

TEST(ParamSheet, ModityStopsAtARefusedRowAndKeepsWhatWasStoredBefore) {
    const RefusalCase cases[] = {
        {{P::kDevice, "Device Name"},
         "a|b",
         "Devicename can't include charcter of '|'",
         {P::kDevice, nullptr},
         "",
         {P::kDevice, "User Name"},
         "zz"},
        {{P::kDevice, "User Name"},
         "|",
         "Username can't include charcter of '|'",
         {P::kDevice, "Device Name"},
         "zz",
         {P::kDevice, "Password"},
         "zz"},
        {{P::kDevice, "Password"},
         "x|",
         "Password can't include character of '|'",
         {P::kDevice, "User Name"},
         "zz",
         {P::kNetwork, "IP Address"},
         "1.2.3.4"},
        {{P::kSerial, "Baudrate"},
         " bps",
         "'' is not a valid integer value",
         {P::kInterface, "Port"},
         "77",
         {P::kSerial, "Data Bits"},
         "8 bit"},
        {{P::kInterface, "Port"},
         "60o6",
         "'60o6' is not a valid integer value",
         {P::kNetwork, "Auto DNS"},
         "Disable",
         {P::kSerial, "Baudrate"},
         "300 bps"},
        {{P::kInterface, "Broadcast Interval(S)"},
         "",
         "'' is not a valid integer value",
         {P::kInterface, "Work Mode"},
         "Client Mode",
         {P::kNetwork, "Auto DNS"},
         "Disable"},
        {{P::kSerial, "Max Interval(ms)"},
         "1e3",
         "'1e3' is not a valid integer value",
         {P::kSerial, "Max Length(Bytes)"},
         "77",
         {P::kInterface, "Timezone"},
         "77"},
        {{P::kInterface, "Timezone"},
         "99999999999",
         "'99999999999' is not a valid integer value",
         {P::kSerial, "Max Interval(ms)"},
         "77",
         {P::kInterface, "URL Switch"},
         "Disable"},
    };
    const ParamSheet original = ShownSheet(GoldenBlock());
    for (const auto& c : cases) {
        Block block = GoldenBlock();
        ParamSheet sheet = ShownSheet(block);
        if (c.before.caption) sheet.sheet().SetText(c.before, c.before_text);
        sheet.sheet().SetText(c.after, c.after_text);
        sheet.sheet().SetText(c.refused, c.text);
        EXPECT_EQ(sheet.Modity(block), std::optional<std::string>(c.error)) << c.refused.caption;
        EXPECT_EQ(sheet.Modified, 0);

        const ParamSheet stored = ShownSheet(block);
        if (c.before.caption) {
            EXPECT_EQ(stored.sheet().Text(c.before), c.before_text) << c.refused.caption;
        }
        EXPECT_EQ(stored.sheet().Text(c.after), original.sheet().Text(c.after)) << c.refused.caption;
        EXPECT_NE(original.sheet().Text(c.after), c.after_text) << "the case must change the row";
    }
}

TEST(ParamSheet, NetworkEditsCheckEveryAddressAndSetTheMarksFromDhcp) {
    ParamSheet sheet = ShownSheet(GoldenBlock());
    sheet.sheet().SetText({P::kNetwork, "First DNS"}, "");  // hidden, but checked all the same
    EXPECT_EQ(sheet.AfterEdit(P::kNetwork), (std::vector<std::string>{"First DNS IP format error!"}));
    EXPECT_EQ(sheet.AfterEdit(P::kNetwork), (std::vector<std::string>{"First DNS IP format error!"}));

    sheet.sheet().SetText({P::kNetwork, "IP Address"}, "10.1.1");
    sheet.sheet().SetText({P::kNetwork, "Netmask"}, "255.255.255.256");
    sheet.sheet().SetText({P::kNetwork, "Gateway IP"}, "a.b.c.d");
    sheet.sheet().SetText({P::kNetwork, "Second DNS"}, "1.2.3");
    sheet.sheet().SetText({P::kNetwork, "DHCP Switch"}, "Enable");
    EXPECT_EQ(
        sheet.AfterEdit(P::kNetwork),
        (std::vector<std::string>{"IP format error!", "Netmask format error!", "Gateway ip format error!",
                                  "First DNS IP format error!", "Secondd DNS IP format error!"}));
    for (const char* caption : {"IP Address", "Netmask", "Gateway IP"})
        EXPECT_TRUE(sheet.Row(P::kNetwork, caption).inactive) << caption;
    EXPECT_FALSE(sheet.Row(P::kNetwork, "Auto DNS").inactive);
    EXPECT_EQ(sheet.Text(P::kNetwork, "IP Address"), "10.1.1");  // the check only warns

    sheet.sheet().SetText({P::kNetwork, "DHCP Switch"}, "Disable");
    sheet.AfterEdit(P::kNetwork);
    EXPECT_FALSE(sheet.Row(P::kNetwork, "IP Address").inactive);
    EXPECT_TRUE(sheet.Row(P::kNetwork, "Auto DNS").inactive);
    // Other pages' edits leave the network rows alone.
    sheet.sheet().SetText({P::kNetwork, "DHCP Switch"}, "Enable");
    EXPECT_TRUE(sheet.AfterEdit(P::kDevice).empty());
    EXPECT_FALSE(sheet.Row(P::kNetwork, "IP Address").inactive);
}

TEST(ParamSheet, InterfaceAndSerialEditsCheckThePeerAndMarkByWorkModeAndUrlSwitch) {
    for (const P::Page page : {P::kInterface, P::kSerial}) {
        ParamSheet sheet = ShownSheet(GoldenBlock());
        EXPECT_TRUE(sheet.AfterEdit(page).empty());
        EXPECT_FALSE(sheet.Row(P::kInterface, "URL").inactive);
        EXPECT_FALSE(sheet.Row(P::kInterface, "Peer IP Address").inactive);  // "Auto Mode"

        sheet.sheet().SetText({P::kInterface, "Peer IP Address"}, "300.1.1.1");
        sheet.sheet().SetText({P::kInterface, "URL Switch"}, "Disable");
        sheet.sheet().SetText({P::kInterface, "Work Mode"}, "Server Mode");
        EXPECT_EQ(sheet.AfterEdit(page), (std::vector<std::string>{"Peer IP foramt error!"}));
        EXPECT_TRUE(sheet.Row(P::kInterface, "URL").inactive);
        EXPECT_TRUE(sheet.Row(P::kInterface, "Peer IP Address").inactive);
        EXPECT_TRUE(sheet.Row(P::kInterface, "Broadcast Interval(S)").inactive);
        // A network edit does not check the peer.
        EXPECT_TRUE(sheet.AfterEdit(P::kNetwork).empty());
    }
}

TEST(ParamSheet, ShowMarksFollowDhcpAndUrlSwitchAndTheDevicePageGreysItsVersion) {
    struct {
        uint8_t dhcp, url_switch;
        bool addresses_inactive, url_inactive;
    } cases[] = {{1, 1, true, false}, {0, 0, false, true}, {2, 2, false, true}};
    for (const auto& c : cases) {
        Block block = GoldenBlock();
        block[offsetof(VkParamSinglePort, dhcp)] = c.dhcp;
        block[offsetof(VkParamSinglePort, url_switch)] = c.url_switch;
        ParamSheet sheet = ShownSheet(block);
        EXPECT_EQ(sheet.Row(P::kNetwork, "Gateway IP").inactive, c.addresses_inactive);
        EXPECT_EQ(sheet.Row(P::kNetwork, "Auto DNS").inactive, !c.addresses_inactive);
        EXPECT_EQ(sheet.Row(P::kInterface, "URL").inactive, c.url_inactive);
    }
    ParamSheet sheet = ShownSheet(GoldenBlock());
    EXPECT_FALSE(sheet.Row(P::kDevice, "Firmware Version").inactive);
    sheet.PageShown(P::kNetwork);
    EXPECT_FALSE(sheet.Row(P::kDevice, "Firmware Version").inactive);
    sheet.PageShown(P::kDevice);
    EXPECT_TRUE(sheet.Row(P::kDevice, "Firmware Version").inactive);
    EXPECT_TRUE(sheet.Row(P::kDevice, "Device Type").inactive);
}

TEST(ParamSheet, DefaultResetsTheRowsButNeitherTheBlockNorTheMarks) {
    Block block = GoldenBlock();
    ParamSheet sheet = ShownSheet(block);
    const Block before = block;
    sheet.Default();
    EXPECT_EQ(block, before);
    const RowText expected[] = {
        {P::kDevice, "Device Name", ""},
        {P::kDevice, "User Name", ""},
        {P::kDevice, "Password", ""},
        {P::kNetwork, "Network Mode", "Normal Mode"},
        {P::kNetwork, "DHCP Switch", "Disable"},
        {P::kNetwork, "IP Address", "10.1.1.10"},
        {P::kNetwork, "Netmask", "255.0.0.0"},
        {P::kNetwork, "Gateway IP", "10.1.1.1"},
        {P::kNetwork, "Auto DNS", "Disable"},
        {P::kNetwork, "First DNS", "0.0.0.0"},
        {P::kNetwork, "Second DNS", "0.0.0.0"},
        {P::kInterface, "Port", "6006"},
        {P::kInterface, "Protocol", "TCP"},
        {P::kInterface, "Work Mode", "Server Mode"},
        {P::kInterface, "Peer IP Address", "10.1.1.105"},
        {P::kInterface, "Broadcast Interval(S)", "6007"},
        {P::kInterface, "Timezone", "0"},
        {P::kInterface, "URL Switch", "Disable"},
        {P::kInterface, "URL", ""},
        {P::kSerial, "Baudrate", "9600 bps"},
        {P::kSerial, "Parity", "NONE"},
        {P::kSerial, "Data Bits", "8 bit"},
        {P::kSerial, "Stop Bits", "1 bit"},
        {P::kSerial, "Flow Control", "NONE"},
        {P::kSerial, "Max Length(Bytes)", "1000"},
        {P::kSerial, "Max Interval(ms)", "10"},
        {P::kDevice, "Firmware Version", "V2.31"},  // not reset
    };
    for (const auto& e : expected)
        EXPECT_EQ(sheet.Text(e.page, e.caption), e.text) << e.caption;
    EXPECT_FALSE(sheet.Row(P::kInterface, "URL").inactive);  // the marks stay as shown

    ASSERT_EQ(sheet.Modity(block), std::nullopt);
    const auto& p = *reinterpret_cast<const VkParamSinglePort*>(block.data());
    EXPECT_EQ(p.device_name[0], 0);
    EXPECT_EQ(p.local_port, 6006);
    EXPECT_EQ(p.protocol, 1);
    EXPECT_EQ(p.baud_rate, 9600u);
    EXPECT_EQ(std::string(p.peer_ip), "10.1.1.105");
}

TEST(ParamSheet, CancelClearsModified) {
    Block block = GoldenBlock();
    ParamSheet sheet = ShownSheet(block);
    ASSERT_EQ(sheet.Modity(block), std::nullopt);
    ASSERT_EQ(sheet.Modified, 1);
    sheet.Cancel();
    EXPECT_EQ(sheet.Modified, 0);
}

}  // namespace
}  // namespace torvane
