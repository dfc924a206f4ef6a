// CRC-16/XMODEM, the checksum of the binary frames.
#pragma once

#include <cstdint>
#include <span>

namespace vkcfg::codec {

// Polynomial 0x1021, initial value 0, no reflection, no final XOR ("123456789" gives 0x31C3).
uint16_t Crc16(std::span<const uint8_t> bytes);

}  // namespace vkcfg::codec
