// The workstation's IPv4 interfaces as the device list marks rows with them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace torvane {

// One interface of the workstation: address and netmask, both in network order (first octet first in
// memory).
struct LocalInterface {
    uint32_t address = 0;
    uint32_t netmask = 0;
};

inline constexpr size_t kMaxLocalInterfaces = 13;

// The platform's dotted-decimal conversion: the address in network order, all ones for a text that is
// no address.
uint32_t InetAddr(const std::string& text);

// True when the address of `ip_text` lies in the subnet of one of the interfaces; false when it lies in
// none or the table is empty.
bool SameSubnet(const std::string& ip_text, std::span<const LocalInterface> interfaces);

}  // namespace torvane
