// What a model code says about a device: which protocol generation it speaks, which parameter layout
// its block has, how many channels it has, and which variant of the firmware update it takes. Every
// choice by model code in the manager and in vkctl asks here.
#pragma once

#include <cstdint>
#include <optional>

namespace torvane {

enum class ParamLayout {
    kFirstGeneration,  // single-port layout of VkParamRecord, text protocol (0x01, 0x20)
    kSinglePort,       // single-port layout, second generation (0x10)
    kMultiPort,        // multi-port layout (0x3x, 0x9x with a row in the model table)
    kExtended,         // the extended (time) device's 438-byte block (0x83)
};

// The three shapes of the update exchange and of the data write.
enum class UpdateVariant {
    kA,  // model code 0x01: FA frames, byte addresses from 0x8000, identify, prepare
    kB,  // model code 0x10: F9/F8/F7 frames with CRC-16, read-back of the firmware
    kC,  // every other code: FA frames with page numbers, 1280-byte firmware blocks
};

// 0x01 and 0x20: the first-generation text protocol.
bool IsFirstGeneration(uint8_t model_code);
// 0x83: the extended (time) device, found only by the extended search.
bool IsExtendedDevice(uint8_t model_code);
// High nibble 3 or 9: the multi-port parameter layout.
bool HasMultiPortCode(uint8_t model_code);
// 1, 0x10 and 0x20: the devices whose parameters the standard parameter window shows.
bool IsStandardDevice(uint8_t model_code);

// The layout of the model's parameter block; nothing for a code without one (not in the model table).
std::optional<ParamLayout> LayoutOf(uint8_t model_code);

// Whether a standard parameter block that carries `read_code` in its byte 0 has the layout (and channel
// count) of the model the search reported; the extended block carries no model code to compare.
bool SameLayout(uint8_t searched_code, uint8_t read_code);

// The model's serial channels (the model table's channel count; 1 for a single-port model, 0 for a code
// without a row).
int ChannelCount(uint8_t model_code);

// 0x01: A, 0x10: B, any other code: C.
UpdateVariant UpdateVariantFor(uint8_t model_code);

}  // namespace torvane
