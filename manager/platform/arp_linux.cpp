// ARP rows through the kernel's ARP ioctls. The kernel refuses changes without CAP_NET_ADMIN; its error
// code is the result of an add and is ignored for a delete.
#include <arpa/inet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/net_func.h"
#include "platform/unique_fd.h"

namespace torvane {
namespace {

// Whether `name` (at most IF_NAMESIZE - 1 bytes) could be had; the ARP request names its interface.
bool InterfaceName(int if_index, char (&name)[IF_NAMESIZE]) {
    return if_index > 0 && ::if_indextoname(static_cast<unsigned>(if_index), name) != nullptr;
}

arpreq Request(uint32_t address, const char (&device)[IF_NAMESIZE]) {
    arpreq r{};
    auto* pa = reinterpret_cast<sockaddr_in*>(&r.arp_pa);
    pa->sin_family = AF_INET;
    pa->sin_addr.s_addr = address;
    static_assert(sizeof r.arp_dev >= IF_NAMESIZE);
    std::memcpy(r.arp_dev, device, IF_NAMESIZE);
    return r;
}

// 0 or the errno of the ioctl.
int ArpIoctl(unsigned long request, arpreq& r) {
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd) return errno;
    return ::ioctl(fd.get(), request, &r) == 0 ? 0 : errno;
}

int ParseIndexText(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0)
        throw NetFuncError("Not an interface index: \"" + text + "\"");
    return value;
}

int FirstEthernetInterface() {
    const auto table = ReadIpAddressTable();
    if (!table) throw NetFuncError("The workstation's address table cannot be read");
    const int index = FirstEthernetIndex(*table);
    if (index < 0) throw NetFuncError("The workstation has no Ethernet interface with an IPv4 address");
    return index;
}

void DeleteArpEntry(uint32_t address, int if_index) {
    char name[IF_NAMESIZE] = {};
    if (!InterfaceName(if_index, name)) return;
    arpreq r = Request(address, name);
    ArpIoctl(SIOCDARP, r);
}

// The kernel's ARP table of this thread's network namespace, as text.
std::ifstream OpenArpTable() {
    std::ifstream in("/proc/thread-self/net/arp");
    if (!in) in.open("/proc/self/net/arp");
    return in;
}

void FlushArpTable(int if_index) {
    char name[IF_NAMESIZE] = {};
    if (!InterfaceName(if_index, name)) return;
    std::ifstream table = OpenArpTable();
    std::string line;
    std::getline(table, line);  // the header
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string ip, hw_type, flags, hw_address, mask, device;
        if (!(fields >> ip >> hw_type >> flags >> hw_address >> mask >> device) || device != name) continue;
        in_addr a{};
        if (::inet_pton(AF_INET, ip.c_str(), &a) == 1) DeleteArpEntry(a.s_addr, if_index);
    }
}

}  // namespace

int SetArpEntry(const std::string& ip_text, const std::string& arp_mac_text, const std::string& index_text) {
    const MacBytes mac = ParseArpMac(arp_mac_text);
    const uint32_t address = InetAddr(ip_text);
    const int if_index = index_text.empty() ? FirstEthernetInterface() : ParseIndexText(index_text);

    char name[IF_NAMESIZE] = {};
    if (!InterfaceName(if_index, name)) return ENODEV;
    arpreq r = Request(address, name);
    r.arp_ha.sa_family = ARPHRD_ETHER;
    std::memcpy(r.arp_ha.sa_data, mac.data(), mac.size());
    r.arp_flags = ATF_COM;  // a complete entry, not permanent: a dynamic row
    return ArpIoctl(SIOCSARP, r);
}

void DeleteArpEntries(const std::string& ip_text, const std::string& adapter_text) {
    const bool all = ip_text == "*";
    const uint32_t address = all ? 0 : InetAddr(ip_text);
    if (!adapter_text.empty()) {
        if (InetAddr(adapter_text) == INADDR_NONE) return;
        const int index = AdapterIndexOfAddress(adapter_text);
        if (index < 0) throw NetFuncError("No adapter of the workstation has the address " + adapter_text);
        all ? FlushArpTable(index) : DeleteArpEntry(address, index);
        return;
    }
    const auto adapters = ReadAdapters();
    if (!adapters) return;
    for (const auto& adapter : *adapters)
        all ? FlushArpTable(adapter.if_index) : DeleteArpEntry(address, adapter.if_index);
}

}  // namespace torvane
