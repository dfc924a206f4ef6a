// The routes of vkctl search: the library's broadcast address, or the directed broadcast addresses of
// the interfaces that --interface names ("all": every IPv4 interface that is up and not loopback).
#pragma once

#include <string>
#include <vector>

#include "core/search_route.h"

namespace vkctl {

// Throws Failure: usage for a name that no interface that is up carries, a failure when "all" finds
// no interface to search through.
std::vector<torvane::SearchRoute> ChooseRoutes(const std::vector<torvane::NetworkInterface>& interfaces,
                                               const std::vector<std::string>& names);

}  // namespace vkctl
