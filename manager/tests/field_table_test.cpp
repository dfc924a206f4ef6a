// The field tables against the record layouts of vkcfg.h and the extended block: values land in the
// right bytes in the right order, bad values are refused before anything is stored, and the difference
// names exactly the changed fields.
#include <gtest/gtest.h>

#include <cstring>

#include "core/field_text.h"
#include "core/params/field_table.h"
#include "core/protocol_names.h"
#include "vkcfg.h"

namespace torvane::params {
namespace {

std::optional<FieldTable> Table(uint8_t model) {
    return FieldsFor(model, ProtocolNames(std::nullopt));
}

VkParamRecord RecordOf(const Block& block) {
    VkParamRecord r;
    std::memcpy(&r, block.data(), sizeof r);
    return r;
}

Block ApplyWords(const FieldTable& table, Block block, const std::vector<std::string>& words) {
    Apply(ParseAssignments(table, words), block);
    return block;
}

// Why the word is refused, or "" when it is accepted.
std::string Refusal(uint8_t model, const std::string& word) {
    const auto table = Table(model);
    try {
        ParseAssignments(*table, {word});
    } catch (const AssignmentError& e) {
        return e.what();
    }
    return "";
}

TEST(FieldTable, SinglePortValuesLandInTheRecordMembers) {
    const auto table = Table(VK_MODEL_VKB200);
    ASSERT_TRUE(table);
    Block block(BlockSize(table->layout()), 0);
    std::memcpy(block.data() + offsetof(VkParamSinglePort, device_name), "LONGNAME9", 9);
    block = ApplyWords(*table, block,
                       {"device_name=Pump", "ip= 010.000.1.7", "local_port=10001", "baud_rate=57600",
                        "parity=EVEN", "protocol=real_com", "work_mode=3", "stop_bits=2", "url=http://x"});
    const VkParamSinglePort r = RecordOf(block).single;
    EXPECT_EQ(FieldText(r.device_name), "Pump");
    EXPECT_EQ(r.device_name[4], 0);  // the old, longer name leaves nothing behind
    EXPECT_EQ(r.device_name[8], 0);
    EXPECT_EQ(FieldText(r.ip), "10.0.1.7");  // the manager's rule, written as a plain dotted quad
    EXPECT_EQ(r.local_port, 10001);
    EXPECT_EQ(r.baud_rate, 57600u);
    EXPECT_EQ(r.parity, 1);
    EXPECT_EQ(r.protocol, 2);
    EXPECT_EQ(r.work_mode, 3);
    EXPECT_EQ(r.stop_bits, 2);
    EXPECT_EQ(FieldText(r.url), "http://x");
}

TEST(FieldTable, MultiPortChannelsFollowTheModelsChannelCount) {
    const auto two = Table(VK_MODEL_VKB302);
    ASSERT_TRUE(two);
    Block block(BlockSize(two->layout()), 0);
    block = ApplyWords(*two, block,
                       {"channels[1].baud_rate=115200", "channels[1].peer_ip=10.9.8.7",
                        "channels[0].local_port=4100", "dns2=1.1.1.1"});
    const VkParamMultiPort m = RecordOf(block).multi;
    EXPECT_EQ(m.channels[1].baud_rate, 115200u);
    EXPECT_EQ(FieldText(m.channels[1].peer_ip), "10.9.8.7");
    EXPECT_EQ(m.channels[0].local_port, 4100);
    EXPECT_EQ(FieldText(m.dns2), "1.1.1.1");
    EXPECT_NE(Refusal(VK_MODEL_VKB302, "channels[2].baud_rate=9600"), "");
    EXPECT_EQ(Refusal(VK_MODEL_VKB308, "channels[7].baud_rate=9600"), "");
    EXPECT_FALSE(Table(0x35));  // no such model: no layout to guess
    EXPECT_FALSE(Table(0x00));
}

TEST(FieldTable, EveryChannelHasItsOwnSerialFields) {
    const auto table = Table(VK_MODEL_VKB304);
    Block block(BlockSize(table->layout()), 0);
    block = ApplyWords(*table, block,
                       {"channels[2].parity=odd", "channels[2].stop_bits=2", "channels[2].data_bits=7",
                        "channels[2].flow_control=cts_rts", "channels[3].parity=5"});
    const VkParamMultiPort m = RecordOf(block).multi;
    // The serial bytes of a channel: data bits, parity, stop bits, flow control.
    EXPECT_EQ(std::vector<uint8_t>(m.channels[2].channel_serial, m.channels[2].channel_serial + 4),
              (std::vector<uint8_t>{7, 2, 2, 1}));
    EXPECT_EQ(m.channels[3].channel_serial[1], 5);
    for (int other : {0, 1})
        EXPECT_EQ(
            std::vector<uint8_t>(m.channels[other].channel_serial, m.channels[other].channel_serial + 4),
            (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_NE(Refusal(VK_MODEL_VKB304, "channels[1].stop_bits=3").find("out of range"), std::string::npos);
}

TEST(FieldTable, TextsBecomeGbkBytesAndWhatGbkCannotHoldIsRefused) {
    const auto table = Table(VK_MODEL_VKB200);
    Block block(BlockSize(table->layout()), 0);
    block = ApplyWords(*table, block, {"device_name=B\xc3\xbcro-2", "user_name=\xe6\xb3\xb5\xe7\xab\x99"});
    const VkParamSinglePort r = RecordOf(block).single;
    EXPECT_EQ(FieldText(r.device_name), "B\xa8\xb9ro-2");
    EXPECT_EQ(FieldText(r.user_name), "\xb1\xc3\xd5\xbe");
    const std::pair<std::string, std::string> refused[] = {
        {"device_name=Pumpe-\xc3\x9c", "(U+00DC)"},
        {"device_name=\xe6\xb3\xb5\xe6\xb3\xb5\xe6\xb3\xb5\xe6\xb3\xb5\xe6\xb3\xb5", "takes 10 bytes"},
        {"device_name=\xe4\xba\x85", "\"|\""},  // its GBK bytes are 81 7C: "|" second
        {"url=\xff", "not UTF-8"},
    };
    for (const auto& [word, says] : refused)
        EXPECT_NE(Refusal(VK_MODEL_VKB200, word).find(says), std::string::npos) << word;
}

TEST(FieldTable, ProtocolValuesAreNamedByTheProtocolNames) {
    EXPECT_EQ(Refusal(VK_MODEL_VKB200, "protocol=tcp"), "");
    EXPECT_EQ(Refusal(VK_MODEL_VKB200, "protocol=3"), "");
    EXPECT_NE(Refusal(VK_MODEL_VKB200, "protocol=km"), "");  // no such name
    EXPECT_NE(Refusal(VK_MODEL_VKB200, "protocol="), "");    // the empty user entries name nothing
    const auto own =
        FieldsFor(VK_MODEL_EXTENDED, ProtocolNames(std::array<std::string, 3>{"", "Modbus", ""}));
    Block block(BlockSize(own->layout()), 0);
    block = ApplyWords(*own, block, {"protocol=modbus"});
    EXPECT_EQ(GetValue(*own->Find("protocol"), block), FieldValue(int64_t{4}));
}

TEST(FieldTable, ExtendedBlockFieldsAndByteOrder) {
    const auto table = Table(VK_MODEL_EXTENDED);
    ASSERT_TRUE(table);
    Block block(BlockSize(table->layout()));
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 7 + 3);
    const Block original = block;
    block = ApplyWords(*table, block,
                       {"local_port=6006", "max_length=1000", "baud_rate=115200", "time_zone=-8",
                        "ip=10.1.2.3", "time_server5=ntp.example", "device_name=Clock"});
    EXPECT_EQ(block[118], 0x17);  // port high byte first
    EXPECT_EQ(block[119], 0x76);
    EXPECT_EQ(block[180], 0xE8);  // other numbers low byte first
    EXPECT_EQ(block[181], 0x03);
    EXPECT_EQ(block[184], 1152 & 0xFF);  // bit/s divided by 100
    EXPECT_EQ(block[185], 1152 >> 8);
    EXPECT_EQ(block[235], 248);
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 106, block.begin() + 110),
              (std::vector<uint8_t>{10, 1, 2, 3}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[374])), "ntp.example");
    EXPECT_EQ(block[374 + 31], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[84])), "Clock");

    // Every byte outside the assigned fields is carried unchanged.
    const std::vector<std::pair<size_t, size_t>> touched{{118, 2}, {180, 2},  {184, 2}, {235, 1},
                                                         {106, 4}, {374, 32}, {84, 16}};
    for (size_t i = 0; i < block.size(); ++i) {
        bool inside = false;
        for (const auto& [at, n] : touched)
            inside = inside || (i >= at && i < at + n);
        if (!inside) {
            ASSERT_EQ(block[i], original[i]) << "byte " << i;
        }
    }

    // And read back the way they were stored.
    const auto value = [&](const char* name) { return GetValue(*table->Find(name), block); };
    EXPECT_EQ(value("local_port"), FieldValue(int64_t{6006}));
    EXPECT_EQ(value("baud_rate"), FieldValue(int64_t{115200}));
    EXPECT_EQ(value("time_zone"), FieldValue(int64_t{-8}));
    EXPECT_EQ(value("ip"), FieldValue(std::string("10.1.2.3")));
}

