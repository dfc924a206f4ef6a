// One whole search pass as the manager runs it: the real library over real UDP against the simulated
// demo network, the shared device table published by the simulator's publisher and read through POSIX
// shared memory, the workstation's real interface table.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "core/local_search.h"
#include "device_list.h"
#include "network.h"
#include "platform/net_func.h"
#include "platform/shared_table_posix.h"
#include "shared_table.h"

namespace torvane {
namespace {

const vksim::Device& OfModel(const std::vector<vksim::Device>& devices, uint8_t code) {
    for (const auto& d : devices) {
        if (d.model->code == code) return d;
    }
    throw std::runtime_error("no such model in the demo network");
}

TEST(LocalSearchIntegration, OnePassListsTheVkb220TheTableAndTheExtendedDevice) {
    const auto devices = vksim::DemoNetwork();  // one device of every model on 127.0.0.10 onwards
    const vksim::Device& vkb220 = OfModel(devices, 0x20);
    const vksim::Device& ext = OfModel(devices, 0x83);
    vksim::Network network(devices);

    const std::string tag = "/torvane-search-test-" + std::to_string(::getpid());
    const SharedTableNames names{tag + " table", tag + " mutex"};
    vksim::SharedTablePublisher publisher({names.memory, names.mutex});
    vksim::TableEntry renamed = vksim::EntryOf(vkb220);
    renamed.name = "renamed";
    publisher.Publish({renamed,
                       vksim::ParseTableEntry("name=remote mac=00:03:00:00:00:01 ip=10.1.2.3 port=4100"),
                       vksim::ParseTableEntry("name=gone mac=00:04:00:00:00:01 ip=127.0.0.99 inuse=0")});

    DeviceList list;
    VkcfgLibrary library;
    PosixSharedTable table(names);
    LocalSearch search(list, library, table);
    search.SetLocalInterfaces(GetLocalInterfaces());  // loopback at least: 127.0.0.0/8
    ASSERT_TRUE(search.SameSubnet("127.0.0.1"));
    search.LocalSearchPass();
    list.SetSortColumn(1);  // as the local search command ends
    list.Sort();

    // Text order of the MAC texts: 0.26.43.0.0.1 < 0.26.43.0.0.12 < 0.3.0.0.0.1, although 0x03 < 0x1A.
    ASSERT_EQ(list.RowCount(), 3u);
    const DeviceRow& a = list.Row(0);
    EXPECT_EQ(a.caption, "Online");
    EXPECT_EQ(a.sub, (std::array<std::string, 5>{vksim::MacDecimalText(vkb220.mac), vksim::IpText(vkb220.ip),
                                                 "renamed", vkb220.firmware, "Local"}));
    EXPECT_EQ(a.image, kImageInSubnet);
    VkSearchRecord r;
    std::memcpy(&r, a.param->DeviceRecord.data(), sizeof r);
    EXPECT_EQ(r.model_code, 0x20);
    EXPECT_EQ(std::string(r.device_name), vkb220.name) << "the record is the search's, not the table's";
    EXPECT_EQ(0, std::memcmp(r.mac, vkb220.mac.data(), 6));

    const DeviceRow& e = list.Row(1);
    EXPECT_EQ(e.sub, (std::array<std::string, 5>{vksim::MacDecimalText(ext.mac), vksim::IpText(ext.ip),
                                                 ext.name, ext.firmware, "Local"}));
    EXPECT_EQ(e.image, kImageInSubnet);
    EXPECT_EQ(e.param->model_code(), 0x83);
    EXPECT_EQ(0, std::memcmp(e.param->DeviceRecord.data() + VK_SRX_MAC, ext.mac.data(), 6));
    EXPECT_EQ(e.param->DeviceRecord[VK_SEARCH_RECORD_EX_SIZE], 0);

    const DeviceRow& t = list.Row(2);
    EXPECT_EQ(t.sub, (std::array<std::string, 5>{"0.3.0.0.0.1", "10.1.2.3", "remote", "", "Local"}));
    EXPECT_EQ(t.image, kImageOutOfSubnet);
    std::memcpy(&r, t.param->DeviceRecord.data(), sizeof r);
    EXPECT_EQ(r.model_code, 0);
    EXPECT_EQ(r.local_port, 4100);
    EXPECT_EQ(std::string(r.ip), "10.1.2.3");
}

}  // namespace
}  // namespace torvane
