// The two check values of the update: the 16-bit byte sum of the FA-family frames, and the CRC-16 of
// the B-family frames and of "B32" images (polynomial 0x1021, initial value 0, no reflection, no final
// XOR; the library's cal_crc computes the same).
#pragma once

#include <cstdint>
#include <span>

namespace torvane {

// The sum of all bytes modulo 65,536.
uint16_t Sum16(std::span<const uint8_t> bytes);

// The CRC over the first `length` bytes. The count is 16 bits wide, as the device protocol's is: a
// caller with more bytes hands over their number modulo 65,536.
uint16_t Crc16(const uint8_t* data, uint16_t length);

}  // namespace torvane
