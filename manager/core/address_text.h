// Address texts as the device list and the parameter windows show and take them: MAC texts in the
// decimal form that is the list's key ("0.18.52.86.120.154") and in the ARP form ("00-12-34-56-78-9A"),
// and dotted IPv4 texts. Texts are bytes; nothing here decodes them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torvane {

using MacBytes = std::array<uint8_t, 6>;
using Ip4Bytes = std::array<uint8_t, 4>;

// The six bytes in decimal without leading zeros, joined by ".".
std::string MacToText(const uint8_t* mac);
inline std::string MacToText(const MacBytes& mac) {
    return MacToText(mac.data());
}

// Reads a MAC text back: six groups of at most three digits, each ended by ".", "/", the end of the
// text or its third digit; a group's value is taken modulo 256 and a missing group is 0.
MacBytes TextToMac(std::string_view text);

// The six bytes of an ARP MAC text: six pairs of hexadecimal digits (either case) joined by
// `separator`, 17 characters; nothing for any other text.
std::optional<MacBytes> ArpTextToMac(std::string_view text, char separator = '-');

// The six bytes as two-digit upper-case hexadecimal numbers joined by "-" (17 characters).
std::string MacToArpText(const uint8_t* mac);
inline std::string MacToArpText(const MacBytes& mac) {
    return MacToArpText(mac.data());
}

// An address the operator typed: at least 7 characters, blanks ignored, four "."-separated groups of
// decimal digits from 0 to 255; whatever follows the fourth group is not examined.
bool IsValidIP(std::string_view text);

// The address of a text that names exactly one: blanks ignored, exactly four "."-separated groups of one
// to three decimal digits, each at most 255. Where IsValidIP checks what the operator typed into an
// address field as the manager always has, this is the check for addresses given on a command line or
// in a script, where "10.0.0.1.5" must not silently mean 10.0.0.1.
std::optional<Ip4Bytes> ParseStrictIP(std::string_view text);

// The four groups of a text that IsValidIP accepts, first group first; four zeros for any other text.
Ip4Bytes IPTextToBytes(std::string_view text);

// The four bytes in decimal without leading zeros, joined by ".".
std::string IpBytesToText(const uint8_t* ip);
inline std::string IpBytesToText(const Ip4Bytes& ip) {
    return IpBytesToText(ip.data());
}

}  // namespace torvane
