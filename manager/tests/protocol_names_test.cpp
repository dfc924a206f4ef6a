// ProtocolNames from Config.ini files in a temporary folder, and the INI reading rules under it.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/protocol_names.h"
#include "support/sandbox.h"
#include "support/unreadable_files.h"

namespace torvane {
namespace {

using Names = std::vector<std::string>;

struct ConfigCase {
    const char* name;
    std::optional<std::string> file;  // nothing: no Config.ini at all
    Names expected;
};

TEST(ProtocolNames, BuiltInsThenAllThreeUserEntriesOnlyWhenTheFileExists) {
    const ConfigCase cases[] = {
        {"absent", std::nullopt, {"UDP", "TCP", "REAL_COM"}},
        {"empty file", "", {"UDP", "TCP", "REAL_COM", "", "", ""}},
        {"only UserProtocol2",
         "[Protocol]\nUserProtocol2=value\n",
         {"UDP", "TCP", "REAL_COM", "", "value", ""}},
        {"all three, CRLF",
         "[Protocol]\r\nUserProtocol1=MODBUS\r\nUserProtocol2=DNP3\r\nUserProtocol3=IEC104\r\n",
         {"UDP", "TCP", "REAL_COM", "MODBUS", "DNP3", "IEC104"}},
        {"other section only", "[Serial]\nUserProtocol1=x\n", {"UDP", "TCP", "REAL_COM", "", "", ""}},
        {"comma and GBK bytes kept",
         "[Protocol]\nUserProtocol3=A,B \xd0\xad\xd2\xe9\n",
         {"UDP", "TCP", "REAL_COM", "", "", "A,B \xd0\xad\xd2\xe9"}},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const auto path = dir.path() / kConfigFileName;
        if (c.file) std::ofstream(path, std::ios::binary) << *c.file;
        const ConfiguredProtocolNames loaded = LoadProtocolNames(path);
        EXPECT_EQ(loaded.names, c.expected) << c.name;
        EXPECT_EQ(loaded.problem, "") << c.name;
    }
}

TEST(ProtocolNames, AConfigFileThatCannotBeReadGivesTheBuiltInsAndItsReason) {
    for (const auto& c : test::kUnreadableCases) {
        test::TempDir dir;
        const auto path = dir.path() / kConfigFileName;
        test::MakeUnreadable(c.kind, path, kConfigFileLimit);
        const ConfiguredProtocolNames loaded = LoadProtocolNames(path);
        EXPECT_EQ(loaded.names, (std::vector<std::string>{"UDP", "TCP", "REAL_COM"})) << c.name;
        EXPECT_EQ(loaded.problem,
                  "Cannot read " + path.string() + ": " + test::ExpectedReason(c, kConfigFileLimit))
            << c.name;
    }
}

struct IniCase {
    const char* name;
    const char* text;
    std::optional<std::string> expected;  // of [Protocol] UserProtocol1
};

TEST(ProtocolNames, IniValueReadsLikeTheProfileReader) {
    const IniCase cases[] = {
        {"plain", "[Protocol]\nUserProtocol1=abc", "abc"},
        {"names without case", "[protocol]\nuserprotocol1=abc\n", "abc"},
        {"blanks around", "  [ Protocol ]  \n  UserProtocol1 =  a b  \n", "a b"},
        {"double quotes", "[Protocol]\nUserProtocol1=\" padded \"\n", " padded "},
        {"single quotes", "[Protocol]\nUserProtocol1='x'\n", "x"},
        {"unbalanced quote kept", "[Protocol]\nUserProtocol1=\"x\n", "\"x"},
        {"empty value", "[Protocol]\nUserProtocol1=\n", ""},
        {"first occurrence wins", "[Protocol]\nUserProtocol1=one\nUserProtocol1=two\n", "one"},
        {"comment line", "[Protocol]\n;UserProtocol1=no\n", std::nullopt},
        {"key of another section", "[Other]\nUserProtocol1=no\n[Protocol]\n", std::nullopt},
        {"section ends at the next", "[Protocol]\n[Other]\nUserProtocol1=no\n", std::nullopt},
        {"prefix of the key", "[Protocol]\nUserProtocol10=no\n", std::nullopt},
        {"line without =", "[Protocol]\nUserProtocol1\n", std::nullopt},
        {"value with =", "[Protocol]\nUserProtocol1=a=b\n", "a=b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniValue(c.text, "Protocol", "UserProtocol1"), c.expected) << c.name;
}

}  // namespace
}  // namespace torvane
