// The exported C interface: check the arguments, call the operation, and never let anything escape
// across the C boundary (an unexpected C++ exception becomes VK_ERR_NETWORK).
#include <cstring>
#include <span>

#include "codec/addr_text.h"
#include "codec/crc.h"
#include "codec/models.h"
#include "codec/param_record.h"
#include "ops/binary_params.h"
#include "ops/discovery.h"
#include "ops/serial.h"
#include "ops/session.h"
#include "ops/settings.h"
#include "ops/text_params.h"
#include "vkcfg.h"

namespace {

template <typename F>
int Guarded(F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return VK_ERR_NETWORK;
    }
}

// A search array and its in/out count: the capacity is *count (negative counts as 0); a NULL count,
// or a NULL array with room in it, is a bad argument.
template <typename Slot, typename Op>
int SearchInto(Slot* slots, int* count, Op op) {
    if (count == nullptr) return VK_ERR_ARGUMENT;
    const int capacity = *count > 0 ? *count : 0;
    if (slots == nullptr && capacity > 0) {
        *count = 0;
        return VK_ERR_ARGUMENT;
    }
    int filled = 0;
    int result = Guarded([&] { return op(std::span<Slot>(slots, static_cast<size_t>(capacity)), filled); });
    *count = filled;
    return result;
}

template <typename Op>
int SearchOneInto(const char* ip, VkSearchRecord* record, Op op) {
    if (ip == nullptr || record == nullptr) return VK_ERR_ARGUMENT;
    return Guarded([&] { return op(ip, *record); });
}

vkcfg::codec::MacBytes MacOf(const uint8_t* mac) {
    vkcfg::codec::MacBytes out;
    std::memcpy(out.data(), mac, out.size());
    return out;
}

// Every pointer argument must be given.
template <typename... P>
bool AllGiven(const P*... pointers) {
    return ((pointers != nullptr) && ...);
}

using vkcfg::codec::SerialItem;

int TextSerial(const char* ip, SerialItem item, int value) {
    if (!AllGiven(ip)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::TextSerialSet(ip, item, value); });
}

int BinarySerial(const char* ip, SerialItem item, int value) {
    if (!AllGiven(ip)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::BinarySerialSet(ip, item, value, 0); });
}

int UnifiedSerial(const char* ip, SerialItem item, int value, const LoginRecord* login) {
    if (!AllGiven(ip, login)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::SerialSet(ip, item, value, *login); });
}

}  // namespace

extern "C" {

VKCFG_API uint16_t VKCFG_CALL cal_crc(const uint8_t* data, uint16_t length) {
    if (data == nullptr) return 0;
    return vkcfg::codec::Crc16(std::span<const uint8_t>(data, length));
}

VKCFG_API int VKCFG_CALL vka_search_all(VkSearchRecord* records, int* count) {
    return SearchInto(records, count, vkcfg::ops::SearchAllText);
}

VKCFG_API int VKCFG_CALL vkb_search_all(VkSearchRecord* records, int* count) {
    return SearchInto(records, count, vkcfg::ops::SearchAllBinary);
}

VKCFG_API int VKCFG_CALL vk_search_all(VkSearchRecord* records, int* count) {
    return SearchInto(records, count, vkcfg::ops::SearchAll);
}

VKCFG_API int VKCFG_CALL vk_search_all_ex(VkSearchRecordEx* slots, int* count) {
    return SearchInto(slots, count, vkcfg::ops::SearchAllExtended);
}

VKCFG_API int VKCFG_CALL vka_search_one(const char* ip, VkSearchRecord* record) {
    return SearchOneInto(ip, record, vkcfg::ops::SearchOneText);
}

VKCFG_API int VKCFG_CALL vkb_search_one(const char* ip, VkSearchRecord* record) {
    return SearchOneInto(ip, record, vkcfg::ops::SearchOneBinary);
}

VKCFG_API int VKCFG_CALL vk_search_one(const char* ip, VkSearchRecord* record) {
    return SearchOneInto(ip, record, vkcfg::ops::SearchOne);
}

VKCFG_API int VKCFG_CALL vka_login(const char* ip, const char* mac_text, const LoginRecord* login) {
    if (!AllGiven(ip, mac_text, login)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::TextLogin(ip, mac_text, *login); });
}

VKCFG_API int VKCFG_CALL vkb_login(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    if (!AllGiven(ip, mac, login)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::BinaryLogin(ip, MacOf(mac), *login); });
}

VKCFG_API int VKCFG_CALL vk_login(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    if (!AllGiven(ip, mac, login)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::Login(ip, MacOf(mac), *login); });
}

VKCFG_API int VKCFG_CALL vka_logout(const char* ip, const char* /*mac_text: not used*/) {
    if (!AllGiven(ip)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::TextLogout(ip); });
}

VKCFG_API int VKCFG_CALL vkb_logout(const char* ip, const uint8_t* mac) {
    if (!AllGiven(ip, mac)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::BinaryLogout(ip, MacOf(mac)); });
}

VKCFG_API int VKCFG_CALL vk_logout(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    if (!AllGiven(ip, mac, login)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::Logout(ip, MacOf(mac), *login); });
}

VKCFG_API int VKCFG_CALL vk_read_setting(const char* ip, const uint8_t* mac, VkParamRecord* record,
                                         const LoginRecord* login) {
    if (!AllGiven(ip, mac, record, login)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::ReadSetting(ip, MacOf(mac), *record, *login); });
}

VKCFG_API int VKCFG_CALL vk_write_setting(const char* ip, const uint8_t* mac, const VkParamRecord* record,
                                          const LoginRecord* login) {
    if (!AllGiven(ip, mac, record, login)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::WriteSetting(ip, MacOf(mac), *record, *login); });
}

