#include "argument_cases.h"

#include <stdio.h>
#include <string.h>

/* X(expected result, function, (arguments)); the arguments name the fixtures of vk_run_argument_cases. */
#define VKCFG_ARGUMENT_CASES(X)                                                                  \
    X(0, cal_crc, (NULL, 5)) /* no bytes count as the empty sequence */                          \
    X(VK_ERR_ARGUMENT, vka_search_all, (records, NULL))                                          \
    X(VK_ERR_ARGUMENT, vka_search_all, (NULL, room(&count)))                                     \
    X(VK_ERR_ARGUMENT, vkb_search_all, (records, NULL))                                          \
    X(VK_ERR_ARGUMENT, vkb_search_all, (NULL, room(&count)))                                     \
    X(VK_ERR_ARGUMENT, vk_search_all, (records, NULL))                                           \
    X(VK_ERR_ARGUMENT, vk_search_all, (NULL, room(&count)))                                      \
    X(VK_ERR_ARGUMENT, vk_search_all_ex, (slots, NULL))                                          \
    X(VK_ERR_ARGUMENT, vk_search_all_ex, (NULL, room(&count)))                                   \
    X(VK_ERR_ARGUMENT, vka_search_one, (NULL, records))                                          \
    X(VK_ERR_ARGUMENT, vka_search_one, (ip, NULL))                                               \
    X(VK_ERR_ARGUMENT, vkb_search_one, (NULL, records))                                          \
    X(VK_ERR_ARGUMENT, vkb_search_one, (ip, NULL))                                               \
    X(VK_ERR_ARGUMENT, vk_search_one, (NULL, records))                                           \
    X(VK_ERR_ARGUMENT, vk_search_one, (ip, NULL))                                                \
    X(VK_ERR_ARGUMENT, vka_login, (NULL, mac_text, &first))                                      \
    X(VK_ERR_ARGUMENT, vka_login, (ip, NULL, &first))                                            \
    X(VK_ERR_ARGUMENT, vka_login, (ip, mac_text, NULL))                                          \
    X(VK_ERR_ARGUMENT, vka_login, (ip, mac_text, &second)) /* not a first-generation model */    \
    X(VK_ERR_ARGUMENT, vkb_login, (NULL, mac, &second))                                          \
    X(VK_ERR_ARGUMENT, vkb_login, (ip, NULL, &second))                                           \
    X(VK_ERR_ARGUMENT, vkb_login, (ip, mac, NULL))                                               \
    X(VK_ERR_ARGUMENT, vk_login, (NULL, mac, &second))                                           \
    X(VK_ERR_ARGUMENT, vk_login, (ip, NULL, &second))                                            \
    X(VK_ERR_ARGUMENT, vk_login, (ip, mac, NULL))                                                \
    X(VK_ERR_ARGUMENT, vka_logout, (NULL, mac_text))                                             \
    X(VK_ERR_ARGUMENT, vkb_logout, (NULL, mac))                                                  \
    X(VK_ERR_ARGUMENT, vkb_logout, (ip, NULL))                                                   \
    X(VK_ERR_ARGUMENT, vk_logout, (NULL, mac, &second))                                          \
    X(VK_ERR_ARGUMENT, vk_logout, (ip, NULL, &second))                                           \
    X(VK_ERR_ARGUMENT, vk_logout, (ip, mac, NULL))                                               \
    X(VK_ERR_ARGUMENT, vka_read_setting, (NULL, mac_text, &work, NULL))                          \
    X(VK_ERR_ARGUMENT, vka_read_setting, (ip, NULL, &work, NULL))                                \
    X(VK_ERR_ARGUMENT, vka_read_setting, (ip, mac_text, NULL, NULL))                             \
    X(VK_ERR_ARGUMENT, vka_read_setting, ("", "1.2.3.4", &work, NULL)) /* no address, no MAC */  \
    X(VK_ERR_ARGUMENT, vka_write_setting, (NULL, mac_text, &work, NULL))                         \
    X(VK_ERR_ARGUMENT, vka_write_setting, (ip, mac_text, NULL, NULL))                            \
    X(VK_ERR_ARGUMENT, vka_write_setting, ("1.2.3", "", &work, NULL))                            \
    X(VK_ERR_ARGUMENT, vkb_read_setting, (NULL, mac, block, NULL))                               \
    X(VK_ERR_ARGUMENT, vkb_read_setting, (ip, NULL, block, NULL))                                \
    X(VK_ERR_ARGUMENT, vkb_read_setting, (ip, mac, NULL, NULL))                                  \
    X(VK_ERR_ARGUMENT, vkb_write_setting, (NULL, mac, block, NULL))                              \
    X(VK_ERR_ARGUMENT, vkb_write_setting, (ip, mac, NULL, NULL))                                 \
    X(VK_ERR_ARGUMENT, vkb_write_setting, (ip, mac, block, NULL)) /* block of no layout */       \
    X(VK_ERR_ARGUMENT, vk_read_setting, (NULL, mac, &params, &second))                           \
    X(VK_ERR_ARGUMENT, vk_read_setting, (ip, NULL, &params, &second))                            \
    X(VK_ERR_ARGUMENT, vk_read_setting, (ip, mac, NULL, &second))                                \
    X(VK_ERR_ARGUMENT, vk_read_setting, (ip, mac, &params, NULL))                                \
    X(VK_ERR_ARGUMENT, vk_read_setting, (ip, mac, &params, &extended)) /* no layout */           \
    X(VK_ERR_ARGUMENT, vk_write_setting, (NULL, mac, &params, &second))                          \
    X(VK_ERR_ARGUMENT, vk_write_setting, (ip, mac, NULL, &second))                               \
    X(VK_ERR_ARGUMENT, vk_write_setting, (ip, mac, &params, NULL))                               \
    X(VK_ERR_ARGUMENT, vk_write_setting, (ip, mac, &params, &extended))                          \
    X(VK_ERR_ARGUMENT, vk_write_setting, (ip, mac, &params, &second)) /* ip text "no.address" */ \
    X(VK_ERR_ARGUMENT, vk_read_setting_ex, (NULL, mac, payload, NULL))                           \
    X(VK_ERR_ARGUMENT, vk_read_setting_ex, (ip, NULL, payload, NULL))                            \
    X(VK_ERR_ARGUMENT, vk_read_setting_ex, (ip, mac, NULL, NULL))                                \
    X(VK_ERR_ARGUMENT, vk_write_setting_ex, (NULL, mac, payload, 4, NULL))                       \
    X(VK_ERR_ARGUMENT, vk_write_setting_ex, (ip, NULL, payload, 4, NULL))                        \
    X(VK_ERR_ARGUMENT, vk_write_setting_ex, (ip, mac, NULL, 4, NULL))                            \
    X(VK_ERR_ARGUMENT, vk_write_setting_ex, (ip, mac, payload, -1, NULL))                        \
    X(VK_ERR_ARGUMENT, vk_write_setting_ex, (ip, mac, payload, VK_EX_PAYLOAD_MAX + 1, NULL))     \
    X(VK_ERR_ARGUMENT, vka_setting_baud, (NULL, 9600))                                           \
    X(VK_ERR_ARGUMENT, vka_setting_parity, (NULL, 0))                                            \
    X(VK_ERR_ARGUMENT, vka_setting_databit, (NULL, 8))                                           \
    X(VK_ERR_ARGUMENT, vkb_setting_baud, (NULL, 9600))                                           \
    X(VK_ERR_ARGUMENT, vkb_setting_parity, (ip, 255)) /* a value the frame cannot carry */       \
    X(VK_ERR_ARGUMENT, vkb_setting_databit, (NULL, 8))                                           \
    X(VK_ERR_ARGUMENT, vk_setting_baud, (ip, 9600, NULL))                                        \
    X(VK_ERR_ARGUMENT, vk_setting_baud, (ip, 9600, &extended)) /* no serial path */              \
    X(VK_ERR_ARGUMENT, vk_setting_parity, (NULL, 0, &second))                                    \
    X(VK_ERR_ARGUMENT, vk_setting_databit, (ip, 8, &extended))                                   \
    X(0, vk_get_device_code, (NULL))                                                             \
    X(0, vk_get_device_com_number, (-1))                                                         \
    X(0, vk_get_device_uart_number, (0x192)) /* not the low byte: 0x92 has 3 channels */

