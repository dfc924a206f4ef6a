// Second-generation and extended devices on their binary port: session, parameter frames with SAVE,
// serial settings, the extended block, and the faults that concern them.
#include <gtest/gtest.h>

#include "requests.h"

using namespace simtest;

namespace {

constexpr uint8_t kTag = 0x57;

// The bytes of a frame from `from` to `to` with the scrambling undone.
Bytes Plain(const Bytes& f, size_t from, size_t to) {
    Bytes out(f.begin() + static_cast<long>(from), f.begin() + static_cast<long>(to));
    for (auto& b : out)
        b ^= 0xF3;
    return out;
}

void PutIp(Bytes& f, size_t at, vksim::Ip4 ip) {
    for (size_t i = 0; i < 4; ++i)
        f.at(at + i) = ip[i];
}

// A parameter write: marker 0, tag 0, command 5, model code; `plain` holds the payload from byte 12
// unscrambled and is scrambled here.
Bytes ParameterWrite(Bytes plain, uint8_t model) {
    plain[0] = 0x00;
    plain[7] = 0x00;
    plain[8] = 5;
    plain[9] = model;
    for (size_t i = 12; i < plain.size(); ++i)
        plain[i] ^= 0xF3;
    return Sealed(plain);
}

// Every field of the single-port frame with a value of its own (bytes 0..155, checksum not included).
Bytes SinglePortSettings(const vksim::Device& d) {
    Bytes f(156, 0);
    PutMac(f, 12, d.mac, false);
    PutText(f, 20, "Tank");
    PutText(f, 36, d.firmware);
    PutIp(f, 52, {10, 1, 2, 3});
    PutIp(f, 56, {255, 255, 0, 0});
    PutIp(f, 60, {10, 1, 0, 1});
    f[64] = 0x17, f[65] = 0x76;  // data port 6006, high byte first
    f[66] = 2;                   // work mode: client
    f[67] = 1;                   // DHCP on
    PutIp(f, 68, {10, 1, 1, 105});
    f[72] = 0x17, f[73] = 0x77;  // peer port 6007
    f[74] = 3;                   // protocol
    f[75] = 1;                   // URL switch
    f[76] = 1;                   // auto DNS
    PutIp(f, 80, {8, 8, 8, 8});
    PutIp(f, 84, {8, 8, 4, 4});
    PutText(f, 88, "time.example");
    f[124] = 0xE8, f[125] = 0x03;  // max length 1000, low byte first
    f[126] = 20;                   // max interval
    f[127] = 5;                    // keep alive
    f[128] = 0x80, f[129] = 0x04;  // 115200 / 100, low byte first
    f[132] = 7, f[133] = 2, f[134] = 2, f[135] = 1;
    PutText(f, 136, "oper");
    PutText(f, 146, "pw1");
    return f;
}

// The multi-port frame of a two-channel model (bytes 0..199).
Bytes TwoChannelSettings(const vksim::Device& d) {
    Bytes f(200, 0);
    PutMac(f, 12, d.mac, false);
    PutText(f, 20, "Line");
    PutText(f, 30, "op");
    PutText(f, 40, "pw");
    PutText(f, 52, d.firmware);
    PutIp(f, 68, {10, 2, 0, 7});
    PutIp(f, 72, {255, 255, 255, 0});
    PutIp(f, 76, {10, 2, 0, 1});
    f[80] = 0x11, f[81] = 0x22;  // option_a, option_b
    PutIp(f, 84, {1, 1, 1, 1});
    PutIp(f, 88, {1, 0, 0, 1});
    for (size_t i = 0; i < 2; ++i) {
        const size_t c = 92 + 54 * i;
        const auto k = static_cast<uint8_t>(i);
        f[c + 0] = 0x13, f[c + 1] = static_cast<uint8_t>(0x89 + k);  // port 5001 + i, high byte first
        PutIp(f, c + 2, {10, 2, 0, static_cast<uint8_t>(50 + k)});
        f[c + 6] = 0x1F, f[c + 7] = static_cast<uint8_t>(0x41 + k);  // peer port 8001 + i
        for (size_t j = 0; j < 4; ++j)
            f[c + 8 + j] = static_cast<uint8_t>(0xA0 + 4 * k + j);  // channel options
        PutText(f, c + 12, i == 0 ? "a.example" : "b.example");
        f[c + 44] = static_cast<uint8_t>(0xC0 + k), f[c + 45] = 0x00;  // 19200 / 38400... / 100
        f[c + 46] = 7, f[c + 47] = static_cast<uint8_t>(1 + k), f[c + 48] = 2, f[c + 49] = 1;
        f[c + 50] = 0x34, f[c + 51] = static_cast<uint8_t>(0x12 + k);  // channel word, low byte first
        f[c + 52] = static_cast<uint8_t>(0x77 + k);                    // channel byte
    }
    return f;
}

Bytes SerialSet(uint8_t channel, uint16_t speed, uint8_t bits, uint8_t parity) {
    Bytes f(40, 0);
    f[0] = 0xFF;
    f[8] = 9;
    f[10] = channel;
    f[18] = static_cast<uint8_t>(speed & 0xFF), f[19] = static_cast<uint8_t>(speed >> 8);
    f[20] = bits, f[21] = 0xFF, f[22] = parity, f[23] = 0xFF;
    return Sealed(f);
}

Bytes ExtendedWrite(const vksim::Device& d, const Bytes& block) {
    Bytes f(42, 0);
    f[0] = 0xFF;
    f[8] = 5;
    PutMac(f, 12, d.mac, true);
    f.insert(f.end(), block.begin(), block.end());
    return Sealed(f);
}

bool IsNoFrame(const std::vector<Bytes>& answers) {
    return answers.size() == 1 && !vksim::FrameChecksumOk(answers[0]);
}

}  // namespace

