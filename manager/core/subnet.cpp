#include "core/subnet.h"

#if defined(_WIN32)
#include <winsock2.h>
#else
#include <arpa/inet.h>
#endif

namespace torvane {

uint32_t InetAddr(const std::string& text) {
    return static_cast<uint32_t>(inet_addr(text.c_str()));
}

bool SameSubnet(const std::string& ip_text, std::span<const LocalInterface> interfaces) {
    const uint32_t a = InetAddr(ip_text);
    for (const auto& i : interfaces) {
        if ((a & i.netmask) == (i.address & i.netmask)) return true;
    }
    return false;
}

}  // namespace torvane
