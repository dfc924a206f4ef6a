// The device-text codec: device bytes are GBK both ways, characters GBK cannot hold are refused before
// anything is converted, and bytes that are no GBK character still decode to something printable.
#include <gtest/gtest.h>

#include <string>

#include "core/credentials.h"
#include "core/text/device_text.h"
#include "core/text/gbk_table.h"

namespace torvane {
namespace {

TEST(DeviceText, ConvertsBetweenUtf8AndGbkBytesBothWays) {
    const std::pair<std::string, std::string> cases[] = {
        {"Pump 7", "Pump 7"},
        {"", ""},
        {"B\xc3\xbcro-2", "B\xa8\xb9ro-2"},                // "Büro-2": the pinyin u with diaeresis
        {"\xe6\xb3\xb5\xe7\xab\x99", "\xb1\xc3\xd5\xbe"},  // two Chinese characters
        {"\xe2\x82\xac"
         "5",
         "\x80"
         "5"},                         // the euro sign, GBK's one-byte character
        {"\xe4\xb8\x82", "\x81\x40"},  // the first two-byte character
    };
    for (const auto& [utf8, gbk] : cases) {
        const DeviceTextEncoding encoded = Utf8ToDeviceText(utf8);
        EXPECT_TRUE(encoded.ok) << utf8 << ": " << encoded.refusal;
        EXPECT_EQ(encoded.bytes, gbk) << utf8;
        EXPECT_EQ(DeviceTextToUtf8(gbk), utf8) << utf8;
    }
    // What a name written as UTF-8 bytes looked like to a GBK reader: the fault the codec removes.
    EXPECT_EQ(DeviceTextToUtf8("Pumpe-\xc3\x9c"), "Pumpe-\xe8\x84\xba");  // "Pumpe-脺"
}

TEST(DeviceText, EveryTwoByteCharacterOfTheTableComesBackAsItsBytes) {
    size_t characters = 0;
    for (size_t lead = 0; lead < gbk::kLeadCount; ++lead) {
        for (size_t trail = 0; trail < gbk::kTrailCount; ++trail) {
            if (gbk::kTwoByteTable[lead * gbk::kTrailCount + trail] == 0) continue;
            ++characters;
            const std::string bytes{static_cast<char>(lead + gbk::kFirstLead),
                                    static_cast<char>(trail + gbk::kFirstTrail)};
            const DeviceTextEncoding back = Utf8ToDeviceText(DeviceTextToUtf8(bytes));
            ASSERT_TRUE(back.ok) << lead << " " << trail;
            ASSERT_EQ(back.bytes, bytes);
        }
    }
    EXPECT_EQ(characters, 21791u);  // every two-byte character of code page 936
}

TEST(DeviceText, RefusesWhatTheDeviceCannotHoldAndNamesIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"Pumpe-\xc3\x9c", "\"\xc3\x9c\" (U+00DC) is not a character of the device's code page (GBK)"},
        {"\xf0\x9f\x98\x80", "(U+1F600)"},  // an emoji
        {"a\xc2\x9b"
         "b",
         "(U+009B)"},                              // a C1 control character
        {"ab\xff", "is not UTF-8 text (byte 3)"},  // no UTF-8 at all
        {"\xe6\xb3", "is not UTF-8"},              // a cut sequence
        {"\xc0\xaf", "is not UTF-8"},              // an overlong "/"
        {"\xed\xa0\x80", "is not UTF-8"},          // a surrogate
    };
    for (const auto& [text, says] : cases) {
        const DeviceTextEncoding encoded = Utf8ToDeviceText(text);
        EXPECT_FALSE(encoded.ok) << text;
        EXPECT_TRUE(encoded.bytes.empty()) << text;
        EXPECT_NE(encoded.refusal.find(says), std::string::npos) << encoded.refusal;
    }
}

TEST(DeviceText, BytesThatStartNoCharacterDecodeToTheReplacementCharacter) {
    const std::string kReplacement = "\xef\xbf\xbd";
    const std::pair<std::string, std::string> cases[] = {
        {"\xff", kReplacement},
        {"ab\x81", "ab" + kReplacement},      // a lead byte at the end
        {"\x81\x7f", kReplacement + "\x7f"},  // 0x7F is no trail byte
        {"A\xa2\xe3"
         "B",
         "A" + kReplacement + "\xe9\x89\x88"},             // no character at A2E3; E3 42 is one
        {std::string("x\0y", 3), std::string("x\0y", 3)},  // a NUL is a character like any other
    };
    for (const auto& [bytes, utf8] : cases)
        EXPECT_EQ(DeviceTextToUtf8(bytes), utf8);
}

TEST(Credentials, AtMostNineDeviceBytesAndNoBar) {
    struct Case {
        std::string typed;
        bool ok;
        std::string bytes_or_problem;
    };
    const Case cases[] = {
        {"", true, ""},
        {"admin", true, "admin"},
        {"NineChars", true, "NineChars"},
        {"B\xc3\xbcro", true, "B\xa8\xb9ro"},
        {"TenLetters", false, kCredentialRule},
        {"a|b", false, kCredentialRule},
        {"\xe6\xb3\xb5\xe6\xb3\xb5\xe6\xb3\xb5\xe6\xb3\xb5\xe6\xb3\xb5", false, kCredentialRule},  // 10 bytes
        {"\xc3\x9c", false, "(U+00DC)"},
    };
    for (const auto& c : cases) {
        const CredentialText checked = CheckCredential(c.typed);
        EXPECT_EQ(checked.ok, c.ok) << c.typed;
        if (c.ok) {
            EXPECT_EQ(checked.bytes, c.bytes_or_problem);
        } else {
            EXPECT_NE(checked.problem.find(c.bytes_or_problem), std::string::npos) << checked.problem;
        }
    }
}

}  // namespace
}  // namespace torvane
