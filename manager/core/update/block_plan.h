// The blocks of every loop of the update and of the data write: which bytes of the body, file or
// backup each block carries, how long its frame's data is, and what goes into its 16-bit address field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torvane {

struct Block {
    size_t offset = 0;     // into the body, file or backup
    size_t length = 0;     // bytes taken from there
    size_t send_size = 0;  // data bytes in the frame: `length`, or a fixed size filled up with zeros
    uint16_t field = 0;    // the address or page number of the request
};

using BlockPlan = std::vector<Block>;

// Variant A's firmware: 256-byte blocks to (0x8000 + offset) modulo 65,536; the last block is filled
// up to 256 bytes.
BlockPlan FirmwarePlanA(size_t body_length);
// Variant B's firmware and its read-back: blocks of up to 512 bytes at their offset.
BlockPlan FirmwarePlanB(size_t body_length);
// Variant C's firmware: 1280-byte blocks, block k to page 4k; blocks 1, 2, ... first and block 0 last.
BlockPlan FirmwarePlanC(size_t body_length);

// The backup reads: A 30,208 bytes in 128-byte blocks from 0x8000; B 32,256 bytes in 512-byte blocks
// from 0; C `length` bytes in 1024-byte blocks by page (the last block may be cut to what is left).
BlockPlan BackupPlanA();
BlockPlan BackupPlanB();
BlockPlan BackupPlanC(size_t length);

// The data write of a file of `file_size` bytes: A at most its first 29,696 bytes in 128-byte blocks
// from 0x8000; B in 512-byte blocks from 0; C in 1024-byte blocks by page.
BlockPlan DataPlanA(size_t file_size);
BlockPlan DataPlanB(size_t file_size);
BlockPlan DataPlanC(size_t file_size);

inline constexpr size_t kBackupSizeA = 0x7600;
inline constexpr size_t kBackupSizeB = 0x7E00;
inline constexpr size_t kDataWriteLimitA = 0x7400;

}  // namespace torvane
