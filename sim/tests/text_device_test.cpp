// The first-generation device on its text port: selection, session, the read and set commands, the
// serial commands and the faults that concern them.
#include <gtest/gtest.h>

#include <functional>

#include "requests.h"

using namespace simtest;
using Answers = std::vector<std::string>;

TEST(TextDevice, BroadcastsAreAnsweredOnlyByTheDeviceTheLastSelectionNamed) {
    std::vector<vksim::Device> net{NewDevice("VKA100", 0), NewDevice("VKB220", 1)};
    auto broadcast = [&](const std::string& text) {
        std::vector<Answers> out;
        for (auto& d : net)
            out.push_back(Texts(vksim::Respond(d, Text(text, true))));
        return out;
    };
    const std::string second = vksim::MacDecimalText(net[1].mac);
    EXPECT_EQ(broadcast("W" + second + "|20"), (std::vector<Answers>{{}, {"A|20"}}));
    EXPECT_EQ(broadcast("L|19"), (std::vector<Answers>{{}, {"A|19"}}));
    EXPECT_EQ(broadcast("GDT|3D"), (std::vector<Answers>{{}, {"AVKB220|3D"}}));

    // The write sequence selects with its own tag; naming the other device moves the selection.
    const std::string first = vksim::MacDecimalText(net[0].mac);
    EXPECT_EQ(broadcast("W" + first + "|1E"), (std::vector<Answers>{{"A|1E"}, {}}));
    EXPECT_FALSE(net[1].selected);
    EXPECT_EQ(broadcast("L|19"), (std::vector<Answers>{{"A|19"}, {}}));

    // A request sent to a device's own address needs no selection.
    EXPECT_EQ(Texts(vksim::Respond(net[1], Text("GDT|3D"))), Answers{"AVKB220|3D"});

    // "O" by broadcast ends every session and selection, and is never answered.
    EXPECT_EQ(broadcast("O"), (std::vector<Answers>{{}, {}}));
    for (const auto& d : net) {
        EXPECT_FALSE(d.session_open);
        EXPECT_FALSE(d.selected);
    }
    EXPECT_EQ(Texts(vksim::Respond(net[1], Text("GDT|3D"))), Answers{"N|3D"});
}

TEST(TextDevice, ParameterRequestsAreRefusedOutsideASession) {
    auto d = NewDevice("VKA100");
    d.password = "s3cret";
    const Answers refused_read{"N|22"}, refused_set{"N|1F"}, refused_version{"N"};
    EXPECT_EQ(Texts(vksim::Respond(d, Text("GIP|22"))), refused_read);
    EXPECT_EQ(Texts(vksim::Respond(d, Text("SDNx|1F"))), refused_set);
    EXPECT_EQ(Texts(vksim::Respond(d, Text("V|33"))), refused_version);
    EXPECT_EQ(d.name, "DEV0");

    EXPECT_EQ(Texts(vksim::Respond(d, Text("Lwrong|19"))), Answers{"N|19"});
    EXPECT_EQ(Texts(vksim::Respond(d, Text("L|19"))), Answers{"N|19"});
    EXPECT_EQ(Texts(vksim::Respond(d, Text("GIP|22"))), refused_read);

    EXPECT_EQ(Texts(vksim::Respond(d, Text("Ls3cret|19"))), Answers{"A|19"});
    EXPECT_EQ(Texts(vksim::Respond(d, Text("GIP|22"))), Answers{"A127.0.0.10|22"});
    EXPECT_EQ(Texts(vksim::Respond(d, Text("O"))), Answers{});
    EXPECT_EQ(Texts(vksim::Respond(d, Text("GIP|22"))), refused_read);

    d.requires_login = false;
    EXPECT_EQ(Texts(vksim::Respond(d, Text("GIP|22"))), Answers{"A127.0.0.10|22"});
}

