// The three shapes of the update exchange and of the data write, chosen by the device's model code.
#pragma once

#include <cstdint>

namespace torvane {

enum class UpdateVariant {
    kA,  // model code 0x01: FA frames, byte addresses from 0x8000, identify, prepare
    kB,  // model code 0x10: F9/F8/F7 frames with CRC-16, read-back of the firmware
    kC,  // every other code: FA frames with page numbers, 1280-byte firmware blocks
};

UpdateVariant UpdateVariantFor(uint8_t model_code);

}  // namespace torvane
