// The manager's seam to the device configuration library: the calls of vkcfg that the device list and
// the address book make, with the library's own arguments and result codes. VkcfgLibrary calls the
// real exports; tests put a scripted implementation in its place.
#pragma once

#include "vkcfg.h"

namespace torvane {

class DeviceLibrary {
  public:
    virtual ~DeviceLibrary() = default;
    // Broadcast search of both generations; *count holds the capacity on entry and the number of
    // records written on return. VK_OK on success.
    virtual int vk_search_all(VkSearchRecord* records, int* count) = 0;
    // Search of one address (NUL-terminated dotted text) into a caller's 514-byte record.
    virtual int vk_search_one(const char* ip, VkSearchRecord* record) = 0;
    // Extended search: raw 360-byte answer payloads; count as vk_search_all.
    virtual int vk_search_all_ex(VkSearchRecordEx* slots, int* count) = 0;
};

class VkcfgLibrary final : public DeviceLibrary {
  public:
    int vk_search_all(VkSearchRecord* records, int* count) override;
    int vk_search_one(const char* ip, VkSearchRecord* record) override;
    int vk_search_all_ex(VkSearchRecordEx* slots, int* count) override;
};

}  // namespace torvane
