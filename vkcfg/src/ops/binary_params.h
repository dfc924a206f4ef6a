// Second-generation parameter read and write (one scrambled parameter frame, a write confirmed with
// SAVE), and the extended devices' read and write of an unchanged payload.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "codec/addr_text.h"

namespace vkcfg::ops {

// Fills `block` (cleared first; VKB_WORK_BLOCK_MAX bytes) with the work block of the device's answer.
int BinaryReadSettings(const char* ip, const codec::MacBytes& mac, std::span<uint8_t> block);
int BinaryWriteSettings(const char* ip, std::span<const uint8_t> block);

// Copies the answer's payload into `payload` (its first 4 bytes cleared first).
int ExtendedReadSettings(const char* ip, const codec::MacBytes& mac, std::span<uint8_t> payload);
int ExtendedWriteSettings(const char* ip, const codec::MacBytes& mac, std::span<const uint8_t> payload);

}  // namespace vkcfg::ops
