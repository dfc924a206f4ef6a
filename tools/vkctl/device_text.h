// The address texts vkctl takes: a device named by its IP address or by its MAC (the decimal MAC text
// of the device list, "0.26.43.60.77.94", or the ARP form "00-1A-2B-3C-4D-5E"), and address values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/address_text.h"

namespace vkctl {

struct DeviceText {
    enum class Kind { kIp, kMac } kind;
    std::string ip;           // kIp: the address as a dotted quad
    torvane::MacBytes mac{};  // kMac
};

// Six decimal groups of 0 to 255 joined by ".", or six pairs of hexadecimal digits joined by "-" or ":".
std::optional<torvane::MacBytes> ParseMacText(std::string_view text);

// An address that the manager's address check (IsValidIP) accepts, as a plain dotted quad: blanks and
// leading zeros dropped ("010.0.0.1 " gives "10.0.0.1").
std::optional<std::string> NormalizedAddress(std::string_view text);

// A DEVICE argument: a MAC in either form, or an IPv4 address of exactly four groups.
std::optional<DeviceText> ParseDeviceText(std::string_view text);

}  // namespace vkctl
