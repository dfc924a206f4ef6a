// The workstation's interfaces, address table and adapters, read from the kernel of the calling
// thread's network namespace.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "platform/net_func.h"
#include "platform/unique_fd.h"

namespace torvane {
namespace {

// SIOCGIWNAME of <linux/wireless.h> (that header clashes with <net/if.h>): only wireless interfaces
// answer it.
constexpr unsigned long kSiocGetWirelessName = 0x8B01;

using IfAddrs = std::unique_ptr<ifaddrs, void (*)(ifaddrs*)>;

IfAddrs ReadIfAddrs() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) list = nullptr;
    return IfAddrs(list, [](ifaddrs* p) {
        if (p) ::freeifaddrs(p);
    });
}

bool IsIpv4(const sockaddr* sa) {
    return sa && sa->sa_family == AF_INET;
}

uint32_t Ipv4Of(const sockaddr* sa) {
    return reinterpret_cast<const sockaddr_in*>(sa)->sin_addr.s_addr;
}

std::string Dotted(uint32_t network_order) {
    char text[INET_ADDRSTRLEN] = {};
    const in_addr a{network_order};
    ::inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

std::optional<uint32_t> BroadcastOf(const ifaddrs& entry) {
    if (!(entry.ifa_flags & IFF_BROADCAST) || !IsIpv4(entry.ifa_broadaddr)) return std::nullopt;
    return Ipv4Of(entry.ifa_broadaddr);
}

// The interface's own broadcast address when it is one of its subnet's. An address added without one
// (ip addr add without "brd +") reports 0.0.0.0 or the address itself; the subnet's directed broadcast
// address is then the address with every host bit set.
uint32_t DirectedBroadcast(uint32_t address, uint32_t netmask, std::optional<uint32_t> reported) {
    const bool usable = reported && *reported != address && (*reported & netmask) == (address & netmask);
    return usable ? *reported : (address | ~netmask);
}

ifreq RequestFor(int if_index) {
    ifreq r{};
    char name[IF_NAMESIZE] = {};
    if (::if_indextoname(static_cast<unsigned>(if_index), name)) std::memcpy(r.ifr_name, name, sizeof name);
    return r;
}

bool IsEthernetInterface(int if_index) {
    ifreq r = RequestFor(if_index);
    if (r.ifr_name[0] == 0) return false;
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd || ::ioctl(fd.get(), SIOCGIFHWADDR, &r) != 0) return false;
    const auto type = r.ifr_hwaddr.sa_family;
    if (type != ARPHRD_ETHER && type != ARPHRD_IEEE802_TR) return false;
    ifreq w = RequestFor(if_index);
    return ::ioctl(fd.get(), kSiocGetWirelessName, &w) != 0;
}

}  // namespace

std::vector<LocalInterface> GetLocalInterfaces() {
    std::vector<LocalInterface> out;
    const IfAddrs list = ReadIfAddrs();
    for (const ifaddrs* p = list.get(); p && out.size() < kMaxLocalInterfaces; p = p->ifa_next) {
        if (!(p->ifa_flags & IFF_UP) || !IsIpv4(p->ifa_addr) || !IsIpv4(p->ifa_netmask)) continue;
        out.push_back({Ipv4Of(p->ifa_addr), Ipv4Of(p->ifa_netmask)});
    }
    return out;
}

std::vector<NetworkInterface> ListNetworkInterfaces() {
    std::vector<NetworkInterface> out;
    const IfAddrs list = ReadIfAddrs();
    for (const ifaddrs* p = list.get(); p; p = p->ifa_next) {
        if (!IsIpv4(p->ifa_addr) || !IsIpv4(p->ifa_netmask)) continue;
        const uint32_t address = Ipv4Of(p->ifa_addr);
        const uint32_t netmask = Ipv4Of(p->ifa_netmask);
        const uint32_t broadcast = DirectedBroadcast(address, netmask, BroadcastOf(*p));
        out.push_back({p->ifa_name, Dotted(address), Dotted(netmask), Dotted(broadcast),
                       (p->ifa_flags & IFF_UP) != 0, (p->ifa_flags & IFF_LOOPBACK) != 0});
    }
    return out;
}

std::optional<std::vector<IpAddressRow>> ReadIpAddressTable() {
    const IfAddrs list = ReadIfAddrs();
    if (!list) return std::nullopt;
    std::vector<IpAddressRow> table;
    for (const ifaddrs* p = list.get(); p; p = p->ifa_next) {
        if (!IsIpv4(p->ifa_addr)) continue;
        const unsigned index = ::if_nametoindex(p->ifa_name);
        if (index != 0) table.push_back({Ipv4Of(p->ifa_addr), static_cast<int>(index)});
    }
    std::stable_sort(table.begin(), table.end(), [](const IpAddressRow& a, const IpAddressRow& b) {
        return ntohl(a.address) < ntohl(b.address);
    });
    return table;
}

int FirstEthernetIndex(const std::vector<IpAddressRow>& table) {
    for (const auto& row : table) {
        if (IsEthernetInterface(row.if_index)) return row.if_index;
    }
    return -1;
}

std::optional<std::vector<Adapter>> ReadAdapters() {
    const IfAddrs list = ReadIfAddrs();
    if (!list) return std::nullopt;
    std::vector<Adapter> adapters;
    // Every interface shows up at least once (with its link-layer entry), addresses or not.
    for (const ifaddrs* p = list.get(); p; p = p->ifa_next) {
        if (p->ifa_flags & IFF_LOOPBACK) continue;
        auto it = std::find_if(adapters.begin(), adapters.end(),
                               [&](const Adapter& a) { return a.name == p->ifa_name; });
        if (it == adapters.end()) {
            const unsigned index = ::if_nametoindex(p->ifa_name);
            if (index == 0) continue;
            it = adapters.insert(adapters.end(), {static_cast<int>(index), p->ifa_name, {}});
        }
        if (IsIpv4(p->ifa_addr)) it->addresses.push_back(Dotted(Ipv4Of(p->ifa_addr)));
    }
    std::stable_sort(adapters.begin(), adapters.end(),
                     [](const Adapter& a, const Adapter& b) { return a.if_index < b.if_index; });
    return adapters;
}

int AdapterIndexOfAddress(const std::string& address_text) {
    const auto adapters = ReadAdapters();
    if (!adapters) return -1;
    auto same = [](const std::string& a, const std::string& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
        });
    };
    const std::string wanted = address_text.substr(0, 16);
    for (const auto& adapter : *adapters) {
        for (const auto& a : adapter.addresses) {
            if (same(a, wanted)) return adapter.if_index;
        }
    }
    return -1;
}

}  // namespace torvane
