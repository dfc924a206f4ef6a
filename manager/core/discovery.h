// A search that finds every device that can be found: the broadcast searches repeated in rounds (a
// device whose request or answer was lost in one round answers in another) and sent through every
// chosen route in turn, the results merged by MAC.
#pragma once

#include <string>
#include <vector>

#include "core/device_library.h"
#include "core/device_lookup.h"
#include "core/search_route.h"

namespace torvane {

// The rounds a search makes unless told otherwise. When each round loses a device with probability p,
// N rounds lose it with p^N: at 10 % loss three rounds miss one device of a thousand, two rounds one
// of a hundred (discovery_bench measures it).
inline constexpr int kDefaultSearchRounds = 3;

struct RoutedDevice {
    FoundDevice device;  // the latest answer heard
    SearchRoute route;   // through which it was heard
};

struct Discovery {
    int result = VK_OK;                 // of the search that failed, or VK_OK
    std::string failed_search;          // which: "search through eth1 (broadcast address 10.9.6.255)"
    std::vector<RoutedDevice> devices;  // in the order they were first heard
    std::vector<RouteTally> tallies;    // one per route, in the routes' order
};

// `rounds` rounds; in each, the broadcast searches (with `extended` the extended search too) through
// every route in turn, the library pointed at the route for its searches. A device heard again takes
// its latest answer and route. The first failing search ends the discovery with its result.
Discovery Discover(DeviceLibrary& library, BroadcastSetting& setting, const std::vector<SearchRoute>& routes,
                   int rounds, bool extended);

}  // namespace torvane
