#include "device_text.h"

#include <algorithm>
#include <vector>

namespace vkctl {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<torvane::MacBytes> DecimalMac(std::string_view text) {
    const auto groups = Split(text, '.');
    if (groups.size() != 6) return std::nullopt;
    torvane::MacBytes mac{};
    for (size_t i = 0; i < 6; ++i) {
        const auto g = groups[i];
        if (g.empty() || g.size() > 3) return std::nullopt;
        unsigned value = 0;
        for (char c : g) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value > 255) return std::nullopt;
        mac[i] = static_cast<uint8_t>(value);
    }
    return mac;
}

std::optional<torvane::MacBytes> HexMac(std::string_view text, char separator) {
    const auto groups = Split(text, separator);
    if (groups.size() != 6) return std::nullopt;
    torvane::MacBytes mac{};
    for (size_t i = 0; i < 6; ++i) {
        const auto g = groups[i];
        if (g.size() != 2 || HexDigit(g[0]) < 0 || HexDigit(g[1]) < 0) return std::nullopt;
        mac[i] = static_cast<uint8_t>(HexDigit(g[0]) * 16 + HexDigit(g[1]));
    }
    return mac;
}

}  // namespace

std::optional<torvane::MacBytes> ParseMacText(std::string_view text) {
    if (auto mac = DecimalMac(text)) return mac;
    if (auto mac = HexMac(text, '-')) return mac;
    return HexMac(text, ':');
}

std::optional<std::string> NormalizedAddress(std::string_view text) {
    if (!torvane::IsValidIP(text)) return std::nullopt;
    return torvane::IpBytesToText(torvane::IPTextToBytes(text));
}

std::optional<DeviceText> ParseDeviceText(std::string_view text) {
    if (auto mac = ParseMacText(text)) return DeviceText{DeviceText::Kind::kMac, {}, *mac};
    // IsValidIP does not look past the fourth group; a device address has no fifth.
    if (std::count(text.begin(), text.end(), '.') != 3) return std::nullopt;
    if (auto ip = NormalizedAddress(text)) return DeviceText{DeviceText::Kind::kIp, *ip, {}};
    return std::nullopt;
}

}  // namespace vkctl
