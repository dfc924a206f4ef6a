#include "core/subnet.h"

#include <array>
#include <cctype>
#include <cstring>
#include <optional>

namespace torvane {
namespace {

constexpr uint32_t kNone = 0xFFFFFFFFu;

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// One part, as a C integer literal without sign or suffix (base 10, 8 with "0", 16 with "0x"), from
// text[pos] on; pos ends after its last digit. Nothing when it is no number or exceeds 32 bits.
std::optional<uint64_t> ReadPart(const std::string& text, size_t& pos) {
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') return std::nullopt;
    unsigned base = 10;
    if (text[pos] == '0') {
        base = 8;
        const bool hex_prefix = pos + 2 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
                                std::isxdigit(static_cast<unsigned char>(text[pos + 2]));
        if (hex_prefix) {
            base = 16;
            pos += 2;
        }
    }
    uint64_t value = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c))) {
            digit = static_cast<unsigned>(std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
        } else {
            break;
        }
        if (digit >= base) break;
        value = value * base + digit;
        if (value > kNone) return std::nullopt;
        ++pos;
    }
    return value;
}

}  // namespace

uint32_t InetAddr(const std::string& text) {
    std::array<uint8_t, 4> leading{};  // the parts before the last, one byte each
    size_t count = 0;
    size_t pos = 0;
    uint64_t last = 0;
    for (;;) {
        const auto part = ReadPart(text, pos);
        if (!part) return kNone;
        last = *part;
        if (pos >= text.size() || text[pos] != '.') break;
        if (count == 3 || last > 0xFF) return kNone;
        leading[count++] = static_cast<uint8_t>(last);
        ++pos;
    }
    if (pos < text.size() && !IsBlank(text[pos])) return kNone;
    static constexpr uint64_t kLastMax[] = {0xFFFFFFFFu, 0xFFFFFFu, 0xFFFFu, 0xFFu};
    if (last > kLastMax[count]) return kNone;
    uint8_t bytes[4] = {};
    for (size_t i = 0; i < count; ++i)
        bytes[i] = leading[i];
    for (size_t i = 4; i > count; --i) {
        bytes[i - 1] = static_cast<uint8_t>(last & 0xFF);
        last >>= 8;
    }
    uint32_t address;
    std::memcpy(&address, bytes, sizeof address);  // first octet first in memory: network order
    return address;
}

bool SameSubnet(const std::string& ip_text, std::span<const LocalInterface> interfaces) {
    const uint32_t a = InetAddr(ip_text);
    for (const auto& i : interfaces) {
        if ((a & i.netmask) == (i.address & i.netmask)) return true;
    }
    return false;
}

}  // namespace torvane
