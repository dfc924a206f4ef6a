// The rows of the extended parameter window against a golden extended block written byte by byte here:
// what every row shows, what "Modify" stores where, the bytes it leaves alone, and where it stops.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/params/ex_param_sheet.h"
#include "vkcfg.h"

namespace torvane {
namespace {

using Block = std::vector<uint8_t>;
using P = ExParamSheet;

const std::vector<std::string> kNames{"UDP", "TCP", "REAL_COM"};

void Text(Block& b, size_t at, const char* text) {
    std::memcpy(&b[at], text, std::strlen(text) + 1);
}
void Bytes(Block& b, size_t at, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(at));
}

// An extended device's block in the session's 2054-byte buffer; every byte that no row names holds a
// pattern, so that a store that touches one shows.
Block GoldenBlock() {
    Block b(VK_PARAM_BUFFER_SIZE, 0);
    for (size_t i = 0; i < VK_EX_PARAM_SIZE; ++i)
        b[i] = static_cast<uint8_t>(0xA0 + i % 7);
    Bytes(b, 0, {0x83, 0x01});
    Bytes(b, 2, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E});  // MAC
    std::memset(&b[44], 0, 32);
    Text(b, 44, "VMS-2.07");  // firmware version, 32 bytes
    std::memset(&b[84], 0, 16);
    Text(b, 84, "Clock-3");               // device name, 16 bytes
    Bytes(b, 106, {192, 168, 3, 30});     // IP
    Bytes(b, 110, {255, 255, 0, 0});      // netmask
    Bytes(b, 114, {192, 168, 3, 1});      // gateway
    Bytes(b, 118, {0x17, 0x76});          // port 6006, high byte first
    Bytes(b, 120, {2});                   // work mode: client
    Bytes(b, 121, {1});                   // DHCP on
    Bytes(b, 122, {10, 0, 0, 9});         // peer IP
    Bytes(b, 126, {0x13, 0x89});          // peer port 5001
    Bytes(b, 128, {0});                   // protocol UDP
    Bytes(b, 129, {0});                   // URL switch off
    Bytes(b, 130, {3});                   // auto DNS: any non-zero is "Enable"
    Bytes(b, 134, {9, 9, 9, 9});          // DNS 1
    Bytes(b, 138, {149, 112, 112, 112});  // DNS 2
    std::memset(&b[142], 0, 32);
    Text(b, 142, "ntp.example");  // URL, 32 bytes
    Bytes(b, 180, {0xE8, 0x03});  // max length 1000, low byte first
    Bytes(b, 182, {20});          // max interval
    Bytes(b, 183, {5});           // keep-alive
    Bytes(b, 184, {0x80, 0x04});  // 1152: 115200 bit/s
    Bytes(b, 188, {8, 4, 2, 1});  // data bits, parity SPACE, stop bits, flow CTS/RTS
    std::memset(&b[192], 0, 32);
    Text(b, 192, "admin");        // user name, 16 bytes
    Text(b, 208, "pw");           // password, 16 bytes
    Bytes(b, 224, {0x30, 0x00});  // time source 4800 bit/s
    Bytes(b, 226, {7, 1, 2});     // its data bits, parity EVEN, stop bits
    Bytes(b, 229, {0});           // receive broadcast off
    Bytes(b, 230, {0x1E, 0x00});  // request interval 30
    Bytes(b, 232, {0x03, 0x00});  // first request interval 3
    Bytes(b, 234, {1});           // oscillator rectify on
    Bytes(b, 235, {248});         // time zone
    Bytes(b, 236, {0x58, 0x02});  // lifetime after offline 600
    Bytes(b, 238, {0x14, 0x00});  // max rectify 20 ppm
    Bytes(b, 240, {0x05, 0x00});  // error for adjust 5 ms
    Bytes(b, 242, {0x2C, 0x01});  // max adjust 300 s
    for (size_t i = 0; i < 5; ++i)
        std::memset(&b[246 + 32 * i], 0, 32);
    Text(b, 246, "pool.ntp.org");
    Text(b, 278, "10.0.0.1");
    std::memset(&b[342], 'x', 32);  // server 4 fills its field: no NUL
    return b;
}

ExParamSheet ShownSheet(const Block& block) {
    ExParamSheet sheet(kNames);
    sheet.Show(block);
    return sheet;
}

struct RowText {
    size_t page;
    const char* caption;
    const char* text;
};

