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

// The classic dotted-address conversion that the workstation's socket library offers as inet_addr:
// the address in network order (first octet first in memory), all ones for a text that is no address.
// Parts are decimal, octal with a leading 0 or hexadecimal with 0x; "a.b.c.d", "a.b.c" (c: 16 bits),
// "a.b" (b: 24 bits) and "a" (32 bits) are addresses; a blank and whatever follows it end the text.
// Written out here so that the core needs no socket library.
uint32_t InetAddr(const std::string& text);

// True when the address of `ip_text` lies in the subnet of one of the interfaces; false when it lies in
// none or the table is empty.
bool SameSubnet(const std::string& ip_text, std::span<const LocalInterface> interfaces);

}  // namespace torvane
