#include "support/noting_library.h"

namespace torvane::test {

int NotingLibrary::vk_search_all(VkSearchRecord* records, int* count) {
    note_("vk_search_all");
    return inner_.vk_search_all(records, count);
}

int NotingLibrary::vk_search_one(const char* ip, VkSearchRecord* record) {
    note_(std::string("vk_search_one ") + ip);
    return inner_.vk_search_one(ip, record);
}

int NotingLibrary::vk_search_all_ex(VkSearchRecordEx* slots, int* count) {
    note_("vk_search_all_ex");
    return inner_.vk_search_all_ex(slots, count);
}

int NotingLibrary::vk_login(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    note_(std::string("vk_login ") + ip);
    return inner_.vk_login(ip, mac, login);
}

int NotingLibrary::vk_logout(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    note_(std::string("vk_logout ") + ip);
    return inner_.vk_logout(ip, mac, login);
}

int NotingLibrary::vk_read_setting(const char* ip, const uint8_t* mac, VkParamRecord* record,
                                   const LoginRecord* login) {
    note_(std::string("vk_read_setting ") + ip);
    return inner_.vk_read_setting(ip, mac, record, login);
}

int NotingLibrary::vk_write_setting(const char* ip, const uint8_t* mac, const VkParamRecord* record,
                                    const LoginRecord* login) {
    note_(std::string("vk_write_setting ") + ip);
    return inner_.vk_write_setting(ip, mac, record, login);
}

int NotingLibrary::vk_read_setting_ex(const char* ip, const uint8_t* mac, uint8_t* payload,
                                      const LoginRecord* login) {
    note_(std::string("vk_read_setting_ex ") + ip);
    return inner_.vk_read_setting_ex(ip, mac, payload, login);
}

int NotingLibrary::vk_write_setting_ex(const char* ip, const uint8_t* mac, const uint8_t* payload, int length,
                                       const LoginRecord* login) {
    note_(std::string("vk_write_setting_ex ") + ip);
    return inner_.vk_write_setting_ex(ip, mac, payload, length, login);
}

}  // namespace torvane::test
