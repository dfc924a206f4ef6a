/* A plain-C program built against the installed vkcfg: finds the device at the address given, logs in,
 * reads its parameters and logs out. Exit status 0 only when every step gives the expected result. */
#include <stdio.h>
#include <string.h>

#include <vkcfg.h>

static int check(const char* what, int result, int expected) {
    if (result == expected) return 0;
    fprintf(stderr, "%s gave %d, expected %d\n", what, result, expected);
    return 1;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: consumer DEVICE-IP\n");
        return 2;
    }
    const char* ip = argv[1];
    VkSearchRecord found;
    memset(&found, 0, sizeof found);
    if (check("vk_search_one", vk_search_one(ip, &found), VK_OK)) return 1;

    LoginRecord login;
    memset(&login, 0, sizeof login);
    login.model_code = found.model_code;
    if (check("vk_login", vk_login(ip, found.mac, &login), VK_OK)) return 1;
    VkParamRecord params;
    memset(&params, 0, sizeof params);
    int read = vk_read_setting(ip, found.mac, &params, &login);
    vk_logout(ip, found.mac, &login);
    if (check("vk_read_setting", read, VK_OK)) return 1;
    if (params.model_code != found.model_code || memcmp(params.single.mac, found.mac, 6) != 0) {
        fprintf(stderr, "the parameters read are not those of the device found\n");
        return 1;
    }
    printf("%s %s named %.10s\n", vk_get_device_type(found.model_code), ip, params.single.device_name);
    return 0;
}
