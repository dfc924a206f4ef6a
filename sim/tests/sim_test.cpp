// The simulator's own checks: its device lists and the safety of its frame builder. Its encoders are
// checked against the library by the library's integration tests.
#include <gtest/gtest.h>

#include <sstream>

#include "device_list.h"
#include "layouts.h"
#include "wire.h"

TEST(SimWire, BitwiseCrcMatchesTheCheckValue) {
    const char* check = "123456789";
    EXPECT_EQ(vksim::Crc16Bitwise(reinterpret_cast<const uint8_t*>(check), 9), 0x31C3);
}

TEST(SimWire, FrameBuilderRefusesWritesPastTheFrame) {
    vksim::FrameBuilder f(10);
    EXPECT_THROW(f.U8(10, 1), std::out_of_range);
    EXPECT_THROW(f.Le16(9, 1), std::out_of_range);
    EXPECT_NO_THROW(f.Text(0, 8, "far too long a text"));
}

TEST(SimWire, FrameSizesFollowTheChannelCount) {
    for (const auto& m : vksim::AllModels()) {
        if (m.generation != vksim::Generation::kBinary) continue;
        auto d = vksim::MakeDevice(m, 0);
        auto f = vksim::ParameterFrame(d, 2, 0);
        EXPECT_EQ(f.size(), m.channels == 0 ? 158u : 94u + 54u * static_cast<size_t>(m.channels)) << m.name;
        EXPECT_TRUE(vksim::FrameChecksumOk(f));
    }
}

TEST(SimDeviceList, ParsesDevicesAndReportsBadLines) {
    std::istringstream in(
        "# demo\n"
        "model=VKB302 addr=127.0.0.40 name=Line2 mac=00:1a:2b:3c:4d:5e peer1=127.0.0.9 delay=5\n"
        "\n"
        "model=0x83,addr=127.0.0.41,loss=0.5\n");
    auto devices = vksim::ParseDeviceList(in, 0);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].model->code, 0x32);
    EXPECT_EQ(devices[0].ip, (vksim::Ip4{127, 0, 0, 40}));
    EXPECT_EQ(devices[0].mac, (vksim::Mac{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e}));
    EXPECT_EQ(devices[0].channels.size(), 2u);
    EXPECT_EQ(devices[0].channels[1].peer_ip, (vksim::Ip4{127, 0, 0, 9}));
    EXPECT_EQ(devices[0].faults.delay_ms, 5);
    EXPECT_EQ(devices[1].model->code, 0x83);
    EXPECT_DOUBLE_EQ(devices[1].faults.loss, 0.5);

    for (const char* bad :
         {"model=VKX999", "addr=127.0.0.1", "model=VKA100 loss=2", "model=VKA100 peer3=1.2.3.4",
          "model=VKA100 colour=red", "model=VKA100 addr=127.0.0"}) {
        std::istringstream one(bad);
        EXPECT_THROW(vksim::ParseDeviceList(one, 0), vksim::ListError) << bad;
    }
}

TEST(SimDeviceList, DeviceWordsReadBackAsTheSameSettings) {
    for (const char* model : {"VKA100", "VKB200", "VKB302"}) {
        auto d = vksim::MakeDevice(*vksim::FindModel(std::string(model)), 3);
        d.name = "Changed";
        d.password = "pw";
        d.dhcp = 1;
        d.option_b = 7;
        d.dns2 = {10, 0, 0, 53};
        d.channels.back().baud_rate = 4800;
        d.channels.back().parity = 2;
        d.channels.back().url = "host.example";
        auto words = vksim::DeviceWords(d);
        auto back = vksim::ParseDeviceWords(words, 9);  // another index: every setting comes from the words
        EXPECT_EQ(vksim::DeviceWords(back), words);
        EXPECT_EQ(back.address, d.address);
        EXPECT_EQ(back.mac, d.mac);
        EXPECT_EQ(back.name, "Changed");
        EXPECT_EQ(back.password, "pw");
        EXPECT_EQ(back.option_b, 7);
        EXPECT_EQ(back.dns2, d.dns2);
        EXPECT_EQ(back.channels.back().baud_rate, 4800u) << words;
        EXPECT_EQ(back.channels.back().parity, 2);
        EXPECT_EQ(back.channels.back().url, "host.example");
    }
}

TEST(SimDeviceList, GeneratedDevicesHaveDistinctAddressesAndMacs) {
    auto devices = vksim::GeneratedDevices(*vksim::FindModel(std::string("VKB200")), 1024, 0);
    std::set<vksim::Ip4> addresses;
    std::set<vksim::Mac> macs;
    for (const auto& d : devices) {
        EXPECT_EQ(d.address[0], 127);
        EXPECT_NE(d.address[3], 0);
        EXPECT_NE(d.address[3], 255);
        addresses.insert(d.address);
        macs.insert(d.mac);
    }
    EXPECT_EQ(addresses.size(), 1024u);
    EXPECT_EQ(macs.size(), 1024u);
}

TEST(SimDeviceList, ParsesSessionAndChannelSettingsAndTheNewFaults) {
    auto d = vksim::ParseDeviceWords(
        "model=VKB302 user=bob password= requires_login=0 work_mode=2 max_length=512 option_b=7 "
        "baud1=19200 parity1=2 databits=7 stopbits1=2 flow=1 peerport1=6001 url=x.example "
        "refuse_password=1 refuse_writes=1 ignore_text_sends=3 foreign_tag=1",
        0);
    EXPECT_EQ(d.user_name, "bob");
    EXPECT_EQ(d.password, "");
    EXPECT_FALSE(d.requires_login);
    EXPECT_EQ(d.work_mode, 2);
    EXPECT_EQ(d.max_length, 512);
    EXPECT_EQ(d.option_b, 7);
    EXPECT_EQ(d.channels[1].baud_rate, 19200u);
    EXPECT_EQ(d.channels[1].parity, 2);
    EXPECT_EQ(d.channels[1].stop_bits, 2);
    EXPECT_EQ(d.channels[1].peer_port, 6001);
    EXPECT_EQ(d.channels[0].data_bits, 7);
    EXPECT_EQ(d.channels[0].flow_control, 1);
    EXPECT_EQ(d.channels[0].url, "x.example");
    EXPECT_EQ(d.channels[0].baud_rate, 9600u);
    EXPECT_TRUE(d.faults.refuse_password);
    EXPECT_TRUE(d.faults.refuse_writes);
    EXPECT_EQ(d.faults.ignore_text_sends, 3);
    EXPECT_TRUE(d.faults.foreign_tag);

    for (const char* bad :
         {"model=VKB302 password=0123456789", "model=VKB302 databits=9", "model=VKB302 refuse_writes=2",
          "model=VKB302 baud2=9600", "model=VKB302 work_mode=256", "model=VKB302 requires_login=yes",
          "model=VKB302 url=0123456789012345678901234567890", "model=VKB302 port0=1"}) {
        EXPECT_THROW(vksim::ParseDeviceWords(bad, 0), vksim::ListError) << bad;
    }
}
