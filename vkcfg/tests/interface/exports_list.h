/*
 * The exported interface of vkcfg as its callers see it: every function with its result, its parameters
 * and its number of (32-bit) arguments. The tests hold the header's declarations, the shared object's
 * symbol table and the DLL's export table to this list; calls made through VkApi go through pointers of
 * exactly these types (with the header's calling convention).
 */
#ifndef VKCFG_TESTS_EXPORTS_LIST_H
#define VKCFG_TESTS_EXPORTS_LIST_H

#include "vkcfg.h"

/* X(result, name, (parameters), argument count) */
#define VKCFG_EXPORTS(X)                                                                                   \
    X(uint16_t, cal_crc, (const uint8_t*, uint16_t), 2)                                                    \
    X(int, vka_search_all, (VkSearchRecord*, int*), 2)                                                     \
    X(int, vkb_search_all, (VkSearchRecord*, int*), 2)                                                     \
    X(int, vk_search_all, (VkSearchRecord*, int*), 2)                                                      \
    X(int, vka_search_one, (const char*, VkSearchRecord*), 2)                                              \
    X(int, vkb_search_one, (const char*, VkSearchRecord*), 2)                                              \
    X(int, vk_search_one, (const char*, VkSearchRecord*), 2)                                               \
    X(int, vk_search_all_ex, (VkSearchRecordEx*, int*), 2)                                                 \
    X(int, vka_login, (const char*, const char*, const LoginRecord*), 3)                                   \
    X(int, vkb_login, (const char*, const uint8_t*, const LoginRecord*), 3)                                \
    X(int, vk_login, (const char*, const uint8_t*, const LoginRecord*), 3)                                 \
    X(int, vka_logout, (const char*, const char*), 2)                                                      \
    X(int, vkb_logout, (const char*, const uint8_t*), 2)                                                   \
    X(int, vk_logout, (const char*, const uint8_t*, const LoginRecord*), 3)                                \
    X(int, vka_read_setting, (const char*, const char*, VkaWorkBlock*, const LoginRecord*), 4)             \
    X(int, vka_write_setting, (const char*, const char*, const VkaWorkBlock*, const LoginRecord*), 4)      \
    X(int, vkb_read_setting, (const char*, const uint8_t*, uint8_t*, const LoginRecord*), 4)               \
    X(int, vkb_write_setting, (const char*, const uint8_t*, const uint8_t*, const LoginRecord*), 4)        \
    X(int, vk_read_setting, (const char*, const uint8_t*, VkParamRecord*, const LoginRecord*), 4)          \
    X(int, vk_write_setting, (const char*, const uint8_t*, const VkParamRecord*, const LoginRecord*), 4)   \
    X(int, vk_read_setting_ex, (const char*, const uint8_t*, uint8_t*, const LoginRecord*), 4)             \
    X(int, vk_write_setting_ex, (const char*, const uint8_t*, const uint8_t*, int, const LoginRecord*), 5) \
    X(int, vka_setting_baud, (const char*, int), 2)                                                        \
    X(int, vka_setting_parity, (const char*, int), 2)                                                      \
    X(int, vka_setting_databit, (const char*, int), 2)                                                     \
    X(int, vkb_setting_baud, (const char*, int), 2)                                                        \
    X(int, vkb_setting_parity, (const char*, int), 2)                                                      \
    X(int, vkb_setting_databit, (const char*, int), 2)                                                     \
    X(int, vk_setting_baud, (const char*, int, const LoginRecord*), 3)                                     \
    X(int, vk_setting_parity, (const char*, int, const LoginRecord*), 3)                                   \
    X(int, vk_setting_databit, (const char*, int, const LoginRecord*), 3)                                  \
    X(const char*, vk_get_device_type, (int), 1)                                                           \
    X(uint8_t, vk_get_device_code, (const char*), 1)                                                       \
    X(int, vk_get_device_com_number, (int), 1)                                                             \
    X(int, vk_get_device_uart_number, (int), 1)                                                            \
    X(const char*, vk_get_error_string, (int), 1)

#define VKCFG_EXPORT_COUNT 36

/* name_fn: a pointer to the function as the interface declares it. */
#define VKCFG_EXPORT_TYPEDEF(result, name, params, argc) typedef result(VKCFG_CALL* name##_fn) params;
VKCFG_EXPORTS(VKCFG_EXPORT_TYPEDEF)
#undef VKCFG_EXPORT_TYPEDEF

/* The whole interface as pointers, filled by linking (Linux) or by GetProcAddress (Windows). */
typedef struct VkApi {
#define VKCFG_EXPORT_FIELD(result, name, params, argc) name##_fn name;
    VKCFG_EXPORTS(VKCFG_EXPORT_FIELD)
#undef VKCFG_EXPORT_FIELD
} VkApi;

/* vkcfg.h declares every function exactly so, calling convention included. */
#ifdef __cplusplus
#include <type_traits>
#define VKCFG_EXPORT_DECLARED(result, name, params, argc) \
    static_assert(std::is_same_v<decltype(&name), name##_fn>, #name " is declared as the interface says");
#else
#define VKCFG_EXPORT_DECLARED(result, name, params, argc)                      \
    _Static_assert(__builtin_types_compatible_p(__typeof__(&name), name##_fn), \
                   #name " is declared as the interface says");
#endif
VKCFG_EXPORTS(VKCFG_EXPORT_DECLARED)
#undef VKCFG_EXPORT_DECLARED

#endif /* VKCFG_TESTS_EXPORTS_LIST_H */
