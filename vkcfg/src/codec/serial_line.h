// The serial-line changes of both generations: a four-character text command, or the serial-change
// block of the SERIAL_SET frame.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "codec/frame.h"

namespace vkcfg::codec {

enum class SerialItem { kSpeed, kParity, kDataBits };

// "PBR", "PPR" or "PBB" and one digit: speeds through the code table (any other speed "3"), parity 1 as
// "2" and 2 as "1" (3 and 4 as themselves, anything else "0"), data bits 7 as "0" and anything else "1".
std::string TextSerialCommand(SerialItem item, int value);

// The six-byte block that changes one item and marks the others unchanged (0xFFFF / 0xFF); the speed
// goes as bit/s divided by 100, low byte first. nullopt for a value the block cannot carry without it
// reading as "unchanged" or wrapping (a speed outside 100 to 6553400 bit/s, a byte value outside 0..254).
std::optional<std::array<uint8_t, frame::kSerialSize>> SerialChangeBlock(SerialItem item, int value);

// The SERIAL_SET request: marker 0xFF, command 9, no tag, the channel in byte 10, the block in 18..23.
std::array<uint8_t, kShortFrameSize> BuildSerialFrame(uint8_t channel,
                                                      const std::array<uint8_t, frame::kSerialSize>& block);

}  // namespace vkcfg::codec