TEST(FieldTable, BadValuesAreRefusedWithTheFieldNamed) {
    struct Case {
        uint8_t model;
        const char* word;
        const char* says;
    };
    const Case cases[] = {
        {VK_MODEL_VKB200, "colour=red", "no field \"colour\""},
        {VK_MODEL_VKB200, "device_name", "field=value expected"},
        {VK_MODEL_VKB200, "=5", "field=value expected"},
        {VK_MODEL_VKB200, "local_port=65536", "out of range"},
        {VK_MODEL_VKB200, "local_port=-1", "not a number"},
        {VK_MODEL_VKB200, "local_port=12a", "not a number"},
        {VK_MODEL_VKB200, "local_port=", "not a number"},
        {VK_MODEL_VKB200, "data_bits=9", "out of range"},
        {VK_MODEL_VKB200, "max_length=1537", "out of range"},
        {VK_MODEL_VKB200, "parity=sideways", "not a number"},
        {VK_MODEL_VKB200, "ip=10.1.1", "not an IPv4 address"},
        {VK_MODEL_VKB200, "ip=10.1.1.1.5", "not an IPv4 address"},  // a fifth group is not ignored
        {VK_MODEL_VKB200, "gateway=256.1.1.1", "not an IPv4 address"},
        {VK_MODEL_VKB200, "dns1=1.2.3.x", "not an IPv4 address"},
        {VK_MODEL_VKB200, "device_name=a|b", "\"|\""},
        {VK_MODEL_VKB200, "password=x|", "\"|\""},
        {VK_MODEL_VKB200, "device_name=TenLetters", "longer than 9"},
        {VK_MODEL_VKB200, "device_name=tab\there", "control character"},
        {VK_MODEL_VKB200, "mac=0.1.2.3.4.5", "read-only"},
        {VK_MODEL_VKB200, "firmware_version=9", "read-only"},
        {VK_MODEL_VKB200, "network_mode=1", "no field"},  // the second generation has none
        {VK_MODEL_VKB200, "baud_rate=9650", "not a speed"},
        {VK_MODEL_VKB200, "baud_rate=6553500", "not a speed"},
        {VK_MODEL_VKA100, "baud_rate=300", "not a speed"},  // would silently become 9600
        {VK_MODEL_VKA100, "stop_bits=2", "read-only: the first generation always uses one stop bit"},
        {VK_MODEL_VKB304, "option_a=1", "read-only"},
        {VK_MODEL_VKB304, "channels[0].channel_word=1", "read-only"},
        {VK_MODEL_EXTENDED, "time_zone=15", "out of range"},
        {VK_MODEL_EXTENDED, "time_server1=abc|d", "\"|\""},
        {VK_MODEL_EXTENDED, "url=0123456789012345678901234567890", "longer than 30"},
    };
    for (const auto& c : cases) {
        const std::string said = Refusal(c.model, c.word);
        EXPECT_NE(said.find(c.says), std::string::npos) << c.word << " gave: " << said;
        const std::string word = c.word;
        const size_t eq = word.find('=');
        if (eq != std::string::npos && eq > 0) {
            EXPECT_NE(said.find(word.substr(0, eq)), std::string::npos) << said;
        }
    }
    EXPECT_NE(Refusal(VK_MODEL_EXTENDED, "time_server1=" + std::string(32, 's')).find("longer than 31"),
              std::string::npos);
}