TEST(TextDevice, ReadRequestsAnswerTheValueEncodingsOfTheTable) {
    auto d = LoggedIn(NewDevice("VKB220"));
    auto& line = d.channels[0];
    d.mac = {0, 26, 43, 60, 77, 94};
    line.baud_rate = 19200;
    line.data_bits = 7;
    line.parity = 2;
    line.flow_control = 1;
    line.url = "host.example";
    d.dns1 = {0, 0, 0, 0};
    d.dns2 = {10, 0, 0, 53};
    d.keep_alive = 200;
    d.max_length = 1024;
    d.network_mode = 1;
    d.firmware = "1.2";
    const std::pair<const char*, const char*> rows[] = {
        {"GFE|21", "A0.26.43.60.77.94|21"},
        {"GBR|29", "A4|29"},  // speed as its code digit
        {"GBB|2B", "A0|2B"},  // 7 data bits
        {"GPR|2A", "A2|2A"},
        {"GFC|31", "A1|31"},
        {"GKL|32", "A200|32"},
        {"GML|2C", "A1024|2C"},
        {"GLI|35", "A0|35"},  // a DNS server that is not set
        {"GLi|36", "A10.0.0.53|36"},
        {"GDW|38", "Ahost.example|38"},
        {"GNB|3C", "A1|3C"},
        {"V|33", "A1.2"},  // the version answer carries no tag
        {"T|3B", "A|3B"},
        {"GDT|3D", "AVKB220|3D"},
        {"GPW|3A", "A|3A"},
    };
    for (const auto& [request, answer] : rows)
        EXPECT_EQ(Texts(vksim::Respond(d, Text(request))), Answers{answer}) << request;

    line.baud_rate = 300;  // a speed without a code reads as the code of 9600
    EXPECT_EQ(Texts(vksim::Respond(d, Text("GBR|29"))), Answers{"A3|29"});
    // A verb with another verb's tag, or a tag in lower case, is no request the device knows.
    EXPECT_TRUE(vksim::Respond(d, Text("GIP|23")).empty());
    EXPECT_TRUE(vksim::Respond(d, Text("GML|2c")).empty());
}

TEST(TextDevice, SetRequestsChangeTheSettingTheyNameOrRefuseTheValue) {
    auto d = LoggedIn(NewDevice("VKA100"));
    const auto& line = d.channels[0];
    const std::pair<const char*, std::function<bool()>> accepted[] = {
        {"SBR7|28", [&] { return line.baud_rate == 115200; }},
        {"SBB0|2A", [&] { return line.data_bits == 7; }},
        {"SPR1|29", [&] { return line.parity == 1; }},
        {"SPN65535|22", [&] { return line.local_port == 65535; }},
        {"SDI10.1.1.105|24",
         [&] {
             return line.peer_ip == vksim::Ip4{10, 1, 1, 105};
         }},
        {"SLI0|35",
         [&] {
             return d.dns1 == vksim::Ip4{0, 0, 0, 0};
         }},
        {"SLi8.8.4.4|36",
         [&] {
             return d.dns2 == vksim::Ip4{8, 8, 4, 4};
         }},
        {"SDWabcdefghijabcdefghijabcdefghij|38", [&] { return line.url.size() == 30; }},
        {"SMD255|2C", [&] { return d.max_interval == 255; }},
        {"SNB1|3B", [&] { return d.network_mode == 1; }},
        {"SDNPump|1F", [&] { return d.name == "Pump"; }},
        {"SPW|3A", [&] { return d.password.empty(); }},
    };
    for (const auto& [request, applied] : accepted) {
        const std::string text = request;
        EXPECT_EQ(Texts(vksim::Respond(d, Text(text))), Answers{"A|" + text.substr(text.size() - 2)}) << text;
        EXPECT_TRUE(applied()) << text;
    }

    const char* refused[] = {"SBR8|28",   "SBB2|2A",  "SPN65536|22",      "SIP10.1.1|21",
                             "SMD256|2C", "SPN-1|22", "SDN0123456789|1F", "SKL|30"};
    const auto before = d;
    for (const std::string text : refused)
        EXPECT_EQ(Texts(vksim::Respond(d, Text(text))), Answers{"E|" + text.substr(text.size() - 2)}) << text;
    EXPECT_EQ(d.name, before.name);
    EXPECT_EQ(d.channels[0].baud_rate, before.channels[0].baud_rate);
    EXPECT_EQ(d.ip, before.ip);
}

