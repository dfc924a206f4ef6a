// What the local search tells the operator about the ways it took: the addresses it broadcast to, and
// what to check when nothing answered through one of them. Torvane writes these lines into its log
// pane, vkctl onto stderr, so that both say the same.
#pragma once

#include <string>
#include <vector>

#include "core/search_route.h"

namespace torvane {

// After a local search through the library's own broadcast address that heard no device at all.
std::string NoDeviceAnsweredHint(const std::string& broadcast_address);

// After a local search that heard no device through one chosen interface.
std::string NoDeviceAnsweredThroughHint(const SearchRoute& route);

// A chosen interface that is not up (or has no IPv4 address) when a local search starts.
std::string InterfaceNotUpHint(const std::string& interface_name);

// One hint for every route through which nothing answered, in the routes' order.
std::vector<std::string> SilentRouteHints(const std::vector<RouteTally>& tallies,
                                          const std::string& library_address);

// The addresses one local search broadcast to: "Local search through 127.255.255.255." or "Local search
// through eth0 (192.168.5.255), eth1 (10.9.6.255)." (`library_address` for the library's own route).
std::string SearchRoutesLine(const std::vector<SearchRoute>& routes, const std::string& library_address);

}  // namespace torvane