TEST(FieldTable, ValuesAtTheLimitsAreTaken) {
    const std::pair<uint8_t, std::string> accepted[] = {
        {VK_MODEL_VKB200, "local_port=0"},
        {VK_MODEL_VKB200, "local_port=65535"},
        {VK_MODEL_VKB200, "device_name=NineChars"},
        {VK_MODEL_VKB200, "url=" + std::string(30, 'u')},
        {VK_MODEL_VKB200, "ip=255.255.255.255"},
        {VK_MODEL_VKB200, "baud_rate=6553400"},
        {VK_MODEL_VKB200, "flow_control=CTS_RTS"},
        {VK_MODEL_VKA100, "baud_rate=1200"},
        {VK_MODEL_VKA100, "network_mode=busy"},
        {VK_MODEL_EXTENDED, "time_zone=-12"},
        {VK_MODEL_EXTENDED, "time_server3=" + std::string(31, 't')},
    };
    for (const auto& [model, word] : accepted)
        EXPECT_EQ(Refusal(model, word), "") << word;
}

TEST(FieldTable, TheSameFieldTwiceIsRefused) {
    const auto table = Table(VK_MODEL_VKB200);
    EXPECT_THROW(ParseAssignments(*table, {"dhcp=1", "dhcp=0"}), AssignmentError);
}

TEST(FieldTable, DiffNamesOnlyTheChangedFieldsAndHidesPasswords) {
    const auto table = Table(VK_MODEL_VKA100);
    const Block before(BlockSize(table->layout()), 0);
    // An assignment of the value already held is no change.
    const Block after =
        ApplyWords(*table, before, {"device_name=Mixer", "dhcp=0", "password=s3cret", "max_interval=40"});
    const auto changes = Diff(*table, before, after);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].field->name, "password");
    EXPECT_EQ(changes[1].field->name, "device_name");
    EXPECT_EQ(changes[2].field->name, "max_interval");
    EXPECT_TRUE(changes[0].field->secret);
}

}  // namespace
}  // namespace torvane::params
