// Finding devices by the library's searches when no device list is at hand (vkctl): every device of the
// broadcast searches, the device at one address, the device with one MAC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/address_text.h"
#include "core/device_library.h"

namespace torvane {

// One device as a search found it, from either search. Texts are device bytes.
struct FoundDevice {
    uint8_t model_code = 0;
    std::string firmware_version;
    std::string device_name;
    MacBytes mac{};
    std::string ip;
    std::optional<uint16_t> local_port;  // the extended search carries none
    std::string peer_ip;
    std::string netmask;
    std::string gateway;
    std::string dns1;
    std::string dns2;
    std::vector<std::string> channel_peer_ip;  // multi-port: peer addresses of channels 1 .. n-1
};

FoundDevice FoundDeviceOf(const VkSearchRecord& record);
FoundDevice FoundDeviceOf(const VkSearchRecordEx& slot);

struct Lookup {
    int result = VK_OK;         // of the search that failed, or VK_OK
    std::string failed_search;  // which: "search", "extended search", "search of 10.0.0.5"
    std::vector<FoundDevice> devices;
};

// The broadcast search of both generations and, with `extended`, the extended devices after them (only
// those: the others answer the standard search as well).
Lookup SearchDevices(DeviceLibrary& library, bool extended);

// The device at one address: its search by address and, when nothing answers there, the extended
// device of the extended search that has the address (it answers only that search).
Lookup FindAt(DeviceLibrary& library, const std::string& ip);

// The device with the MAC among the answers of the broadcast searches.
Lookup FindByMac(DeviceLibrary& library, const MacBytes& mac);

}  // namespace torvane
