// The ways out of the workstation that a broadcast search can take. The library broadcasts to one
// address per operation (255.255.255.255, or what its environment sets); a workstation with several
// network interfaces is searched completely by sending to each interface's directed broadcast address
// (192.168.5.255 for 192.168.5.10/24) in turn. These are the interfaces, the routes made of them, the
// seam that points the library's broadcast address at a route, and the texts that say what was used.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace torvane {

// One IPv4 address of a network interface of the workstation (an interface with two addresses shows
// up twice). Addresses are dotted texts.
struct NetworkInterface {
    std::string name;  // "eth0"
    std::string address;
    std::string netmask;
    std::string broadcast;  // the directed broadcast address of the interface's subnet
    bool up = false;
    bool loopback = false;
};

// Where a search broadcasts: through one interface's directed broadcast address, or (an empty
// interface name) to the library's broadcast address as it is configured.
struct SearchRoute {
    std::string interface_name;
    std::string broadcast;

    bool through_interface() const { return !interface_name.empty(); }
    bool operator==(const SearchRoute&) const = default;
};

// How many different devices a search heard through a route.
struct RouteTally {
    SearchRoute route;
    size_t devices = 0;
};

// The route of the library's own setting: what a search without a chosen interface takes.
inline SearchRoute LibraryRoute() {
    return {};
}

// The route through one interface address.
SearchRoute RouteThrough(const NetworkInterface& interface);

// Every IPv4 interface address that is up and not loopback, in the order given.
std::vector<SearchRoute> RoutesThroughAll(const std::vector<NetworkInterface>& interfaces);

// The routes through the named interfaces (each with all of its addresses; names in the order given,
// each once) and the names that no interface that is up carries.
struct RouteChoice {
    std::vector<SearchRoute> routes;
    std::vector<std::string> missing;
};
RouteChoice RoutesThroughNamed(const std::vector<NetworkInterface>& interfaces,
                               const std::vector<std::string>& names);

// "eth1 (broadcast address 10.9.6.255)", or "broadcast address 127.255.255.255" for the library's
// route with the address it uses.
std::string RouteText(const SearchRoute& route, const std::string& library_address);

// The library's broadcast address setting, which it reads when each operation starts.
class BroadcastSetting {
  public:
    virtual ~BroadcastSetting() = default;
    // The configured address text; nullopt when none is set (the library then uses 255.255.255.255).
    virtual std::optional<std::string> Get() const = 0;
    // Sets the address (nullopt: none set) for the operations that follow.
    virtual void Put(const std::optional<std::string>& address) = 0;
};

// The address the library's operations broadcast to under the setting as it stands.
std::string AddressInUse(const BroadcastSetting& setting);

// Points the library at a route for the length of the scope and puts the previous setting back after
// it. The library's route changes nothing.
class BroadcastScope {
  public:
    BroadcastScope(BroadcastSetting& setting, const SearchRoute& route) : BroadcastScope(&setting, route) {}
    // Without a setting nothing is pointed anywhere.
    BroadcastScope(BroadcastSetting* setting, const SearchRoute& route);
    ~BroadcastScope();
    BroadcastScope(const BroadcastScope&) = delete;
    BroadcastScope& operator=(const BroadcastScope&) = delete;

  private:
    BroadcastSetting* setting_;
    bool changed_;
    std::optional<std::string> previous_;
};

}  // namespace torvane
