#include "core/device_lookup.h"

#include <algorithm>

#include "core/field_text.h"
#include "core/model_family.h"

namespace torvane {
namespace {

constexpr int kCapacity = 1024;  // as many records as the manager's searches take

Lookup Failed(int result, std::string what) {
    return Lookup{result, std::move(what), {}};
}

Lookup StandardSearch(DeviceLibrary& library) {
    std::vector<VkSearchRecord> records(kCapacity);
    int count = kCapacity;
    const int result = library.vk_search_all(records.data(), &count);
    if (result != VK_OK) return Failed(result, "search");
    Lookup found;
    for (int i = 0; i < count; ++i)
        found.devices.push_back(FoundDeviceOf(records[static_cast<size_t>(i)]));
    return found;
}

Lookup ExtendedSearch(DeviceLibrary& library) {
    std::vector<VkSearchRecordEx> slots(kCapacity);
    int count = kCapacity;
    const int result = library.vk_search_all_ex(slots.data(), &count);
    if (result != VK_OK) return Failed(result, "extended search");
    Lookup found;
    for (int i = 0; i < count; ++i) {
        const auto& slot = slots[static_cast<size_t>(i)];
        if (IsExtendedDevice(slot.model_code)) found.devices.push_back(FoundDeviceOf(slot));
    }
    return found;
}

// The first device of the lookup that `wanted` accepts, or the lookup's failure.
template <typename Wanted>
Lookup FirstOf(Lookup all, Wanted wanted) {
    if (all.result != VK_OK) return all;
    Lookup one;
    const auto it = std::find_if(all.devices.begin(), all.devices.end(), wanted);
    if (it != all.devices.end()) one.devices.push_back(*it);
    return one;
}

}  // namespace

FoundDevice FoundDeviceOf(const VkSearchRecord& r) {
    FoundDevice d;
    d.model_code = r.model_code;
    d.firmware_version = FieldText(r.firmware_version);
    d.device_name = FieldText(r.device_name);
    std::copy(std::begin(r.mac), std::end(r.mac), d.mac.begin());
    d.ip = FieldText(r.ip);
    d.local_port = r.local_port;
    d.peer_ip = FieldText(r.peer_ip);
    d.netmask = FieldText(r.netmask);
    d.gateway = FieldText(r.gateway);
    d.dns1 = FieldText(r.dns1);
    d.dns2 = FieldText(r.dns2);
    if (HasMultiPortCode(r.model_code)) {
        const int channels = std::min(ChannelCount(r.model_code), VK_MAX_CHANNELS);
        for (int k = 1; k < channels; ++k)
            d.channel_peer_ip.push_back(FieldText(r.channel_peer_ip[k - 1]));
    }
    return d;
}

FoundDevice FoundDeviceOf(const VkSearchRecordEx& s) {
    FoundDevice d;
    d.model_code = s.model_code;
    d.firmware_version = FieldText(s.firmware_version);
    d.device_name = FieldText(s.device_name);
    std::copy(std::begin(s.mac), std::end(s.mac), d.mac.begin());
    d.ip = IpBytesToText(s.ip);
    d.peer_ip = IpBytesToText(s.peer_ip);
    d.netmask = IpBytesToText(s.netmask);
    d.gateway = IpBytesToText(s.gateway);
    d.dns1 = IpBytesToText(s.dns1);
    d.dns2 = IpBytesToText(s.dns2);
    return d;
}

Lookup SearchDevices(DeviceLibrary& library, bool extended) {
    Lookup all = StandardSearch(library);
    if (all.result != VK_OK || !extended) return all;
    Lookup more = ExtendedSearch(library);
    if (more.result != VK_OK) return more;
    all.devices.insert(all.devices.end(), more.devices.begin(), more.devices.end());
    return all;
}

Lookup FindAt(DeviceLibrary& library, const std::string& ip) {
    VkSearchRecord record{};
    const int result = library.vk_search_one(ip.c_str(), &record);
    if (result == VK_OK) return Lookup{VK_OK, {}, {FoundDeviceOf(record)}};
    if (result != VK_ERR_NO_ANSWER) return Failed(result, "search of " + ip);
    return FirstOf(ExtendedSearch(library), [&](const FoundDevice& d) { return d.ip == ip; });
}

Lookup FindByMac(DeviceLibrary& library, const MacBytes& mac) {
    Lookup standard = FirstOf(StandardSearch(library), [&](const FoundDevice& d) { return d.mac == mac; });
    if (standard.result != VK_OK || !standard.devices.empty()) return standard;
    return FirstOf(ExtendedSearch(library), [&](const FoundDevice& d) { return d.mac == mac; });
}

}  // namespace torvane
