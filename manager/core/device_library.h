// The manager's seam to the device configuration library: the calls of vkcfg that the device list, the
// address book and the device session make, with the library's own arguments and result codes.
// VkcfgLibrary calls the real exports; tests put a scripted implementation in its place.
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

    // The login session and the parameter block (ip: NUL-terminated dotted text, empty for a broadcast
    // that names the device by its six MAC bytes).
    virtual int vk_login(const char* ip, const uint8_t* mac, const LoginRecord* login) = 0;
    virtual int vk_logout(const char* ip, const uint8_t* mac, const LoginRecord* login) = 0;
    virtual int vk_read_setting(const char* ip, const uint8_t* mac, VkParamRecord* record,
                                const LoginRecord* login) = 0;
    virtual int vk_write_setting(const char* ip, const uint8_t* mac, const VkParamRecord* record,
                                 const LoginRecord* login) = 0;
    // The extended device's block: the read fills at least VK_EX_PAYLOAD_MAX bytes of `payload`.
    virtual int vk_read_setting_ex(const char* ip, const uint8_t* mac, uint8_t* payload,
                                   const LoginRecord* login) = 0;
    virtual int vk_write_setting_ex(const char* ip, const uint8_t* mac, const uint8_t* payload, int length,
                                    const LoginRecord* login) = 0;
};

class VkcfgLibrary final : public DeviceLibrary {
  public:
    int vk_search_all(VkSearchRecord* records, int* count) override;
    int vk_search_one(const char* ip, VkSearchRecord* record) override;
    int vk_search_all_ex(VkSearchRecordEx* slots, int* count) override;
    int vk_login(const char* ip, const uint8_t* mac, const LoginRecord* login) override;
    int vk_logout(const char* ip, const uint8_t* mac, const LoginRecord* login) override;
    int vk_read_setting(const char* ip, const uint8_t* mac, VkParamRecord* record,
                        const LoginRecord* login) override;
    int vk_write_setting(const char* ip, const uint8_t* mac, const VkParamRecord* record,
                         const LoginRecord* login) override;
    int vk_read_setting_ex(const char* ip, const uint8_t* mac, uint8_t* payload,
                           const LoginRecord* login) override;
    int vk_write_setting_ex(const char* ip, const uint8_t* mac, const uint8_t* payload, int length,
                            const LoginRecord* login) override;
};

}  // namespace torvane
