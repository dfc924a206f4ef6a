// The text fields of the library's records that must always end with a NUL inside the field (the
// header names the others, which may fill their whole width), a check for them, and the reading and
// writing of a fixed-width text field in tests.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "vkcfg.h"

namespace vktest {

// The text of a fixed-width field: up to its first NUL or its whole width.
inline std::string Field(const char* field, size_t width) {
    return std::string(field, strnlen(field, width));
}

// Fills a field with `text` (cut to the field's width) and zeros after it.
template <size_t N>
void Put(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(N, text.size()));
}

struct TextField {
    const char* name;
    size_t offset;
    size_t width;
};

inline constexpr TextField kSearchRecordTexts[] = {
    {"ip", VK_SR_IP, 16},
    {"peer_ip", VK_SR_PEER_IP, 16},
    {"netmask", VK_SR_NETMASK, 16},
    {"gateway", VK_SR_GATEWAY, 16},
    {"dns1", VK_SR_DNS1, 16},
    {"dns2", VK_SR_DNS2, 16},
    {"channel_peer_ip[0]", VK_SR_CHANNEL_PEER_IP + 0 * 16, 16},
    {"channel_peer_ip[1]", VK_SR_CHANNEL_PEER_IP + 1 * 16, 16},
    {"channel_peer_ip[2]", VK_SR_CHANNEL_PEER_IP + 2 * 16, 16},
    {"channel_peer_ip[3]", VK_SR_CHANNEL_PEER_IP + 3 * 16, 16},
    {"channel_peer_ip[4]", VK_SR_CHANNEL_PEER_IP + 4 * 16, 16},
    {"channel_peer_ip[5]", VK_SR_CHANNEL_PEER_IP + 5 * 16, 16},
    {"channel_peer_ip[6]", VK_SR_CHANNEL_PEER_IP + 6 * 16, 16},
};

#define VKTEST_SP(f) \
    { #f, offsetof(VkParamSinglePort, f), sizeof(VkParamSinglePort::f) }
inline constexpr TextField kSinglePortTexts[] = {
    VKTEST_SP(ip),      VKTEST_SP(peer_ip), VKTEST_SP(netmask),
    VKTEST_SP(gateway), VKTEST_SP(dns1),    VKTEST_SP(dns2),
};
#undef VKTEST_SP

#define VKTEST_MP(f) \
    { #f, offsetof(VkParamMultiPort, f), sizeof(VkParamMultiPort::f) }
#define VKTEST_CH(i) \
    { "channels[" #i "].peer_ip", VK_PARAM_MULTI_HEAD_SIZE + (i)*VK_PARAM_CHANNEL_SIZE + 4, 16 }
inline constexpr TextField kMultiPortTexts[] = {
    VKTEST_MP(ip), VKTEST_MP(netmask), VKTEST_MP(gateway), VKTEST_MP(dns1), VKTEST_MP(dns2),
    VKTEST_CH(0),  VKTEST_CH(1),       VKTEST_CH(2),       VKTEST_CH(3),    VKTEST_CH(4),
    VKTEST_CH(5),  VKTEST_CH(6),       VKTEST_CH(7),
};
#undef VKTEST_MP
#undef VKTEST_CH

#define VKTEST_WB(f) \
    { #f, offsetof(VkaWorkBlock, f), sizeof(VkaWorkBlock::f) }
inline constexpr TextField kWorkBlockTexts[] = {
    VKTEST_WB(ip),        VKTEST_WB(peer_ip),  VKTEST_WB(gateway),     VKTEST_WB(netmask),
    VKTEST_WB(dns1),      VKTEST_WB(dns2),     VKTEST_WB(device_name), VKTEST_WB(firmware_version),
    VKTEST_WB(user_name), VKTEST_WB(password),
};
#undef VKTEST_WB

// The first of `fields` (up to `size` bytes of the record) without a NUL inside it; empty when every
// one ends with a NUL.
inline std::string UnterminatedText(const void* record, size_t size, std::span<const TextField> fields) {
    const auto* bytes = static_cast<const unsigned char*>(record);
    for (const auto& f : fields) {
        if (f.offset + f.width > size) continue;
        if (std::memchr(bytes + f.offset, 0, f.width) == nullptr) return f.name;
    }
    return {};
}

}  // namespace vktest
