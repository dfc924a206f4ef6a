// Finding devices on the network: the searches, and the device a DEVICE argument names.
#pragma once

#include <string>
#include <vector>

#include "core/address_text.h"
#include "output.h"

namespace vkctl {

struct Device {
    uint8_t model_code = 0;
    torvane::MacBytes mac{};
    std::string address;  // what the library is given: the IP address, or "" to reach the device by broadcast
    std::string ip;       // the device's IP address as its search answer gives it
    std::string label;    // how messages name the device
};

// The broadcast searches: both generations, and with `extended` the extended devices after them.
std::vector<SearchRow> SearchAll(bool extended);

// The device at one address: the search of that address, and for an extended device, which answers
// only the extended search, that search. Throws Failure (not found when nothing answers there).
SearchRow FindOne(const std::string& ip);

// The device that a DEVICE argument names: an IP address is asked directly (an extended device, which
// answers only the extended search, is looked up there); a MAC is looked up in the broadcast searches
// and the device is then reached by broadcast. Throws Failure.
Device ResolveDevice(const std::string& text);

}  // namespace vkctl
