#include "core/search_route.h"

#include <algorithm>

namespace torvane {

SearchRoute RouteThrough(const NetworkInterface& interface) {
    return {interface.name, interface.broadcast};
}

std::vector<SearchRoute> RoutesThroughAll(const std::vector<NetworkInterface>& interfaces) {
    std::vector<SearchRoute> routes;
    for (const auto& i : interfaces) {
        if (i.up && !i.loopback) routes.push_back(RouteThrough(i));
    }
    return routes;
}

RouteChoice RoutesThroughNamed(const std::vector<NetworkInterface>& interfaces,
                               const std::vector<std::string>& names) {
    RouteChoice choice;
    std::vector<std::string> seen;
    for (const auto& name : names) {
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
        seen.push_back(name);
        bool found = false;
        for (const auto& i : interfaces) {
            if (i.name != name || !i.up) continue;
            choice.routes.push_back(RouteThrough(i));
            found = true;
        }
        if (!found) choice.missing.push_back(name);
    }
    return choice;
}

std::string RouteText(const SearchRoute& route, const std::string& library_address) {
    if (!route.through_interface()) return "broadcast address " + library_address;
    return route.interface_name + " (broadcast address " + route.broadcast + ")";
}

std::string AddressInUse(const BroadcastSetting& setting) {
    const auto configured = setting.Get();
    return configured && !configured->empty() ? *configured : "255.255.255.255";
}

BroadcastScope::BroadcastScope(BroadcastSetting* setting, const SearchRoute& route)
    : setting_(setting), changed_(setting != nullptr && route.through_interface()) {
    if (!changed_) return;
    previous_ = setting_->Get();
    setting_->Put(route.broadcast);
}

BroadcastScope::~BroadcastScope() {
    if (changed_) setting_->Put(previous_);
}

}  // namespace torvane
