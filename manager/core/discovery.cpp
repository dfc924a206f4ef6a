#include "core/discovery.h"

#include <algorithm>
#include <set>

namespace torvane {
namespace {

// A device heard again takes its latest answer and route, and keeps its place.
void MergeByMac(std::vector<RoutedDevice>& devices, const FoundDevice& found, const SearchRoute& route) {
    const auto it = std::find_if(devices.begin(), devices.end(),
                                 [&](const RoutedDevice& d) { return d.device.mac == found.mac; });
    if (it == devices.end()) {
        devices.push_back({found, route});
    } else {
        *it = {found, route};
    }
}

}  // namespace

Discovery Discover(DeviceLibrary& library, BroadcastSetting& setting, const std::vector<SearchRoute>& routes,
                   int rounds, bool extended) {
    Discovery out;
    std::vector<std::set<MacBytes>> heard(routes.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t r = 0; r < routes.size(); ++r) {
            Lookup lookup;
            {
                BroadcastScope scope(setting, routes[r]);
                lookup = SearchDevices(library, extended);
            }
            if (lookup.result != VK_OK) {
                out.result = lookup.result;
                out.failed_search = lookup.failed_search;
                if (routes[r].through_interface())
                    out.failed_search += " through " + RouteText(routes[r], AddressInUse(setting));
                return out;
            }
            for (const auto& found : lookup.devices) {
                MergeByMac(out.devices, found, routes[r]);
                heard[r].insert(found.mac);
            }
        }
    }
    for (size_t r = 0; r < routes.size(); ++r)
        out.tallies.push_back({routes[r], heard[r].size()});
    return out;
}

}  // namespace torvane
