#include "core/update/checksums.h"

#include <array>

namespace torvane {
namespace {

constexpr std::array<uint16_t, 256> MakeTable() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = static_cast<uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint16_t, 256> kTable = MakeTable();

}  // namespace

uint16_t Sum16(std::span<const uint8_t> bytes) {
    uint16_t sum = 0;
    for (uint8_t b : bytes)
        sum = static_cast<uint16_t>(sum + b);
    return sum;
}

uint16_t Crc16(const uint8_t* data, uint16_t length) {
    uint16_t crc = 0;
    for (uint16_t i = 0; i < length; ++i)
        crc = static_cast<uint16_t>(crc << 8 ^ kTable[(crc >> 8 ^ data[i]) & 0xFF]);
    return crc;
}

}  // namespace torvane