TEST(TextDevice, SerialCommandsChangeTheLineOfTheAddressedDeviceOnly) {
    auto d = NewDevice("VKA100");  // no session: serial commands need none
    const auto& line = d.channels[0];
    const std::pair<const char*, std::function<bool()>> rows[] = {
        {"PBR0", [&] { return line.baud_rate == 1200; }}, {"PBR7", [&] { return line.baud_rate == 115200; }},
        {"PPR1", [&] { return line.parity == 2; }},       {"PPR2", [&] { return line.parity == 1; }},
        {"PPR4", [&] { return line.parity == 4; }},       {"PPR0", [&] { return line.parity == 0; }},
        {"PBB0", [&] { return line.data_bits == 7; }},    {"PBB5", [&] { return line.data_bits == 8; }},
    };
    for (const auto& [request, applied] : rows) {
        EXPECT_EQ(Texts(vksim::Respond(d, Text(request))), Answers{"A"}) << request;
        EXPECT_TRUE(applied()) << request;
    }
    EXPECT_EQ(Texts(vksim::Respond(d, Text("PBR8"))), Answers{"E"});
    EXPECT_EQ(Texts(vksim::Respond(d, Text("PPR5"))), Answers{"E"});
    EXPECT_TRUE(vksim::Respond(d, Text("PBR3", true)).empty());
    EXPECT_EQ(line.baud_rate, 115200u);

    d.faults.refuse_writes = true;
    EXPECT_EQ(Texts(vksim::Respond(d, Text("PBR3"))), Answers{"P"});
    EXPECT_EQ(line.baud_rate, 115200u);
}

TEST(TextDevice, RefusalFaults) {
    auto d = NewDevice("VKA100");
    d.faults.refuse_password = true;
    EXPECT_EQ(Texts(vksim::Respond(d, Text("L|19"))), Answers{"N|19"});
    EXPECT_FALSE(d.session_open);

    d.faults = {};
    d.faults.refuse_writes = true;
    vksim::Respond(d, Text("L|19"));
    const std::string w = "W" + vksim::MacDecimalText(d.mac) + "|1E";
    EXPECT_EQ(Texts(vksim::Respond(d, Text(w, true))), Answers{"A|1E"});  // selecting is no write
    EXPECT_EQ(Texts(vksim::Respond(d, Text("SDNPump|1F", true))), Answers{"P|1F"});
    EXPECT_EQ(Texts(vksim::Respond(d, Text("GDN|2F", true))), Answers{"ADEV0|2F"});
}

TEST(TextDevice, IgnoredSendsAreCountedPerRequestText) {
    auto d = LoggedIn(NewDevice("VKA100"));
    d.faults.ignore_text_sends = 2;
    EXPECT_TRUE(vksim::Respond(d, Text("SDNa|1F")).empty());
    EXPECT_TRUE(vksim::Respond(d, Text("SDNa|1F")).empty());
    EXPECT_EQ(d.name, "DEV0");                                // an ignored send changes nothing
    EXPECT_TRUE(vksim::Respond(d, Text("SDNb|1F")).empty());  // another text counts on its own
    EXPECT_EQ(Texts(vksim::Respond(d, Text("SDNa|1F"))), Answers{"A|1F"});
    EXPECT_EQ(d.name, "a");
    EXPECT_EQ(Texts(vksim::Respond(d, Text("SDNa|1F"))), Answers{"A|1F"});
    // The login and the selection are sent once by their caller and are always answered.
    EXPECT_EQ(Texts(vksim::Respond(d, Text("L|19"))), Answers{"A|19"});
    const std::string w = "W" + vksim::MacDecimalText(d.mac) + "|20";
    EXPECT_EQ(Texts(vksim::Respond(d, Text(w, true))), Answers{"A|20"});
}

TEST(TextDevice, ForeignTagAnswersPrecedeEveryTaggedAnswer) {
    auto d = NewDevice("VKA100");
    d.faults.foreign_tag = true;
    d.firmware = "V9";
    EXPECT_EQ(Texts(vksim::Respond(d, Text("L|19"))), (Answers{"A|18", "A|19"}));
    EXPECT_EQ(Texts(vksim::Respond(d, Text("GDN|2F"))), (Answers{"A|2E", "ADEV0|2F"}));
    EXPECT_EQ(Texts(vksim::Respond(d, Text("SDNx|1F"))), (Answers{"A|1E", "A|1F"}));
    EXPECT_EQ(Texts(vksim::Respond(d, Text("V|33"))), Answers{"AV9"});  // untagged: nothing before it
}