VKCFG_API int VKCFG_CALL vka_read_setting(const char* ip, const char* mac_text, VkaWorkBlock* block,
                                          const LoginRecord* /*not read*/) {
    if (!AllGiven(ip, mac_text, block)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::TextReadSettings(ip, mac_text, *block); });
}

VKCFG_API int VKCFG_CALL vka_write_setting(const char* ip, const char* mac_text, const VkaWorkBlock* block,
                                           const LoginRecord* /*not read*/) {
    if (!AllGiven(ip, mac_text, block)) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::TextWriteSettings(ip, mac_text, *block); });
}

VKCFG_API int VKCFG_CALL vkb_read_setting(const char* ip, const uint8_t* mac, uint8_t* block,
                                          const LoginRecord* /*not read*/) {
    if (!AllGiven(ip, mac, block)) return VK_ERR_ARGUMENT;
    return Guarded(
        [&] { return vkcfg::ops::BinaryReadSettings(ip, MacOf(mac), std::span(block, VKB_WORK_BLOCK_MAX)); });
}

VKCFG_API int VKCFG_CALL vkb_write_setting(const char* ip, const uint8_t* /*mac: the block's MAC is used*/,
                                           const uint8_t* block, const LoginRecord* /*not read*/) {
    if (!AllGiven(ip, block)) return VK_ERR_ARGUMENT;
    // Only as many bytes as the model's block holds are read from the caller.
    const size_t size = vkcfg::codec::BinaryBlockSize(block[0]);
    if (size == 0) return VK_ERR_ARGUMENT;
    return Guarded([&] { return vkcfg::ops::BinaryWriteSettings(ip, std::span(block, size)); });
}

VKCFG_API int VKCFG_CALL vk_read_setting_ex(const char* ip, const uint8_t* mac, uint8_t* payload,
                                            const LoginRecord* /*not read*/) {
    if (!AllGiven(ip, mac, payload)) return VK_ERR_ARGUMENT;
    return Guarded([&] {
        return vkcfg::ops::ExtendedReadSettings(ip, MacOf(mac), std::span(payload, VK_EX_PAYLOAD_MAX));
    });
}

VKCFG_API int VKCFG_CALL vk_write_setting_ex(const char* ip, const uint8_t* mac, const uint8_t* payload,
                                             int length, const LoginRecord* /*not read*/) {
    if (!AllGiven(ip, mac) || length < 0 || length > VK_EX_PAYLOAD_MAX || (payload == nullptr && length > 0))
        return VK_ERR_ARGUMENT;
    return Guarded([&] {
        return vkcfg::ops::ExtendedWriteSettings(ip, MacOf(mac),
                                                 std::span(payload, static_cast<size_t>(length)));
    });
}

VKCFG_API int VKCFG_CALL vka_setting_baud(const char* ip, int speed) {
    return TextSerial(ip, SerialItem::kSpeed, speed);
}
VKCFG_API int VKCFG_CALL vka_setting_parity(const char* ip, int parity) {
    return TextSerial(ip, SerialItem::kParity, parity);
}
VKCFG_API int VKCFG_CALL vka_setting_databit(const char* ip, int bits) {
    return TextSerial(ip, SerialItem::kDataBits, bits);
}

VKCFG_API int VKCFG_CALL vkb_setting_baud(const char* ip, int speed) {
    return BinarySerial(ip, SerialItem::kSpeed, speed);
}
VKCFG_API int VKCFG_CALL vkb_setting_parity(const char* ip, int parity) {
    return BinarySerial(ip, SerialItem::kParity, parity);
}
VKCFG_API int VKCFG_CALL vkb_setting_databit(const char* ip, int bits) {
    return BinarySerial(ip, SerialItem::kDataBits, bits);
}

VKCFG_API int VKCFG_CALL vk_setting_baud(const char* ip, int speed, const LoginRecord* login) {
    return UnifiedSerial(ip, SerialItem::kSpeed, speed, login);
}
VKCFG_API int VKCFG_CALL vk_setting_parity(const char* ip, int parity, const LoginRecord* login) {
    return UnifiedSerial(ip, SerialItem::kParity, parity, login);
}
VKCFG_API int VKCFG_CALL vk_setting_databit(const char* ip, int bits, const LoginRecord* login) {
    return UnifiedSerial(ip, SerialItem::kDataBits, bits, login);
}

VKCFG_API const char* VKCFG_CALL vk_get_device_type(int model_code) {
    const auto* row = vkcfg::codec::FindModelByCode(static_cast<uint8_t>(model_code & 0xFF));
    return row ? row->model_name : vkcfg::codec::kModelTable[0].model_name;
}

VKCFG_API uint8_t VKCFG_CALL vk_get_device_code(const char* model_name) {
    if (model_name == nullptr) return 0;
    for (const auto& row : vkcfg::codec::kModelTable) {
        if (std::strcmp(row.model_name, model_name) == 0) return row.model_code;
    }
    return 0;
}

VKCFG_API int VKCFG_CALL vk_get_device_com_number(int model_code) {
    if (model_code < 0 || model_code > 0xFF) return 0;
    const auto* row = vkcfg::codec::FindModelByCode(static_cast<uint8_t>(model_code));
    return row ? row->com_number : 0;
}

VKCFG_API int VKCFG_CALL vk_get_device_uart_number(int model_code) {
    if (model_code < 0 || model_code > 0xFF) return 0;
    return static_cast<int>(vkcfg::codec::ChannelCount(static_cast<uint8_t>(model_code)));
}

VKCFG_API const char* VKCFG_CALL vk_get_error_string(int result) {
    return vkcfg::codec::ErrorText(result);
}

}  // extern "C"