TEST(BinaryDevice, LoginAnswersWithTheTagAndOpensTheSession) {
    auto d = NewDevice("VKB200");
    d.password = "pw";
    auto other = d.mac;
    other[5] ^= 1;
    struct Row {
        const char* what;
        Bytes request;
        bool broadcast;
        int command;  // of the answer; -1: no answer
        bool open;
    } rows[] = {
        {"addressed, right password", Short(0, kTag, 17, d.mac, "pw"), false, 17, true},
        {"addressed, wrong password", Short(0, kTag, 17, d.mac, "px"), false, 18, false},
        {"by MAC, right password", Short(0, kTag, 15, d.mac, "pw"), true, 17, true},
        {"by MAC, wrong password", Short(0, kTag, 15, d.mac, ""), true, 16, false},
        {"by MAC, another device", Short(0, kTag, 15, other, "pw"), true, -1, false},
        {"marker 0xFF", Short(0xFF, kTag, 17, d.mac, "pw"), false, -1, false},
    };
    for (const auto& row : rows) {
        d.session_open = false;
        auto answers = vksim::Respond(d, Binary(row.request, row.broadcast));
        EXPECT_EQ(d.session_open, row.open) << row.what;
        if (row.command < 0) {
            EXPECT_TRUE(answers.empty()) << row.what;
            continue;
        }
        ASSERT_EQ(answers.size(), 1u) << row.what;
        const Bytes& a = answers[0];
        ASSERT_TRUE(Sealed(a, 42)) << row.what;
        EXPECT_EQ(a[7], kTag) << row.what;
        EXPECT_EQ(a[8], row.command) << row.what;
        EXPECT_EQ(a[9], 0x10) << row.what;
        EXPECT_EQ(Plain(a, 12, 18), Bytes(d.mac.begin(), d.mac.end())) << row.what;
    }

    vksim::Respond(d, Binary(Login(d, "pw")));
    EXPECT_TRUE(vksim::Respond(d, Binary(Short(0, 0, 19, other), true)).empty());
    EXPECT_TRUE(d.session_open);  // a logout naming another device
    EXPECT_TRUE(vksim::Respond(d, Binary(Logout(d))).empty());
    EXPECT_FALSE(d.session_open);

    d.faults.refuse_password = true;
    auto refused = vksim::Respond(d, Binary(Login(d, "pw")));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0][8], 18);
}

TEST(BinaryDevice, ReadOutsideASessionIsATaggedAnswerWithAnotherCommand) {
    for (const char* model : {"VKB200", "VKB304", "EXT"}) {
        auto d = NewDevice(model);
        for (uint8_t command : {11, 13}) {
            auto answers = vksim::Respond(d, Binary(Read(d, command), command == 13));
            ASSERT_EQ(answers.size(), 1u) << model;
            EXPECT_TRUE(Sealed(answers[0], 42)) << model;
            EXPECT_EQ(answers[0][7], kTag) << model;
            EXPECT_EQ(answers[0][8], command + 1) << model;
        }
    }
}

