// One search pass against a scripted library and table: which records become rows, how existing rows
// change, the images by subnet, and what a failing search leaves alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/local_search.h"
#include "support/scripted_library.h"

namespace torvane {
namespace {

using test::ExtendedSlot;
using test::StandardRecord;
using Texts = std::array<std::string, kSubTextCount>;

MacBytes Mac(uint8_t last) {
    return {0x00, 0x1A, 0x2B, 0x3C, 0x4D, last};
}

class ScriptedTable : public SharedDeviceTable {
  public:
    SharedTableSnapshot snapshot;
    int reads = 0;
    SharedTableSnapshot Read() override { return ++reads, snapshot; }
};

class LocalSearchPass : public ::testing::Test {
  protected:
    DeviceList list;
    test::ScriptedLibrary library;
    ScriptedTable table;
    LocalSearch search{list, library, table};

    void SetUp() override {
        search.SetLocalInterfaces({{InetAddr("10.0.0.200"), InetAddr("255.255.255.128")}});
    }
    std::vector<std::string> Column(size_t sub) const {
        std::vector<std::string> out;
        for (size_t i = 0; i < list.RowCount(); ++i)
            out.push_back(list.Row(i).sub[sub]);
        return out;
    }
};

// Off (the default): only VKB220 records of the unified search are listed. On: every model's, by the
// same rules (a MAC heard twice updates its row). The pass counts what it heard either way.
TEST_F(LocalSearchPass, UnifiedSearchListsTheVkb220OrEveryModelWhenAskedTo) {
    const struct {
        std::vector<uint8_t> codes;
        std::vector<std::string> names;      // of the rows, by the record's position
        std::vector<std::string> all_names;  // the same with every model
    } cases[] = {
        {{0x20, 0x10, 0x20}, {"r0", "r2"}, {"r0", "r1", "r2"}},
        {{0x01, 0x20}, {"r1"}, {"r0", "r1"}},  // a first record of another model does not end the walk
        {{0x10, 0x31, 0x83}, {}, {"r0", "r1", "r2"}},
        {{}, {}, {}},
    };
    for (const bool all_models : {false, true}) {
        for (const auto& c : cases) {
            DeviceList fresh;
            test::ScriptedLibrary lib;
            LocalSearch s(fresh, lib, table);
            s.SetAllModels(all_models);
            std::vector<VkSearchRecord> records;
            for (uint8_t i = 0; i < c.codes.size(); ++i)
                records.push_back(
                    StandardRecord(c.codes[i], Mac(i), "10.0.0.1", "r" + std::to_string(i), "v"));
            lib.ScriptSearchAll(VK_OK, records);
            lib.ScriptSearchAllEx(VK_OK, {ExtendedSlot(0x02, Mac(9), {10, 0, 0, 9}, "x", "v")});
            const PassOutcome outcome = s.LocalSearchPass();
            std::vector<std::string> names;
            for (size_t i = 0; i < fresh.RowCount(); ++i)
                names.push_back(fresh.Row(i).sub[kSubName]);
            EXPECT_EQ(names, all_models ? c.all_names : c.names)
                << "model codes " << testing::PrintToString(c.codes) << (all_models ? ", all models" : "");
            EXPECT_EQ(outcome.search_result, VK_OK);
            EXPECT_EQ(outcome.answers, c.codes.size() + 1) << "the extended record is heard, not listed";
        }
    }
}

TEST_F(LocalSearchPass, NewRowsCarryTheirTextsRecordAndTheImageOfTheirOwnAddress) {
    list.SetSortColumn(1);  // each new row lands in front of the earlier ones
    const VkSearchRecord inside =
        StandardRecord(0x20, Mac(9), "10.0.0.150", "0123456789", "V2.1-long-version");
    library.ScriptSearchAll(VK_OK, {inside, StandardRecord(0x20, Mac(5), "10.0.0.100", "pump", "V2.1")});
    const VkSearchRecordEx ext =
        ExtendedSlot(0x83, Mac(1), {10, 0, 0, 140}, "clock-0123456789", "V3.2.1-time");
    library.ScriptSearchAllEx(VK_OK, {ExtendedSlot(0x02, Mac(2), {1, 2, 3, 4}, "no", "no"), ext,
                                      ExtendedSlot(0x83, Mac(3), {10, 9, 9, 9}, "far", "v")});
    search.LocalSearchPass();

    ASSERT_EQ(Column(kSubName), (std::vector<std::string>{"clock-0123456789", "far", "pump", "0123456789"}));
    for (size_t i = 0; i < list.RowCount(); ++i) {
        EXPECT_EQ(list.Row(i).caption, "Online");
        EXPECT_EQ(list.Row(i).image, search.SameSubnet(list.Row(i).sub[kSubIp]) ? 1 : 6) << i;
    }
    EXPECT_EQ(list.Row(3).sub,
              (Texts{"0.26.43.60.77.9", "10.0.0.150", "0123456789", "V2.1-long-versio", "Local"}));
    EXPECT_EQ(list.Row(3).image, kImageInSubnet);
    EXPECT_EQ(list.Row(2).image, kImageOutOfSubnet);
    EXPECT_EQ(0, std::memcmp(list.Row(3).param->DeviceRecord.data(), &inside, sizeof inside));

    const DeviceRow& e = list.Row(0);
    EXPECT_EQ(e.sub, (Texts{"0.26.43.60.77.1", "10.0.0.140", "clock-0123456789", "V3.2.1-time", "Local"}));
    EXPECT_EQ(0, std::memcmp(e.param->DeviceRecord.data(), &ext, sizeof ext));
    EXPECT_EQ(e.param->DeviceRecord[sizeof ext], 0);
    EXPECT_EQ(e.param->DeviceRecord[kDeviceRecordSize - 1], 0);
}

TEST_F(LocalSearchPass, AKnownDeviceUpdatesItsRowInPlace) {
    const VkSearchRecord first = StandardRecord(0x20, Mac(1), "10.0.0.150", "before", "V1");
    library.ScriptSearchAll(VK_OK, {first});
    library.ScriptSearchAll(VK_OK, {StandardRecord(0x20, Mac(1), "10.0.0.20", "after", "V2")});
    search.LocalSearchPass();
    search.LocalSearchPass();
    ASSERT_EQ(list.RowCount(), 1u);
    const DeviceRow& r = list.Row(0);
    EXPECT_EQ(r.caption, "Online");
    EXPECT_EQ(r.sub, (Texts{"0.26.43.60.77.1", "10.0.0.20", "after", "V2", "Local"}));
    EXPECT_EQ(r.image, kImageOutOfSubnet);  // the image of the address it shows now
    EXPECT_EQ(0, std::memcmp(r.param->DeviceRecord.data(), &first, sizeof first)) << "the record stays";
}

TEST_F(LocalSearchPass, EveryRowWithTheMacIsUpdatedAndAnAddressBookRowKeepsItsState) {
    DeviceRow book;
    book.caption = kOnline;
    book.image = kImageBookOnline;
    book.sub = {MacToText(Mac(7)), "10.0.0.99", "book-name", "book-ver", kLocationAddressBook};
    book.param->DeviceRecord.fill(0x5A);
    list.Append(std::move(book));
    DeviceRow local;
    local.caption = kOnline;
    local.image = kImageOutOfSubnet;
    local.sub = {MacToText(Mac(7)), "1.1.1.1", "old", "old", kLocationLocal};
    list.Append(std::move(local));
    library.ScriptSearchAll(VK_OK, {StandardRecord(0x20, Mac(7), "10.0.0.130", "new-name", "V9")});
    search.LocalSearchPass();

    ASSERT_EQ(list.RowCount(), 2u);
    EXPECT_EQ(list.Row(0).sub, (Texts{MacToText(Mac(7)), "10.0.0.130", "new-name", "V9", "AddressBook"}));
    EXPECT_EQ(list.Row(0).caption, "Online");
    EXPECT_EQ(list.Row(0).image, kImageBookOnline);
    EXPECT_EQ(list.Row(0).param->DeviceRecord[0], 0x5A);
    EXPECT_EQ(list.Row(1).sub, (Texts{MacToText(Mac(7)), "10.0.0.130", "new-name", "V9", "Local"}));
    EXPECT_EQ(list.Row(1).image, kImageInSubnet);
}

TEST_F(LocalSearchPass, AFailingSearchLeavesOutWhatDependsOnIt) {
    library.ScriptSearchAll(VK_ERR_NETWORK, {StandardRecord(0x20, Mac(1), "10.0.0.1", "a", "v")});
    library.ScriptSearchAll(VK_OK, {StandardRecord(0x20, Mac(1), "10.0.0.1", "a", "v")});
    library.ScriptSearchAllEx(VK_ERR_NO_ANSWER, {ExtendedSlot(0x83, Mac(2), {10, 0, 0, 2}, "b", "v")});
    table.snapshot.status = SharedTableStatus::kRead;

    EXPECT_EQ(search.LocalSearchPass().search_result, VK_ERR_NETWORK);  // nothing else is asked or added
    EXPECT_EQ(list.RowCount(), 0u);
    EXPECT_EQ(table.reads, 0);
    EXPECT_EQ(library.CalledFunctions(), std::vector<std::string>{"vk_search_all"});

    search.LocalSearchPass();  // the extended search fails: the rest of the pass stands
    EXPECT_EQ(Column(kSubName), std::vector<std::string>{"a"});
    EXPECT_EQ(table.reads, 1);
}

TEST_F(LocalSearchPass, ResultAreasAreClearedAndOffer1024SlotsOnEveryCall) {
    std::vector<VkSearchRecord> many;
    for (uint8_t i = 0; i < 5; ++i)
        many.push_back(StandardRecord(0x10, Mac(i), "10.0.0.1", "a", "v"));
    library.ScriptSearchAll(VK_OK, many);
    library.ScriptSearchAll(VK_OK, {});
    library.ScriptSearchAllEx(VK_OK, {ExtendedSlot(0x02, Mac(9), {1, 2, 3, 4}, "x", "y")});
    search.LocalSearchPass();
    search.LocalSearchPass();
    ASSERT_EQ(library.calls().size(), 4u);
    for (const auto& call : library.calls()) {
        EXPECT_EQ(call.capacity, 1024) << call.function;
        EXPECT_TRUE(call.area_clear) << call.function;
    }
}

}  // namespace
}  // namespace torvane
