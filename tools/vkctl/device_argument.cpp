#include "device_argument.h"

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

}  // namespace

std::optional<torvane::MacBytes> ParseMacText(std::string_view text) {
    if (auto mac = DecimalMac(text)) return mac;
    if (auto mac = torvane::ArpTextToMac(text, '-')) return mac;
    return torvane::ArpTextToMac(text, ':');
}

std::optional<DeviceArgument> ParseDeviceArgument(std::string_view text) {
    if (auto mac = ParseMacText(text)) return DeviceArgument{DeviceArgument::Kind::kMac, {}, *mac};
    if (auto ip = torvane::ParseStrictIP(text))
        return DeviceArgument{DeviceArgument::Kind::kIp, torvane::IpBytesToText(*ip), {}};
    return std::nullopt;
}

}  // namespace vkctl
