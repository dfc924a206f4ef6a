#include "device_resolution.h"

#include "device_argument.h"
#include "exit_status.h"

namespace vkctl {
namespace {

// The devices of a lookup; a failed search ends the run.
std::vector<torvane::FoundDevice> DevicesOf(const torvane::Lookup& lookup) {
    if (lookup.result != VK_OK) throw Failure::FromResult(lookup.failed_search, lookup.result);
    return lookup.devices;
}

Device FromFound(const torvane::FoundDevice& found, std::string address, std::string label) {
    return Device{{found.model_code, found.mac, std::move(address), std::move(label)}, found.ip};
}

}  // namespace

std::vector<torvane::FoundDevice> SearchAll(torvane::DeviceLibrary& library, bool extended) {
    return DevicesOf(torvane::SearchDevices(library, extended));
}

torvane::FoundDevice FindOne(torvane::DeviceLibrary& library, const std::string& ip) {
    const auto found = DevicesOf(torvane::FindAt(library, ip));
    if (found.empty()) throw Failure(ExitStatus::kNotFound, "no device answered at " + ip);
    return found.front();
}

Device ResolveDevice(torvane::DeviceLibrary& library, const std::string& text) {
    const auto parsed = ParseDeviceArgument(text);
    if (!parsed)
        throw Failure(ExitStatus::kUsage,
                      "\"" + text +
                          "\" names no device: an IPv4 address, a MAC as 0.26.43.60.77.94 or "
                          "00-1A-2B-3C-4D-5E is expected");
    if (parsed->kind == DeviceArgument::Kind::kIp)
        return FromFound(FindOne(library, parsed->ip), parsed->ip, parsed->ip);
    const auto found = DevicesOf(torvane::FindByMac(library, parsed->mac));
    if (found.empty())
        throw Failure(ExitStatus::kNotFound, "no device with MAC " + text + " answered the search");
    return FromFound(found.front(), "", text);
}

}  // namespace vkctl
