// Conversions between VkParamRecord and the work blocks of the two generations, and the parameter
// frames of the second generation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "codec/addr_text.h"
#include "vkcfg.h"

namespace vkcfg::codec {

// ---- First generation --------------------------------------------------------------------------

void TextBlockToRecord(const VkaWorkBlock& block, VkParamSinglePort& record);
VkaWorkBlock RecordToTextBlock(const VkParamSinglePort& record);

// ---- Second generation -------------------------------------------------------------------------
// The work block is the parameter frame from byte 8 on, with the model code in its first byte.

inline constexpr size_t kWorkBlockFrameOffset = 8;

// Size of the work block of a model: 148 bytes for the single-port layout (0x10, 0x20), 84 + 54 n for
// the multi-port layout, 0 for a model without a second-generation layout.
size_t BinaryBlockSize(uint8_t model_code);

// The bytes of VkParamRecord that carry the layout of a model read through the second generation: 304
// for the single-port layout, 156 + 68 n for the multi-port layout, 0 without a layout.
size_t RecordLayoutSize(uint8_t model_code);

// True when two model codes have the same record layout and parameter frame (the same generation
// layout and channel count): an answer of one may fill a record asked for with the other.
bool SameRecordLayout(uint8_t a, uint8_t b);

// The work block of an (already unscrambled) parameter frame; empty when the frame's model code has no
// layout or the frame is shorter than a whole frame of its layout.
std::vector<uint8_t> BinaryBlockOfFrame(std::span<const uint8_t> plain_frame);

// Fills the record's layout (chosen by block[0]) from a work block of at least BinaryBlockSize bytes;
// the number of record bytes that carry the layout is returned (0: no layout or a block cut short,
// nothing written). `record` must hold RecordLayoutSize(block[0]) bytes.
size_t BinaryBlockToRecord(std::span<const uint8_t> block, VkParamRecord& record);

// The work block of a record, with block[0] = the record's model code. nullopt when the model code has
// no second-generation layout, or when an address text of the record is not a dotted IPv4 address
// (an empty text stands for 0.0.0.0).
std::optional<std::vector<uint8_t>> RecordToBinaryBlock(const VkParamRecord& record);

// The WRITE request carrying a work block: marker 0, tag 0, command 5, byte 9 the model code, the
// payload scrambled from byte 12, checksum. Empty when block[0] names no layout or the block is short.
std::vector<uint8_t> BuildParameterWriteFrame(std::span<const uint8_t> block);

// The extended WRITE request: marker 0xFF, command 5, scrambled MAC, the payload unchanged from byte 42,
// checksum.
std::vector<uint8_t> BuildExtendedWriteFrame(const MacBytes& mac, std::span<const uint8_t> payload);

// A 42-byte request naming a device: marker and tag as given, scrambled MAC, checksum.
std::vector<uint8_t> BuildDeviceRequest(uint8_t marker, uint8_t tag, uint8_t command, const MacBytes& mac);

}  // namespace vkcfg::codec
