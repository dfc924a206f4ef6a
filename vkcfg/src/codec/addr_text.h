// Conversions between IPv4 / MAC addresses and the texts the devices and callers use.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vkcfg::codec {

using Ipv4Bytes = std::array<uint8_t, 4>;  // first octet first (network order)
using MacBytes = std::array<uint8_t, 6>;

inline constexpr Ipv4Bytes kBroadcastBytes{255, 255, 255, 255};

// Strict dotted-quad: four groups of 1 to 3 decimal digits, each at most 255, and nothing else.
std::optional<Ipv4Bytes> ParseDottedQuad(std::string_view text);

// AddrTextToBytes: the dotted-quad text as bytes; an unparsable text gives 255.255.255.255.
Ipv4Bytes AddrTextToBytes(std::string_view text);

// AddrBytesToText: "a.b.c.d", first byte first (at most 15 characters).
std::string AddrBytesToText(std::span<const uint8_t, 4> bytes);

// MacText: the six bytes as unsigned decimal numbers joined by "." (0.26.43.60.77.94).
std::string MacText(std::span<const uint8_t, 6> mac);

// MacTextToBytes: up to six groups of decimal digits separated by "."; each group's value modulo 256
// goes into the next byte. Parsing ends after the sixth group, at the first group not followed by ".",
// or where no digit stands. Bytes after the last parsed group keep their content.
void MacTextToBytes(std::string_view text, MacBytes& mac);

// The addressing rule of operations that take an address text: fewer than 7 characters mean "no
// address" (broadcast, device chosen by its MAC).
inline bool IsShortAddressText(std::string_view text) {
    return text.size() < 7;
}

}  // namespace vkcfg::codec
