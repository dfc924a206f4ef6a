#include "core/discovery_hints.h"

#include "vkcfg.h"

namespace torvane {
namespace {

std::string LocalPort() {
    return std::to_string(VK_LOCAL_PORT);
}

}  // namespace

std::string NoDeviceAnsweredHint(const std::string& broadcast_address) {
    return "No device answered the local search. Check that the network interface is up, that a "
           "firewall lets UDP datagrams in on port " +
           LocalPort() + ", and the broadcast address in use: " + broadcast_address +
           " (set by VKCFG_BROADCAST).";
}

std::string NoDeviceAnsweredThroughHint(const SearchRoute& route) {
    return "No device answered the local search through " + route.interface_name + " (broadcast address " +
           route.broadcast +
           "). Check that the network interface is up and that a firewall lets UDP "
           "datagrams in on port " +
           LocalPort() + ".";
}

std::string InterfaceNotUpHint(const std::string& interface_name) {
    return "The local search leaves out " + interface_name +
           ": no IPv4 network interface of that name is up.";
}

std::vector<std::string> SilentRouteHints(const std::vector<RouteTally>& tallies,
                                          const std::string& library_address) {
    std::vector<std::string> hints;
    for (const auto& t : tallies) {
        if (t.devices > 0) continue;
        hints.push_back(t.route.through_interface() ? NoDeviceAnsweredThroughHint(t.route)
                                                    : NoDeviceAnsweredHint(library_address));
    }
    return hints;
}

std::string SearchRoutesLine(const std::vector<SearchRoute>& routes, const std::string& library_address) {
    std::string line = "Local search through ";
    for (size_t i = 0; i < routes.size(); ++i) {
        if (i > 0) line += ", ";
        const SearchRoute& r = routes[i];
        line += r.through_interface() ? r.interface_name + " (" + r.broadcast + ")" : library_address;
    }
    return line + ".";
}

}  // namespace torvane