TEST(BinaryDevice, SinglePortWriteTakesEffectOnSaveAndReadsBack) {
    auto d = LoggedIn(NewDevice("VKB200"));
    const Bytes settings = SinglePortSettings(d);
    auto ack = vksim::Respond(d, Binary(ParameterWrite(settings, 0x10)));
    ASSERT_EQ(ack.size(), 1u);
    EXPECT_TRUE(Sealed(ack[0], 42));
    EXPECT_EQ(d.name, "DEV0");  // not before SAVE

    auto saved = vksim::Respond(d, Binary(Save(d)));
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_TRUE(Sealed(saved[0], 42));
    const auto& c = d.channels[0];
    EXPECT_EQ(d.name, "Tank");
    EXPECT_EQ(d.ip, (vksim::Ip4{10, 1, 2, 3}));
    EXPECT_EQ(d.netmask, (vksim::Ip4{255, 255, 0, 0}));
    EXPECT_EQ(d.gateway, (vksim::Ip4{10, 1, 0, 1}));
    EXPECT_EQ(c.local_port, 6006);
    EXPECT_EQ(d.work_mode, 2);
    EXPECT_EQ(d.dhcp, 1);
    EXPECT_EQ(c.peer_ip, (vksim::Ip4{10, 1, 1, 105}));
    EXPECT_EQ(c.peer_port, 6007);
    EXPECT_EQ(d.protocol, 3);
    EXPECT_EQ(d.url_switch, 1);
    EXPECT_EQ(d.auto_dns, 1);
    EXPECT_EQ(d.dns1, (vksim::Ip4{8, 8, 8, 8}));
    EXPECT_EQ(d.dns2, (vksim::Ip4{8, 8, 4, 4}));
    EXPECT_EQ(c.url, "time.example");
    EXPECT_EQ(d.max_length, 1000);
    EXPECT_EQ(d.max_interval, 20);
    EXPECT_EQ(d.keep_alive, 5);
    EXPECT_EQ(c.baud_rate, 115200u);
    EXPECT_EQ(c.data_bits, 7);
    EXPECT_EQ(c.parity, 2);
    EXPECT_EQ(c.stop_bits, 2);
    EXPECT_EQ(c.flow_control, 1);
    EXPECT_EQ(d.user_name, "oper");
    EXPECT_EQ(d.password, "pw1");

    auto read = vksim::Respond(d, Binary(Read(d)));
    ASSERT_EQ(read.size(), 1u);
    ASSERT_TRUE(Sealed(read[0], 158));
    EXPECT_EQ(read[0][7], kTag);
    EXPECT_EQ(read[0][8], 11);
    EXPECT_EQ(read[0][9], 0x10);
    EXPECT_EQ(Plain(read[0], 12, 156), Bytes(settings.begin() + 12, settings.end()));
}

TEST(BinaryDevice, MultiPortWriteTakesEffectOnSaveAndReadsBack) {
    auto d = LoggedIn(NewDevice("VKB302"));
    const Bytes settings = TwoChannelSettings(d);
    ASSERT_EQ(vksim::Respond(d, Binary(ParameterWrite(settings, 0x32))).size(), 1u);
    vksim::Respond(d, Binary(Save(d)));
    EXPECT_EQ(d.name, "Line");
    EXPECT_EQ(d.user_name, "op");
    EXPECT_EQ(d.password, "pw");
    EXPECT_EQ(d.ip, (vksim::Ip4{10, 2, 0, 7}));
    EXPECT_EQ(d.option_a, 0x11);
    EXPECT_EQ(d.option_b, 0x22);
    EXPECT_EQ(d.dns2, (vksim::Ip4{1, 0, 0, 1}));
    ASSERT_EQ(d.channels.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const auto& c = d.channels[i];
        const auto k = static_cast<uint8_t>(i);
        SCOPED_TRACE("channel " + std::to_string(i));
        EXPECT_EQ(c.local_port, 5001 + i);
        EXPECT_EQ(c.peer_ip, (vksim::Ip4{10, 2, 0, static_cast<uint8_t>(50 + k)}));
        EXPECT_EQ(c.peer_port, 8001 + i);
        EXPECT_EQ(c.options, (std::array<uint8_t, 4>{
                                 static_cast<uint8_t>(0xA0 + 4 * k), static_cast<uint8_t>(0xA1 + 4 * k),
                                 static_cast<uint8_t>(0xA2 + 4 * k), static_cast<uint8_t>(0xA3 + 4 * k)}));
        EXPECT_EQ(c.url, i == 0 ? "a.example" : "b.example");
        EXPECT_EQ(c.baud_rate, 100u * (0xC0 + i));
        EXPECT_EQ(c.data_bits, 7);
        EXPECT_EQ(c.parity, 1 + i);
        EXPECT_EQ(c.stop_bits, 2);
        EXPECT_EQ(c.flow_control, 1);
        EXPECT_EQ(c.word, 0x1234 + 0x100 * i);
        EXPECT_EQ(c.byte, 0x77 + i);
    }

    auto read = vksim::Respond(d, Binary(Read(d, 13), true));  // READ_BY_MAC is answered with READ
    ASSERT_EQ(read.size(), 1u);
    ASSERT_TRUE(Sealed(read[0], 202));
    EXPECT_EQ(read[0][8], 11);
    EXPECT_EQ(read[0][9], 0x32);
    EXPECT_EQ(Plain(read[0], 12, 200), Bytes(settings.begin() + 12, settings.end()));
}

