#include "codec/addr_text.h"

#include <cstdio>

namespace vkcfg::codec {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<Ipv4Bytes> ParseDottedQuad(std::string_view text) {
    Ipv4Bytes out{};
    size_t pos = 0;
    for (size_t group = 0; group < 4; ++group) {
        if (group > 0) {
            if (pos >= text.size() || text[pos] != '.') return std::nullopt;
            ++pos;
        }
        unsigned value = 0;
        size_t digits = 0;
        while (pos < text.size() && IsDigit(text[pos]) && digits < 3) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || value > 255) return std::nullopt;
        out[group] = static_cast<uint8_t>(value);
    }
    if (pos != text.size()) return std::nullopt;
    return out;
}

Ipv4Bytes AddrTextToBytes(std::string_view text) {
    return ParseDottedQuad(text).value_or(kBroadcastBytes);
}

std::string AddrBytesToText(std::span<const uint8_t, 4> b) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return buf;
}

std::string MacText(std::span<const uint8_t, 6> m) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u.%u.%u", m[0], m[1], m[2], m[3], m[4], m[5]);
    return buf;
}

void MacTextToBytes(std::string_view text, MacBytes& mac) {
    size_t pos = 0;
    for (size_t group = 0; group < mac.size(); ++group) {
        if (pos >= text.size() || !IsDigit(text[pos])) return;
        uint8_t value = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            value = static_cast<uint8_t>(value * 10 + (text[pos] - '0'));  // modulo 256 as it goes
            ++pos;
        }
        mac[group] = value;
        if (pos >= text.size() || text[pos] != '.') return;
        ++pos;
    }
}

}  // namespace vkcfg::codec
