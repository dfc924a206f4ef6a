// The address-text conversions and the subnet test, with the examples the device list, the parameter
// windows and the device session rely on.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/address_text.h"
#include "core/subnet.h"
#include "platform/net_func.h"

namespace torvane {
namespace {

TEST(AddressText, IsValidIPTakesFourGroupsOfZeroTo255AndIgnoresBlanks) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"192.168.1.1", true},
        {"1.2.3.4.5", true},    // nothing after the fourth group is examined
        {"10. 0. 0. 1", true},  // blanks are removed
        {"0.0.0.0", true},
        {"255.255.255.255", true},
        {"192.168.1", false},  // the fourth group is empty
        {"192.168.1.256", false},
        {"1.2.3", false},  // shorter than 7 characters
        {"", false},
        {"1.2.3.", false},
        {"1..2.3.4", false},
        {"a.b.c.d", false},
        {"1.2.3.-1", false},    // a negative group is no address
        {"1.2.3.0004", false},  // more digits than IPTextToBytes reads for a group
        {"1.2.3.4x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidIP(c.text), c.valid) << '"' << c.text << '"';
}

TEST(AddressText, IPTextToBytesReadsTheGroupsInWrittenOrderOrGivesZeros) {
    const struct {
        const char* text;
        Ip4Bytes bytes;
    } cases[] = {
        {"10.0.0.1", {10, 0, 0, 1}},
        {"10.0.0", {0, 0, 0, 0}},  // rejected by IsValidIP
        {"192.168. 1. 20", {192, 168, 1, 20}},
        {"1.2.3.4.5", {1, 2, 3, 4}},
        {"255.255.255.255", {255, 255, 255, 255}},
        {"010.001.000.099", {10, 1, 0, 99}},
        {"1.2.3.256", {0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IPTextToBytes(c.text), c.bytes) << '"' << c.text << '"';
}

TEST(AddressText, BytesToTextInDecimalWithoutLeadingZerosAndInArpForm) {
    EXPECT_EQ(IpBytesToText(Ip4Bytes{10, 0, 0, 1}), "10.0.0.1");
    EXPECT_EQ(IpBytesToText(Ip4Bytes{255, 255, 255, 255}), "255.255.255.255");
    EXPECT_EQ(IpBytesToText(Ip4Bytes{0, 0, 0, 0}), "0.0.0.0");
    const MacBytes mac{0x00, 0x12, 0x34, 0x56, 0x78, 0x9A};
    EXPECT_EQ(MacToText(mac), "0.18.52.86.120.154");
    EXPECT_EQ(MacToArpText(mac), "00-12-34-56-78-9A");
    EXPECT_EQ(MacToArpText(MacBytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(MacToText(MacBytes{255, 255, 255, 255, 255, 255}), "255.255.255.255.255.255");
}

TEST(AddressText, TextToMacReadsGroupsOfUpToThreeDigits) {
    const struct {
        const char* text;
        MacBytes mac;
    } cases[] = {
        {"0.18.52.86.120.154", {0x00, 0x12, 0x34, 0x56, 0x78, 0x9A}},
        {"1/2/3/4/5/6", {1, 2, 3, 4, 5, 6}},
        {"1.2", {1, 2, 0, 0, 0, 0}},  // missing groups are 0
        {"", {0, 0, 0, 0, 0, 0}},
        {"300.1.2.3.4.5", {44, 1, 2, 3, 4, 5}},  // modulo 256
        {"1234.5", {123, 4, 5, 0, 0, 0}},        // a group ends at its third digit
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToMac(c.text), c.mac) << '"' << c.text << '"';
    for (int v : {0, 1, 9, 10, 99, 100, 127, 200, 255}) {
        const auto b = static_cast<uint8_t>(v);
        const MacBytes mac{b, static_cast<uint8_t>(255 - v), b, 0, b, 7};
        EXPECT_EQ(TextToMac(MacToText(mac)), mac) << MacToText(mac);
    }
}

TEST(AddressText, ParseStrictIPTakesExactlyFourGroups) {
    const std::pair<const char*, std::optional<Ip4Bytes>> cases[] = {
        {"10.0.0.1", Ip4Bytes{10, 0, 0, 1}},
        {" 010 .0.0. 1", Ip4Bytes{10, 0, 0, 1}},  // blanks and leading zeros as IsValidIP takes them
        {"255.255.255.255", Ip4Bytes{255, 255, 255, 255}},
        {"1.2.3.4.5", std::nullopt},  // IsValidIP takes it and drops the fifth group
        {"1.2.3", std::nullopt},
        {"1.2.3.256", std::nullopt},
        {"1.2.3.0004", std::nullopt},
        {"1.2.3.-4", std::nullopt},
        {"1.2.3.4.", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(ParseStrictIP(text), bytes) << text;
}

TEST(AddressText, ParseArpMacTakesSixHexPairsJoinedByDashesOnly) {
    EXPECT_EQ(ParseArpMac("00-1a-2B-3c-4D-5e"), (MacBytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(ParseArpMac("FF-ff-00-01-a0-0A"), (MacBytes{0xFF, 0xFF, 0x00, 0x01, 0xA0, 0x0A}));
    for (const char* bad : {"00:1a:2B:3c:4D:5e", "00-1a-2B-3c-4D-5", "00-1a-2B-3c-4D-5e-",
                            "0G-1a-2B-3c-4D-5e", "00-1a-2B-3c-4D- e", "", "001a2B3c4D5e-----"}) {
        EXPECT_THROW(ParseArpMac(bad), NetFuncError) << '"' << bad << '"';
    }
}

TEST(Subnet, SameSubnetComparesUnderEachInterfacesNetmask) {
    const std::vector<LocalInterface> one{{InetAddr("10.0.0.200"), InetAddr("255.255.255.128")}};
    EXPECT_TRUE(SameSubnet("10.0.0.150", one));
    EXPECT_FALSE(SameSubnet("10.0.0.100", one));
    EXPECT_FALSE(SameSubnet("10.0.1.150", one));
    EXPECT_FALSE(SameSubnet("no address", one));
    EXPECT_FALSE(SameSubnet("10.0.0.150", {}));  // empty table: nothing is in a subnet

    const std::vector<LocalInterface> two{one[0], {InetAddr("127.0.0.1"), InetAddr("255.0.0.0")}};
    EXPECT_TRUE(SameSubnet("127.0.0.45", two));
    EXPECT_TRUE(SameSubnet("10.0.0.129", two));
}

// The core's conversion is written out; the socket library's is the reference it must agree with.
TEST(Subnet, InetAddrReadsAddressesAsTheSocketLibraryDoes) {
    const char* texts[] = {
        "10.0.0.1",   "255.255.255.255",
        "0.0.0.0",    "127.1",
        "10.0.258",   "1.16777215",
        "4294967295", "4294967296",
        "0x7f.1",     "0X7F.0.0.1",
        "010.0.0.1",  "08.0.0.1",
        "0x",         "0xg.1.1.1",
        "1.2.3.4.5",  "1.2.3.",
        ".1.2.3",     "1..2.3",
        "256.1.1.1",  "1.256.1.1",
        "1.2.65536",  "1.2.3.4 trailing",
        "1.2.3.4\tx", "1.2.3.4x",
        " 1.2.3.4",   "",
        "a.b.c.d",    "99999999999999999999",
        "1.2.3.0377", "1.2.3.0400",
        "0xffffffff", "0x100000000",
    };
    for (const char* text : texts)
        EXPECT_EQ(InetAddr(text), static_cast<uint32_t>(::inet_addr(text))) << "\"" << text << "\"";
}

}  // namespace
}  // namespace torvane
