#include "core/address_text.h"

#include <cstdio>

namespace torvane {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string WithoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != ' ') out += c;
    }
    return out;
}

// Reads up to three digits from text[pos] on as one group and skips the separator that ends it.
// A separator is any character that is not a digit when it ends the group; after a third digit, only
// a following separator is skipped, never a digit.
unsigned ReadGroup(std::string_view text, size_t& pos, bool (*is_separator)(char)) {
    unsigned value = 0;
    size_t digits = 0;
    while (pos < text.size() && digits < 3 && IsDigit(text[pos])) {
        value = value * 10 + static_cast<unsigned>(text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (pos < text.size() && is_separator(text[pos])) ++pos;
    return value % 256;
}

}  // namespace

std::string MacToText(const uint8_t* mac) {
    std::string out;
    for (int i = 0; i < 6; ++i) {
        if (i > 0) out += '.';
        out += std::to_string(mac[i]);
    }
    return out;
}

MacBytes TextToMac(std::string_view text) {
    MacBytes mac{};
    size_t pos = 0;
    for (auto& b : mac)
        b = static_cast<uint8_t>(ReadGroup(text, pos, [](char c) { return !IsDigit(c); }));
    return mac;
}

std::optional<MacBytes> ArpTextToMac(std::string_view text, char separator) {
    constexpr size_t kLength = 17;
    if (text.size() != kLength) return std::nullopt;
    MacBytes mac{};
    for (size_t i = 0; i < mac.size(); ++i) {
        const size_t at = 3 * i;
        if (i > 0 && text[at - 1] != separator) return std::nullopt;
        const int high = HexDigit(text[at]);
        const int low = HexDigit(text[at + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        mac[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return mac;
}

std::string MacToArpText(const uint8_t* mac) {
    char buf[18];
    std::snprintf(buf, sizeof buf, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    return buf;
}

bool IsValidIP(std::string_view text) {
    if (text.size() < 7) return false;
    const std::string s = WithoutBlanks(text);
    size_t pos = 0;
    for (int group = 0; group < 4; ++group) {
        size_t end = s.find('.', pos);
        if (end == std::string::npos) end = s.size();
        // Decimal digits only (no sign: a negative group is no address) and at most three of them, so
        // that IPTextToBytes, which reads three characters per group, reads what was checked here.
        const size_t length = end - pos;
        if (length == 0 || length > 3) return false;
        unsigned value = 0;
        for (size_t i = pos; i < end; ++i) {
            if (!IsDigit(s[i])) return false;
            value = value * 10 + static_cast<unsigned>(s[i] - '0');
        }
        if (value > 255) return false;
        pos = end < s.size() ? end + 1 : end;
    }
    return true;
}

std::optional<Ip4Bytes> ParseStrictIP(std::string_view text) {
    const std::string s = WithoutBlanks(text);
    Ip4Bytes ip{};
    size_t pos = 0;
    for (size_t group = 0; group < ip.size(); ++group) {
        if (group > 0) {
            if (pos >= s.size() || s[pos] != '.') return std::nullopt;
            ++pos;
        }
        unsigned value = 0;
        size_t digits = 0;
        while (pos < s.size() && IsDigit(s[pos]) && digits < 3) {
            value = value * 10 + static_cast<unsigned>(s[pos++] - '0');
            ++digits;
        }
        if (digits == 0 || value > 255) return std::nullopt;
        ip[group] = static_cast<uint8_t>(value);
    }
    if (pos != s.size()) return std::nullopt;
    return ip;
}

Ip4Bytes IPTextToBytes(std::string_view text) {
    Ip4Bytes ip{};
    if (!IsValidIP(text)) return ip;
    const std::string s = WithoutBlanks(text);
    size_t pos = 0;
    for (auto& b : ip)
        b = static_cast<uint8_t>(ReadGroup(s, pos, [](char c) { return c == '.' || c == '|'; }));
    return ip;
}

std::string IpBytesToText(const uint8_t* ip) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) out += '.';
        out += std::to_string(ip[i]);
    }
    return out;
}

}  // namespace torvane