TEST(ExParamSheet, ShowsEveryRowOfAGoldenBlock) {
    const RowText expected[] = {
        {P::kSystemInformation, "MAC Address", "0.26.43.60.77.94"},
        {P::kDeviceInformation, "Device Type", "VMS450"},
        {P::kDeviceInformation, "Firmware Version", "VMS-2.07"},
        {P::kDeviceInformation, "Device Name", "Clock-3"},
        {P::kDeviceInformation, "User Name", "admin"},
        {P::kDeviceInformation, "Password", "pw"},
        {P::kNetwork, "Network Mode", "Normal Mode"},
        {P::kNetwork, "DHCP Switch", "Enable"},
        {P::kNetwork, "IP Address", "192.168.3.30"},
        {P::kNetwork, "Netmask", "255.255.0.0"},
        {P::kNetwork, "Gateway IP", "192.168.3.1"},
        {P::kNetwork, "Auto DNS", "Enable"},
        {P::kNetwork, "First DNS IP", "9.9.9.9"},
        {P::kNetwork, "Second DNS IP", "149.112.112.112"},
        {P::kNtp, "Time Zone", "248"},
        {P::kNtp, "Request IntervalS)", "30"},
        {P::kNtp, "First Request Interval(S)", "3"},
        {P::kNtp, "Receive Broadcast", "Disable"},
        {P::kNtp, "Oscillator Rectify", "Enable"},
        {P::kNtp, "Max Value For Rectify(ppm)", "20"},
        {P::kNtp, "Livetime After Offline(S)", "600"},
        {P::kNtp, "Error For Adjust(mS)", "5"},
        {P::kNtp, "Max Adjust Value(S)", "300"},
        {P::kNtp, "TimeServer1", "pool.ntp.org"},
        {P::kNtp, "TimeServer2", "10.0.0.1"},
        {P::kNtp, "TimeServer3", ""},
        {P::kNtp, "TimeServer4", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},
        {P::kNtp, "Baud", "4800 bps"},
        {P::kNtp, "Parity", "EVEN"},
        {P::kNtp, "Data Bits", "7 bit"},
        {P::kNtp, "Stop Bits", "2 bit"},
        {P::kChannel0, "Port", "6006"},
        {P::kChannel0, "Protocol", "UDP"},
        {P::kChannel0, "Work Mode", "Client Mode"},
        {P::kChannel0, "Peer IP", "10.0.0.9"},
        {P::kChannel0, "Peer Port", "5001"},
        {P::kChannel0, "KeepLive Timer(min)", "5"},
        {P::kChannel0, "URL Switch", "Disable"},
        {P::kChannel0, "URL", "ntp.example"},
        {P::kChannel0, "Baud", "115200 bps"},
        {P::kChannel0, "Parity", "SPACE"},
        {P::kChannel0, "Data Bits", "8 bit"},
        {P::kChannel0, "Stop Bits", "2 bit"},
        {P::kChannel0, "Flow Control", "CTS/RTS"},
        {P::kChannel0, "Max Length(byes)", "1000"},
        {P::kChannel0, "Max Interval(ms)", "20"},
    };
    const ExParamSheet sheet = ShownSheet(GoldenBlock());
    for (const auto& e : expected)
        EXPECT_EQ(sheet.Text(e.page, e.caption), e.text)
            << sheet.sheet().pages[e.page].caption << " " << e.caption;
    EXPECT_EQ(sheet.Caption(), "Setting - VMS450");
    // The NTP page's own channel rows are neither filled nor shown.
    EXPECT_EQ(sheet.Text(P::kNtp, "Port"), "");
    EXPECT_FALSE(sheet.Row(P::kNtp, "Port").visible);
}

