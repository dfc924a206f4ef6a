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

}  // namespace torvane