TEST(BinaryDevice, WritesThatAreNotTakenLeaveTheDeviceAsItWas) {
    auto d = NewDevice("VKB200");
    const Bytes write = ParameterWrite(SinglePortSettings(d), 0x10);

    EXPECT_TRUE(IsNoFrame(vksim::Respond(d, Binary(write))));  // no session
    d = LoggedIn(d);
    Bytes bad_crc = write;
    bad_crc.back() ^= 1;
    Bytes short_frame(write.begin(), write.end() - 3);
    EXPECT_TRUE(vksim::Respond(d, Binary(bad_crc)).empty());
    EXPECT_TRUE(vksim::Respond(d, Binary(Sealed(short_frame))).empty());
    EXPECT_TRUE(vksim::Respond(d, Binary(ParameterWrite(SinglePortSettings(d), 0x31))).empty());

    // A logout drops the write that waits for SAVE.
    ASSERT_EQ(vksim::Respond(d, Binary(write)).size(), 1u);
    vksim::Respond(d, Binary(Logout(d)));
    d = LoggedIn(d);
    vksim::Respond(d, Binary(Save(d)));
    EXPECT_EQ(d.name, "DEV0");

    d.faults.refuse_writes = true;
    EXPECT_TRUE(IsNoFrame(vksim::Respond(d, Binary(write))));
    vksim::Respond(d, Binary(Save(d)));
    EXPECT_EQ(d.name, "DEV0");
}

TEST(BinaryDevice, SerialSetChangesOnlyTheItemsItMarks) {
    auto d = NewDevice("VKB304");  // no session: serial settings need none
    auto& c = d.channels[2];
    c.baud_rate = 9600, c.data_bits = 8, c.parity = 0;

    auto answer = vksim::Respond(d, Binary(SerialSet(2, 1152, 0xFF, 0xFF)));
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_TRUE(Sealed(answer[0], 42));
    EXPECT_EQ(c.baud_rate, 115200u);
    EXPECT_EQ(c.data_bits, 8);
    EXPECT_EQ(c.parity, 0);

    vksim::Respond(d, Binary(SerialSet(2, 0xFFFF, 7, 0xFF)));
    vksim::Respond(d, Binary(SerialSet(2, 0xFFFF, 0xFF, 2)));
    EXPECT_EQ(c.baud_rate, 115200u);
    EXPECT_EQ(c.data_bits, 7);
    EXPECT_EQ(c.parity, 2);
    EXPECT_EQ(d.channels[1].baud_rate, 9600u);  // the other channels keep theirs

    EXPECT_TRUE(IsNoFrame(vksim::Respond(d, Binary(SerialSet(4, 96, 0xFF, 0xFF)))));
    EXPECT_TRUE(vksim::Respond(d, Binary(SerialSet(2, 96, 0xFF, 0xFF), true)).empty());
    d.faults.refuse_writes = true;
    EXPECT_TRUE(IsNoFrame(vksim::Respond(d, Binary(SerialSet(2, 96, 0xFF, 0xFF)))));
    EXPECT_EQ(c.baud_rate, 115200u);
}

TEST(BinaryDevice, ForeignTagAnswerPrecedesEveryTaggedAnswer) {
    auto d = NewDevice("VKB200");
    d.faults.foreign_tag = true;
    auto login = vksim::Respond(d, Binary(Login(d)));
    ASSERT_EQ(login.size(), 2u);
    EXPECT_TRUE(Sealed(login[0], 42));
    EXPECT_NE(login[0][7], kTag);
    EXPECT_EQ(login[1][7], kTag);
    EXPECT_EQ(login[1][8], 17);

    auto read = vksim::Respond(d, Binary(Read(d)));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_TRUE(Sealed(read[0], 158));
    EXPECT_NE(read[0][7], kTag);
    EXPECT_EQ(read[1][7], kTag);
    EXPECT_EQ(vksim::Respond(d, Binary(Save(d))).size(), 1u);  // untagged
}