TEST(ExParamSheet, PagesAndTheirRowsInDisplayOrder) {
    const ExParamSheet sheet = ShownSheet(GoldenBlock());
    std::vector<std::string> visible_pages;
    for (const auto& page : sheet.sheet().pages) {
        if (page.visible) visible_pages.push_back(page.caption);
    }
    EXPECT_EQ(visible_pages, (std::vector<std::string>{"System Information", "Device Information", "Network",
                                                       "NTP", "Channel-0"}));
    EXPECT_EQ(sheet.sheet().pages.size(), 11u);  // six hidden channel pages follow

    const auto shown = [&](size_t page) {
        std::vector<std::string> rows;
        for (const auto& row : sheet.sheet().pages[page].rows) {
            if (row.visible) rows.push_back((row.kind == RowKind::kCategory ? "# " : "") + row.caption);
        }
        return rows;
    };
    EXPECT_EQ(shown(P::kNtp), (std::vector<std::string>{"# Network",
                                                        "Time Zone",
                                                        "Request IntervalS)",
                                                        "First Request Interval(S)",
                                                        "Receive Broadcast",
                                                        "Oscillator Rectify",
                                                        "Max Value For Rectify(ppm)",
                                                        "Livetime After Offline(S)",
                                                        "Error For Adjust(mS)",
                                                        "Max Adjust Value(S)",
                                                        "TimeServer1",
                                                        "TimeServer2",
                                                        "TimeServer3",
                                                        "TimeServer4",
                                                        "TimeServer5",
                                                        "# Serial",
                                                        "Baud",
                                                        "Parity",
                                                        "Data Bits",
                                                        "Stop Bits"}));
    EXPECT_EQ(shown(P::kChannel0),
              (std::vector<std::string>{"# Network", "Port", "Protocol", "Work Mode", "Peer IP", "Peer Port",
                                        "KeepLive Timer(min)", "URL Switch", "URL", "# Serial", "Baud",
                                        "Parity", "Data Bits", "Stop Bits", "Flow Control",
                                        "Max Length(byes)", "Max Interval(ms)"}));
    EXPECT_EQ(shown(P::kSystemInformation),
              (std::vector<std::string>{"MAC Address", "IP", "NetMask", "GatewayIP", "PeerIP", "DHCP Switch",
                                        "Auto DNS", "First DNS IP", "Second DNS IP"}));
    EXPECT_TRUE(sheet.Row(P::kSystemInformation, "IP").read_only);
    EXPECT_TRUE(sheet.Row(P::kDeviceInformation, "Password").secret);
    EXPECT_EQ(sheet.Row(P::kChannel0, "URL").max_length, 30u);
    EXPECT_EQ(sheet.Row(P::kChannel0, "KeepLive Timer(min)").spin_max, 1000);
    EXPECT_EQ(sheet.Row(P::kNtp, "Receive Broadcast").items, (std::vector<std::string>{"Disable", "Enable"}));
    EXPECT_EQ(sheet.Row(P::kNetwork, "DHCP Switch").kind, RowKind::kPickList);
}

