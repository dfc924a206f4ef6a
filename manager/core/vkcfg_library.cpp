#include "core/device_library.h"

namespace torvane {

int VkcfgLibrary::vk_search_all(VkSearchRecord* records, int* count) {
    return ::vk_search_all(records, count);
}

int VkcfgLibrary::vk_search_one(const char* ip, VkSearchRecord* record) {
    return ::vk_search_one(ip, record);
}

int VkcfgLibrary::vk_search_all_ex(VkSearchRecordEx* slots, int* count) {
    return ::vk_search_all_ex(slots, count);
}

int VkcfgLibrary::vk_login(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    return ::vk_login(ip, mac, login);
}

int VkcfgLibrary::vk_logout(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    return ::vk_logout(ip, mac, login);
}

int VkcfgLibrary::vk_read_setting(const char* ip, const uint8_t* mac, VkParamRecord* record,
                                  const LoginRecord* login) {
    return ::vk_read_setting(ip, mac, record, login);
}

int VkcfgLibrary::vk_write_setting(const char* ip, const uint8_t* mac, const VkParamRecord* record,
                                   const LoginRecord* login) {
    return ::vk_write_setting(ip, mac, record, login);
}

int VkcfgLibrary::vk_read_setting_ex(const char* ip, const uint8_t* mac, uint8_t* payload,
                                     const LoginRecord* login) {
    return ::vk_read_setting_ex(ip, mac, payload, login);
}

int VkcfgLibrary::vk_write_setting_ex(const char* ip, const uint8_t* mac, const uint8_t* payload, int length,
                                      const LoginRecord* login) {
    return ::vk_write_setting_ex(ip, mac, payload, length, login);
}

}  // namespace torvane