TEST(BinaryDevice, CutFaultShortensTaggedAnswersAndKeepsTheirChecksumValid) {
    auto d = NewDevice("VKB200");
    d.faults.cut = 12;
    auto login = vksim::Respond(d, Binary(Login(d)));
    ASSERT_EQ(login.size(), 1u);
    EXPECT_TRUE(Sealed(login[0], 12));
    EXPECT_EQ(login[0][8], 17);
    auto read = vksim::Respond(d, Binary(Read(d)));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_TRUE(Sealed(read[0], 12));
    EXPECT_EQ(read[0][7], kTag);
    EXPECT_EQ(read[0][8], 11);
}

TEST(ExtendedDevice, ReadAnswersTheBlockWithTheRequestsCommand) {
    auto d = LoggedIn(NewDevice("EXT"));
    for (uint8_t command : {11, 13}) {
        auto answers = vksim::Respond(d, Binary(Read(d, command), command == 13));
        ASSERT_EQ(answers.size(), 1u);
        const Bytes& a = answers[0];
        ASSERT_TRUE(Sealed(a, 482));
        EXPECT_EQ(a[7], kTag);
        EXPECT_EQ(a[8], command);
        EXPECT_EQ(Plain(a, 12, 18), Bytes(d.mac.begin(), d.mac.end()));
        // The block, plain from byte 42, agrees with what the device reports to a search.
        const size_t b = 42;
        EXPECT_EQ(Bytes(a.begin() + b + 2, a.begin() + b + 8), Bytes(d.mac.begin(), d.mac.end()));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&a[b + 44])), d.firmware);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&a[b + 84])), d.name);
        EXPECT_EQ(Bytes(a.begin() + b + 106, a.begin() + b + 110), Bytes(d.ip.begin(), d.ip.end()));
        EXPECT_EQ(a[b + 118] << 8 | a[b + 119], d.channels[0].local_port);
        EXPECT_EQ(100 * (a[b + 184] | a[b + 185] << 8), static_cast<int>(d.channels[0].baud_rate));
        EXPECT_EQ(a[b + 235], 8);  // time zone of a new device
    }
    auto other = d;
    other.mac[0] ^= 1;
    EXPECT_TRUE(vksim::Respond(d, Binary(Read(other, 13), true)).empty());
}

TEST(ExtendedDevice, WrittenBlockIsTakenOnSaveAndReadsBackByteForByte) {
    auto d = LoggedIn(NewDevice("EXT"));
    auto read = [&] {
        auto a = vksim::Respond(d, Binary(Read(d)));
        return Bytes(a.at(0).begin() + 42, a.at(0).end() - 2);
    };
    Bytes block = read();
    ASSERT_EQ(block.size(), 438u);
    std::fill(block.begin() + 84, block.begin() + 100, 0);
    PutText(block, 84, "Clock");
    block[91] = 'j';                       // after the name's NUL: kept as written
    block[184] = 0x80, block[185] = 0x04;  // channel speed 115200
    block[118] = 0x17, block[119] = 0x77;  // channel port 6007
    block[235] = 248;                      // time zone -8
    PutText(block, 246, "ntp.example");    // first time server
    block[420] = 0x5A;                     // a byte no setting names

    EXPECT_TRUE(vksim::Respond(d, Binary(ParameterWrite(Bytes(200, 0), 0x83))).empty());  // not its shape
    auto ack = vksim::Respond(d, Binary(ExtendedWrite(d, block)));
    ASSERT_EQ(ack.size(), 1u);
    EXPECT_TRUE(Sealed(ack[0], 42));
    EXPECT_EQ(d.name, "DEV0");
    vksim::Respond(d, Binary(Save(d)));
    EXPECT_EQ(d.name, "Clock");
    EXPECT_EQ(d.channels[0].baud_rate, 115200u);
    EXPECT_EQ(d.channels[0].local_port, 6007);
    EXPECT_EQ(read(), block);

    // The search answer reports the new name (payload byte 36).
    auto search = vksim::Respond(d, Binary(Short(0xFF, 0, 1, vksim::Mac{}), true));
    ASSERT_EQ(search.size(), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&search[0][42 + 36])), "Clock");

    d.faults.refuse_writes = true;
    EXPECT_TRUE(IsNoFrame(vksim::Respond(d, Binary(ExtendedWrite(d, Bytes(438, 0))))));
}