TEST(ExParamSheet, SystemInformationComesFromTheSearchRecordAndTheBlock) {
    VkSearchRecordEx record{};
    record.model_code = VK_MODEL_EXTENDED;
    const uint8_t addresses[6][4] = {{10, 0, 0, 5}, {10, 0, 0, 6}, {255, 0, 0, 0},
                                     {10, 0, 0, 1}, {1, 1, 1, 1},  {0, 0, 0, 0}};
    std::memcpy(record.ip, addresses[0], 4);
    std::memcpy(record.peer_ip, addresses[1], 4);
    std::memcpy(record.netmask, addresses[2], 4);
    std::memcpy(record.gateway, addresses[3], 4);
    std::memcpy(record.dns1, addresses[4], 4);
    std::memcpy(record.dns2, addresses[5], 4);
    const Block block = GoldenBlock();  // DHCP 1, auto DNS 3
    ExParamSheet sheet(kNames);
    sheet.FillSystemInformation(RecordBytes(record), block);
    sheet.Show(block);
    const RowText expected[] = {
        {P::kSystemInformation, "IP", "10.0.0.5"},
        {P::kSystemInformation, "NetMask", "255.0.0.0"},
        {P::kSystemInformation, "GatewayIP", "10.0.0.1"},
        {P::kSystemInformation, "PeerIP", "10.0.0.6"},
        {P::kSystemInformation, "DHCP Switch", "Enable"},
        {P::kSystemInformation, "Auto DNS", "Disable"},
        {P::kSystemInformation, "First DNS IP", "1.1.1.1"},
        {P::kSystemInformation, "Second DNS IP", "0.0.0.0"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(sheet.Text(e.page, e.caption), e.text) << e.caption;
}

TEST(ExParamSheet, ModifyWithoutChangesWritesEveryFieldAndEveryOtherByteUnchanged) {
    Block block = GoldenBlock();
    block[130] = 1;  // "Enable" stores 1: only 0 and 1 come back as they were
    const Block before = block;
    ExParamSheet sheet = ShownSheet(block);
    EXPECT_EQ(sheet.Modify(block), std::nullopt);
    EXPECT_EQ(sheet.Modified, 1);
    EXPECT_EQ(block, before);
}

struct StoreCase {
    size_t page;
    const char* caption;
    const char* text;
    size_t offset;
    std::vector<uint8_t> bytes;
};

TEST(ExParamSheet, StoresEachRowIntoItsField) {
    const StoreCase cases[] = {
        {P::kDeviceInformation, "Device Name", "Uhr", 84, {'U', 'h', 'r', 0, 'k', '-', '3', 0}},
        {P::kDeviceInformation, "User Name", "op", 192, {'o', 'p', 0, 'i', 'n', 0}},
        {P::kDeviceInformation,
         "Password",
         "123456789",
         208,
         {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0}},
        {P::kNetwork, "Network Mode", "Busy Mode", 0, {0x83, 0x01}},  // not stored
        {P::kNetwork, "DHCP Switch", "Disable", 121, {0}},
        {P::kNetwork, "Auto DNS", "Disable", 130, {0}},
        {P::kNetwork, "Auto DNS", "Enable", 130, {1}},
        {P::kNetwork, "IP Address", "10.1.1.7", 106, {10, 1, 1, 7}},
        {P::kNetwork, "IP Address", "10.1.1", 106, {0, 0, 0, 0}},
        {P::kNetwork, "Netmask", "255. 255.255. 0", 110, {255, 255, 255, 0}},
        {P::kNetwork, "Gateway IP", "10.0.0.256", 114, {0, 0, 0, 0}},
        {P::kNetwork, "First DNS IP", "8.8.8.8", 134, {8, 8, 8, 8}},
        {P::kNetwork, "Second DNS IP", "8.8.4.4", 138, {8, 8, 4, 4}},
        {P::kChannel0, "Peer IP", "10.1.1.105", 122, {10, 1, 1, 105}},
        {P::kChannel0, "Port", "6007", 118, {0x17, 0x77}},
        {P::kChannel0, "Peer Port", "65536", 126, {0x00, 0x00}},
        {P::kChannel0, "Protocol", "TCP", 128, {1}},
        {P::kChannel0, "Protocol", "3", 128, {1}},
        {P::kChannel0, "Work Mode", "Auto Mode", 120, {1}},
        {P::kChannel0, "Work Mode", "auto", 120, {3}},
        {P::kChannel0, "KeepLive Timer(min)", "300", 183, {44}},
        {P::kChannel0, "URL Switch", "Enable", 129, {1}},
        {P::kChannel0, "URL", "123456789012345678901234567890", 142, {'1', '2', '3', '4', '5', '6', '7', '8',
                                                                      '9', '0', '1', '2', '3', '4', '5', '6',
                                                                      '7', '8', '9', '0', '1', '2', '3', '4',
                                                                      '5', '6', '7', '8', '9', '0', 0}},
        {P::kChannel0, "Baud", "115200 bps", 184, {0x80, 0x04}},
        {P::kChannel0, "Baud", "9650", 184, {0x60, 0x00}},  // integer division by 100
        {P::kChannel0, "Parity", "MARK", 189, {3}},
        {P::kChannel0, "Data Bits", "7 bit", 188, {7}},
        {P::kChannel0, "Data Bits", "6 bit", 188, {8}},
        {P::kChannel0, "Stop Bits", "1 bit", 190, {1}},
        {P::kChannel0, "Flow Control", "NONE", 191, {0}},
        {P::kChannel0, "Max Length(byes)", "1000", 180, {0xE8, 0x03}},
        {P::kChannel0, "Max Interval(ms)", "511", 182, {0xFF}},
        {P::kNtp, "Time Zone", "-8", 235, {248}},
        {P::kNtp, "Time Zone", "8", 235, {8}},
        {P::kNtp, "Request IntervalS)", "64", 230, {64, 0}},
        {P::kNtp, "First Request Interval(S)", "258", 232, {2, 1}},
        {P::kNtp, "Receive Broadcast", "Enable", 229, {1}},
        {P::kNtp, "Oscillator Rectify", "Disable", 234, {0}},
        {P::kNtp, "Oscillator Rectify", "on", 234, {0}},
        {P::kNtp, "Max Value For Rectify(ppm)", "100", 238, {100, 0}},
        {P::kNtp, "Livetime After Offline(S)", "3600", 236, {0x10, 0x0E}},
        {P::kNtp, "Error For Adjust(mS)", "0", 240, {0, 0}},
        {P::kNtp, "Max Adjust Value(S)", "-1", 242, {0xFF, 0xFF}},
        {P::kNtp, "TimeServer3", "time.example.org", 310, {'t', 'i', 'm', 'e'}},
        {P::kNtp, "TimeServer1", "a", 246, {'a', 0, 'o', 'l'}},
        // 31 characters and the NUL fit; 32 or more leave the field as it was.
        {P::kNtp, "TimeServer2", "1234567890123456789012345678901", 278 + 30, {'1', 0}},
        {P::kNtp, "TimeServer2", "12345678901234567890123456789012", 278, {'1', '0', '.', '0'}},
        {P::kNtp, "Baud", "115200 bps", 224, {0x80, 0x04}},
        {P::kNtp, "Parity", "ODD", 227, {2}},
        {P::kNtp, "Data Bits", "8 bit", 226, {8}},
        {P::kNtp, "Stop Bits", "1 bit", 228, {1}},
    };
    for (const auto& c : cases) {
        Block block = GoldenBlock();
        ExParamSheet sheet = ShownSheet(block);
        sheet.sheet().SetText({c.page, c.caption}, c.text);
        ASSERT_EQ(sheet.Modify(block), std::nullopt) << c.caption << " " << c.text;
        const Block got(block.begin() + static_cast<long>(c.offset),
                        block.begin() + static_cast<long>(c.offset + c.bytes.size()));
        EXPECT_EQ(got, c.bytes) << c.caption << " " << c.text;
    }
}

TEST(ExParamSheet, OutOfListValuesShowTheNumberAndStoreTheFallback) {
    Block block = GoldenBlock();
    Bytes(block, 120, {7});           // work mode
    Bytes(block, 128, {6});           // protocol beyond the names
    Bytes(block, 188, {5, 9, 0, 3});  // data bits, parity, stop bits, flow
    ExParamSheet sheet = ShownSheet(block);
    const RowText shown[] = {{P::kChannel0, "Work Mode", "7"}, {P::kChannel0, "Protocol", "6"},
                             {P::kChannel0, "Data Bits", "5"}, {P::kChannel0, "Parity", "9"},
                             {P::kChannel0, "Stop Bits", "0"}, {P::kChannel0, "Flow Control", "3"}};
    for (const auto& e : shown)
        EXPECT_EQ(sheet.Text(e.page, e.caption), e.text) << e.caption;
    ASSERT_EQ(sheet.Modify(block), std::nullopt);
    EXPECT_EQ(block[120], 3);
    EXPECT_EQ(block[128], 1);
    EXPECT_EQ((Block{block.begin() + 188, block.begin() + 192}), (Block{8, 0, 1, 0}));
}

TEST(ExParamSheet, ModifyStopsAtARefusedRowAndKeepsWhatWasStoredBefore) {
    const struct {
        RowName refused;
        const char* text;
        const char* error;
        size_t stored_at;  // a field stored before the refusal, changed by the case
        RowName before;
        const char* before_text;
        uint8_t before_byte;
        size_t kept_at;  // a field whose store comes after the refusal
        RowName after;
        const char* after_text;
    } cases[] = {
        {{P::kDeviceInformation, "User Name"},
         "a|",
         "Username can't include charcter of '|'",
         84,
         {P::kDeviceInformation, "Device Name"},
         "Z",
         'Z',
         208,
         {P::kDeviceInformation, "Password"},
         "Q"},
        {{P::kChannel0, "Peer Port"},
         "x",
         "'x' is not a valid integer value",
         120,
         {P::kChannel0, "Work Mode"},
         "Server Mode",
         0,
         118,
         {P::kChannel0, "Port"},
         "1"},
        {{P::kChannel0, "Baud"},
         "fast bps",
         "'fast' is not a valid integer value",
         118,
         {P::kChannel0, "Port"},
         "1",
         0,
         188,
         {P::kChannel0, "Data Bits"},
         "7 bit"},
        {{P::kNtp, "Time Zone"},
         "+",
         "'+' is not a valid integer value",
         129,
         {P::kChannel0, "URL Switch"},
         "Enable",
         1,
         230,
         {P::kNtp, "Request IntervalS)"},
         "1"},
        {{P::kNtp, "Baud"},
         "",
         "'' is not a valid integer value",
         234,
         {P::kNtp, "Oscillator Rectify"},
         "Disable",
         0,
         226,
         {P::kNtp, "Data Bits"},
         "8 bit"},
    };
    for (const auto& c : cases) {
        const Block golden = GoldenBlock();
        Block block = golden;
        ExParamSheet sheet = ShownSheet(block);
        sheet.sheet().SetText(c.before, c.before_text);
        sheet.sheet().SetText(c.after, c.after_text);
        sheet.sheet().SetText(c.refused, c.text);
        EXPECT_EQ(sheet.Modify(block), std::optional<std::string>(c.error)) << c.refused.caption;
        EXPECT_EQ(sheet.Modified, 0);
        EXPECT_EQ(block[c.stored_at], c.before_byte) << c.refused.caption;
        EXPECT_NE(golden[c.stored_at], c.before_byte) << "the case must change the field";
        EXPECT_EQ(block[c.kept_at], golden[c.kept_at]) << c.refused.caption;
    }
}

TEST(ExParamSheet, DefaultSetsEveryChannelPageAndTheTimeServiceRows) {
    Block block = GoldenBlock();
    ExParamSheet sheet = ShownSheet(block);
    sheet.Default();
    const RowText expected[] = {
        {P::kDeviceInformation, "Device Name", ""},
        {P::kNetwork, "Network Mode", "Normal Mode"},
        {P::kNetwork, "DHCP Switch", "Disable"},
        {P::kNetwork, "IP Address", "10.1.1.10"},
        {P::kNetwork, "Netmask", "255.0.0.0"},
        {P::kNetwork, "Gateway IP", "10.1.1.1"},
        {P::kNetwork, "Auto DNS", "Disable"},
        {P::kNetwork, "Second DNS IP", "0.0.0.0"},
        {P::kChannel0, "Port", "6007"},
        {P::kChannel0, "Protocol", "TCP"},
        {P::kChannel0, "Peer IP", "10.1.1.105"},
        {P::kChannel0, "Peer Port", "6007"},
        {P::kChannel0, "Max Interval(ms)", "10"},
        {P::kChannel0, "Max Length(byes)", "1000"},
        {P::kChannel0, "Baud", "9600 bps"},
        {P::kNtp, "Port", "6006"},
        {P::kNtp, "Baud", "9600 bps"},
        {P::kNtp, "Data Bits", "8 bit"},
        {P::kNtp, "Time Zone", "8"},
        {P::kNtp, "Request IntervalS)", "30"},
        {P::kNtp, "TimeServer1", ""},
        {P::kNtp, "Max Adjust Value(S)", "600"},
        {P::kNtp, "Livetime After Offline(S)", "600"},
        {P::kNtp, "Max Value For Rectify(ppm)", "20"},
        {P::ChannelPage(7), "Port", "6013"},
        {P::kDeviceInformation, "Firmware Version", "VMS-2.07"},  // not reset
    };
    for (const auto& e : expected)
        EXPECT_EQ(sheet.Text(e.page, e.caption), e.text)
            << sheet.sheet().pages[e.page].caption << " " << e.caption;
    EXPECT_EQ(block, GoldenBlock());

    ASSERT_EQ(sheet.Modify(block), std::nullopt);
    EXPECT_EQ((Block{block.begin() + 118, block.begin() + 120}), (Block{0x17, 0x77}));
    EXPECT_EQ((Block{block.begin() + 224, block.begin() + 226}), (Block{96, 0}));
    EXPECT_EQ(block[246], 0);
    EXPECT_EQ((Block{block.begin() + 0, block.begin() + 8}),
              (Block{0x83, 0x01, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
}

TEST(ExParamSheet, ShowHidesTheSixFurtherChannelPagesAgain) {
    ExParamSheet sheet(kNames);
    for (auto& page : sheet.sheet().pages)
        page.visible = true;
    sheet.Show(GoldenBlock());
    for (size_t entry = 0; entry < P::kChannelPages; ++entry)
        EXPECT_EQ(sheet.sheet().pages[P::ChannelPage(entry)].visible, entry < 2) << entry;
    EXPECT_EQ(sheet.sheet().pages[P::ChannelPage(2)].caption, "Channel-1");
}

}  // namespace
}  // namespace torvane
