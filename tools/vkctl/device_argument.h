// The DEVICE argument of vkctl: a device named by its IP address or by its MAC (the decimal MAC text of
// the device list, "0.26.43.60.77.94", or the ARP form "00-1A-2B-3C-4D-5E" / "00:1a:2b:3c:4d:5e").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/address_text.h"

namespace vkctl {

struct DeviceArgument {
    enum class Kind { kIp, kMac } kind;
    std::string ip;           // kIp: the address as a plain dotted quad
    torvane::MacBytes mac{};  // kMac
};

// Six decimal groups of 0 to 255 joined by ".", or six pairs of hexadecimal digits joined by "-" or ":".
std::optional<torvane::MacBytes> ParseMacText(std::string_view text);

// A MAC in either form, or an IPv4 address of exactly four groups (blanks and leading zeros dropped:
// "010.0.0.1 " gives "10.0.0.1").
std::optional<DeviceArgument> ParseDeviceArgument(std::string_view text);

}  // namespace vkctl
