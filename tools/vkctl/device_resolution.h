// The devices that vkctl's arguments name, found by the core's lookups; a failed or empty lookup ends
// the run with its Failure.
#pragma once

#include <string>
#include <vector>

#include "core/device_library.h"
#include "core/device_lookup.h"
#include "core/device_session.h"

namespace vkctl {

struct Device {
    torvane::SessionDevice session;  // model, MAC, the address the library is given ("" by MAC), label
    std::string ip;                  // the device's IP address as its search answer gives it
};

// The broadcast searches: both generations, and with `extended` the extended devices after them.
std::vector<torvane::FoundDevice> SearchAll(torvane::DeviceLibrary& library, bool extended);

// The device at one address. Throws Failure (not found when nothing answers there).
torvane::FoundDevice FindOne(torvane::DeviceLibrary& library, const std::string& ip);

// The device that a DEVICE argument names: an IP address is asked directly; a MAC is looked up in the
// broadcast searches and the device is then reached by broadcast. Throws Failure.
Device ResolveDevice(torvane::DeviceLibrary& library, const std::string& text);

}  // namespace vkctl
