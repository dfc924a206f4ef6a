#include "core/update/block_plan.h"

#include <algorithm>

namespace torvane {
namespace {

constexpr size_t kAddressBaseA = 0x8000;
constexpr size_t kPageSize = 256;
constexpr size_t kFirmwareBlockA = 256;
constexpr size_t kBlockB = 512;
constexpr size_t kFirmwareBlockC = 1280;
constexpr size_t kPagesPerBlockC = 4;
constexpr size_t kReadBlockA = 128;
constexpr size_t kReadBlockC = 1024;

// How a block's address field follows from its offset.
enum class Addressing { kFromA, kByteOffset, kPage };

uint16_t Field(Addressing a, size_t offset) {
    switch (a) {
        case Addressing::kFromA:
            return static_cast<uint16_t>(kAddressBaseA + offset);  // wraps past 0xFFFF
        case Addressing::kByteOffset:
            return static_cast<uint16_t>(offset);
        case Addressing::kPage:
            return static_cast<uint16_t>(offset / kPageSize);
    }
    return 0;
}

// Consecutive blocks of `block` bytes over `total` bytes; `padded` frames always carry `block` bytes.
BlockPlan Consecutive(size_t total, size_t block, Addressing a, bool padded) {
    BlockPlan plan;
    for (size_t offset = 0; offset < total; offset += block) {
        const size_t length = std::min(block, total - offset);
        plan.push_back({offset, length, padded ? block : length, Field(a, offset)});
    }
    return plan;
}

}  // namespace

BlockPlan FirmwarePlanA(size_t body_length) {
    return Consecutive(body_length, kFirmwareBlockA, Addressing::kFromA, true);
}

BlockPlan FirmwarePlanB(size_t body_length) {
    return Consecutive(body_length, kBlockB, Addressing::kByteOffset, false);
}

BlockPlan FirmwarePlanC(size_t body_length) {
    BlockPlan plan = Consecutive(body_length, kFirmwareBlockC, Addressing::kByteOffset, true);
    for (size_t k = 0; k < plan.size(); ++k)
        plan[k].field = static_cast<uint16_t>(k * kPagesPerBlockC);
    // Block 0 goes last: the device starts from it, so it must not hold new code before the rest does.
    if (!plan.empty()) std::rotate(plan.begin(), plan.begin() + 1, plan.end());
    return plan;
}

BlockPlan BackupPlanA() {
    return Consecutive(kBackupSizeA, kReadBlockA, Addressing::kFromA, false);
}

BlockPlan BackupPlanB() {
    return Consecutive(kBackupSizeB, kBlockB, Addressing::kByteOffset, false);
}

BlockPlan BackupPlanC(size_t length) {
    return Consecutive(length, kReadBlockC, Addressing::kPage, false);
}

BlockPlan DataPlanA(size_t file_size) {
    return Consecutive(std::min(file_size, kDataWriteLimitA), kReadBlockA, Addressing::kFromA, false);
}

BlockPlan DataPlanB(size_t file_size) {
    return Consecutive(file_size, kBlockB, Addressing::kByteOffset, false);
}

BlockPlan DataPlanC(size_t file_size) {
    return Consecutive(file_size, kReadBlockC, Addressing::kPage, false);
}

}  // namespace torvane
