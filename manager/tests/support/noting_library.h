// A DeviceLibrary that hands every call on to another one and first notes it as one line ("vk_search_all",
// "vk_search_one 10.0.0.7", "vk_login 10.0.0.7"...), so that a test can put library calls into the
// same list as the other things it watches.
#pragma once

#include <functional>
#include <string>

#include "core/device_library.h"

namespace torvane::test {

class NotingLibrary final : public DeviceLibrary {
  public:
    NotingLibrary(DeviceLibrary& inner, std::function<void(const std::string&)> note)
        : inner_(inner), note_(std::move(note)) {}

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

  private:
    DeviceLibrary& inner_;
    std::function<void(const std::string&)> note_;
};

}  // namespace torvane::test