static int check(const char* call, int got, int expected) {
    if (got == expected) return 0;
    fprintf(stderr, "%s gave %d, expected %d\n", call, got, expected);
    return 1;
}

/* A search array of two slots that is not there. */
static int* room(int* count) {
    *count = 2;
    return count;
}

static LoginRecord login_of(uint8_t model_code) {
    LoginRecord login;
    memset(&login, 0, sizeof login);
    login.model_code = model_code;
    return login;
}

int vk_run_argument_cases(const VkApi* api, const char* ip) {
    static VkSearchRecord records[2];
    static VkSearchRecordEx slots[2];
    static VkParamRecord params;
    static VkaWorkBlock work;
    static uint8_t block[VKB_WORK_BLOCK_MAX];
    static uint8_t payload[VK_EX_PAYLOAD_MAX + 1];
    const uint8_t mac[6] = {0, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    const char* mac_text = "0.26.43.60.77.94";
    const LoginRecord first = login_of(VK_MODEL_VKA100);
    const LoginRecord second = login_of(VK_MODEL_VKB200);
    const LoginRecord extended = login_of(VK_MODEL_EXTENDED);
    int count = 0;
    int failures = 0;

    memset(&params, 0, sizeof params);
    params.model_code = VK_MODEL_VKB200;
    strcpy(params.single.ip, "no.address");
    block[0] = VK_MODEL_EXTENDED;

#define VKCFG_RUN_CASE(expected, function, arguments) \
    failures += check(#function #arguments, (int)api->function arguments, expected);
    VKCFG_ARGUMENT_CASES(VKCFG_RUN_CASE)
#undef VKCFG_RUN_CASE

    /* A refused search still reports what it filled: nothing. */
    api->vk_search_all(NULL, room(&count));
    failures += check("vk_search_all(NULL, &count) leaves count", count, 0);
    return failures;
}
