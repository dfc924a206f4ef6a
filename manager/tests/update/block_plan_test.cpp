// The blocks of the firmware writes, the backup reads and the data writes.
#include <gtest/gtest.h>

#include "core/update/block_plan.h"

namespace torvane {
namespace {

// offset, length, send size, field
using Row = std::tuple<size_t, size_t, size_t, uint16_t>;

std::vector<Row> Rows(const BlockPlan& plan) {
    std::vector<Row> out;
    for (const Block& b : plan)
        out.emplace_back(b.offset, b.length, b.send_size, b.field);
    return out;
}

TEST(BlockPlan, FirmwareAWrapsPast0xFF00AndFillsItsLastBlock) {
    const BlockPlan plan = FirmwarePlanA(40000);
    ASSERT_EQ(plan.size(), 157u);
    EXPECT_EQ(Rows({plan[0]}), (std::vector<Row>{{0, 256, 256, 0x8000}}));
    EXPECT_EQ(Rows({plan[127]}), (std::vector<Row>{{32512, 256, 256, 0xFF00}}));
    EXPECT_EQ(Rows({plan[128]}), (std::vector<Row>{{32768, 256, 256, 0x0000}}));
    EXPECT_EQ(Rows({plan.back()}), (std::vector<Row>{{39936, 64, 256, 0x1C00}}));
}

TEST(BlockPlan, FirmwareCSendsBlockZeroLast) {
    EXPECT_EQ(Rows(FirmwarePlanC(3000)),
              (std::vector<Row>{{1280, 1280, 1280, 4}, {2560, 440, 1280, 8}, {0, 1280, 1280, 0}}));
    EXPECT_EQ(Rows(FirmwarePlanC(1280)), (std::vector<Row>{{0, 1280, 1280, 0}}));
    EXPECT_EQ(Rows(FirmwarePlanC(100)), (std::vector<Row>{{0, 100, 1280, 0}}));
    EXPECT_EQ(FirmwarePlanC(262144 - 4096).size(), 202u);
}

TEST(BlockPlan, FirmwareBBlocksCarryExactlyTheirBytes) {
    EXPECT_EQ(Rows(FirmwarePlanB(1000)), (std::vector<Row>{{0, 512, 512, 0x0000}, {512, 488, 488, 0x0200}}));
}

TEST(BlockPlan, BackupReadsCoverTheDataArea) {
    const BlockPlan a = BackupPlanA();
    ASSERT_EQ(a.size(), 236u);
    EXPECT_EQ(Rows({a[1], a.back()}), (std::vector<Row>{{128, 128, 128, 0x8080}, {30080, 128, 128, 0xF580}}));
    const BlockPlan b = BackupPlanB();
    ASSERT_EQ(b.size(), 63u);
    EXPECT_EQ(Rows({b.back()}), (std::vector<Row>{{31744, 512, 512, 0x7C00}}));
    EXPECT_EQ(Rows(BackupPlanC(2500)),
              (std::vector<Row>{{0, 1024, 1024, 0}, {1024, 1024, 1024, 4}, {2048, 452, 452, 8}}));
    EXPECT_TRUE(BackupPlanC(0).empty());
}

TEST(BlockPlan, DataWritesOfEachVariant) {
    EXPECT_EQ(Rows(DataPlanA(300)),
              (std::vector<Row>{{0, 128, 128, 0x8000}, {128, 128, 128, 0x8080}, {256, 44, 44, 0x8100}}));
    const BlockPlan full_a = DataPlanA(32768);
    EXPECT_EQ(full_a.back().offset + full_a.back().length, 29696u) << "only the first 29,696 bytes";
    EXPECT_EQ(Rows(DataPlanC(2500)),
              (std::vector<Row>{{0, 1024, 1024, 0}, {1024, 1024, 1024, 4}, {2048, 452, 452, 8}}));
    EXPECT_EQ(Rows(DataPlanB(1000)), (std::vector<Row>{{0, 512, 512, 0x0000}, {512, 488, 488, 0x0200}}));
    EXPECT_TRUE(DataPlanA(0).empty());
}

}  // namespace
}  // namespace torvane
