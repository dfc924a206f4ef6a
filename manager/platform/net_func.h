// NetFunc: the workstation's own network configuration as the manager uses it: its IPv4 interfaces,
// its address table and adapters, and the ARP rows that the device session puts in and takes out.
// Linux implementation (getifaddrs, SIOCSARP / SIOCDARP).
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/address_text.h"
#include "core/search_route.h"
#include "core/subnet.h"

namespace torvane {

// An operation refused its arguments; raised before anything was changed.
struct NetFuncError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Address and netmask of every interface that is up, loopback included, at most 13; empty on failure.
std::vector<LocalInterface> GetLocalInterfaces();

// Every IPv4 address of every interface, up or down, loopback included, in the OS's order, with the
// interface's name and the directed broadcast address of the address's subnet (the interface's own
// broadcast address where it has one, else the address with every host bit set). Empty on failure.
std::vector<NetworkInterface> ListNetworkInterfaces();

// One row of the workstation's IPv4 address table.
struct IpAddressRow {
    uint32_t address = 0;  // network order
    int if_index = 0;
};
// The table sorted by address; nothing when it cannot be read.
std::optional<std::vector<IpAddressRow>> ReadIpAddressTable();

// The interface of the first row whose interface is Ethernet (or token ring), in table order; -1 when
// there is none. Wireless interfaces do not count.
int FirstEthernetIndex(const std::vector<IpAddressRow>& table);

// An adapter: a network interface other than loopback, with its IPv4 addresses as dotted texts.
struct Adapter {
    int if_index = 0;
    std::string name;
    std::vector<std::string> addresses;
};
// The adapters in interface order; nothing when they cannot be read.
std::optional<std::vector<Adapter>> ReadAdapters();

// The interface of the first adapter that has the address (compared without regard to ASCII case);
// -1 when no adapter has it or the adapters cannot be read.
int AdapterIndexOfAddress(const std::string& address_text);

// Six bytes of an ARP MAC text: 17 characters, pairs of hexadecimal digits with "-" between them.
// Throws NetFuncError for any other text.
MacBytes ParseArpMac(const std::string& arp_mac_text);

// Puts a dynamic ARP row for the address with the MAC on the interface whose index is the decimal
// `index_text`, or on the first Ethernet interface when it is empty. Returns the OS's result: 0, or the
// error code (errno) of a refused add, for example without the privilege. Throws NetFuncError, adding
// nothing, for a bad MAC text, an index that is negative or no number, or when no Ethernet interface
// is found.
int SetArpEntry(const std::string& ip_text, const std::string& arp_mac_text, const std::string& index_text);

// Deletes the ARP row of the address ("*": all rows) on the adapter that has the address
// `adapter_text`, or on every adapter when it is empty. An adapter text that is no address does
// nothing; one that is an address of no adapter throws NetFuncError, deleting nothing. Failures of
// single deletions are ignored.
void DeleteArpEntries(const std::string& ip_text, const std::string& adapter_text);

}  // namespace torvane
