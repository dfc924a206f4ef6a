/*
 * vkcfg.dll as a Windows program uses it, run under Wine against simulated devices (vksim) on loopback.
 *
 * The program loads the DLL by name and finds every function by its plain name; checks that the export
 * table holds exactly the interface, that the DLL needs no runtime DLL of the compiler, that the 32-bit
 * DLL's functions remove their own arguments (stdcall) and that Windows Sockets start and stop with the
 * DLL; runs the argument checks shared with the Linux tests; then searches, logs in, reads and writes the
 * parameters of both generations and of an extended device and changes serial lines, all through
 * pointers of the types the interface declares.
 *
 * usage: vkcfg_dll_test FIRST SECOND MULTI EXTENDED LONG SILENT
 *   the addresses of a VKA100, a VKB200 with the password "secret", a VKB302, an extended device, a
 *   VKB200 whose tagged answers are 3000 bytes long (vksim's pad=3000), and one where nothing answers.
 * For each device it changed, it prints "expect-state: addr=ADDRESS key=value ..." with the settings
 * that the simulator must hold at the end. Exit status 0 when every check passed.
 */
#include <winsock2.h>  // before windows.h, which would bring in the older winsock.h

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "interface/argument_cases.h"

static int g_checks;
static int g_failures;

static void expect_true(const char* what, int ok) {
    ++g_checks;
    if (!ok) {
        ++g_failures;
        printf("FAILED: %s\n", what);
    }
}

static void expect_int(const char* what, long got, long expected) {
    ++g_checks;
    if (got != expected) {
        ++g_failures;
        printf("FAILED: %s gave %ld, expected %ld\n", what, got, expected);
    }
}

static void expect_text(const char* what, const char* got, size_t width, const char* expected) {
    ++g_checks;
    if (got == NULL || strncmp(got, expected, width) != 0 ||
        (strlen(expected) < width && got[strlen(expected)])) {
        ++g_failures;
        printf("FAILED: %s gave \"%.*s\", expected \"%s\"\n", what, (int)width, got ? got : "(null)",
               expected);
    }
}

/* ---- Loading, exports, imports and the calling convention ---------------------------------------- */

static const char* const kExportNames[] = {
#define VKCFG_EXPORT_NAME(result, name, params, argc) #name,
    VKCFG_EXPORTS(VKCFG_EXPORT_NAME)
#undef VKCFG_EXPORT_NAME
};

static int is_export_name(const char* name) {
    for (size_t i = 0; i < VKCFG_EXPORT_COUNT; ++i) {
        if (strcmp(kExportNames[i], name) == 0) return 1;
    }
    return 0;
}

static const IMAGE_DATA_DIRECTORY* directory_of(HMODULE module, int entry) {
    const BYTE* base = (const BYTE*)module;
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + ((const IMAGE_DOS_HEADER*)base)->e_lfanew);
    return &nt->OptionalHeader.DataDirectory[entry];
}

/* Every name in the export table is a function of the interface, and every function is there. */
static void export_table_is_the_interface(HMODULE module) {
    const BYTE* base = (const BYTE*)module;
    const IMAGE_EXPORT_DIRECTORY* exports =
        (const IMAGE_EXPORT_DIRECTORY*)(base +
                                        directory_of(module, IMAGE_DIRECTORY_ENTRY_EXPORT)->VirtualAddress);
    const DWORD* names = (const DWORD*)(base + exports->AddressOfNames);
    char what[128];
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        const char* name = (const char*)(base + names[i]);
        snprintf(what, sizeof what, "export %s belongs to the interface", name);
        expect_true(what, is_export_name(name));
    }
    expect_int("exported names", (long)exports->NumberOfNames, VKCFG_EXPORT_COUNT);
    expect_int("exported functions (none by ordinal alone)", (long)exports->NumberOfFunctions,
               VKCFG_EXPORT_COUNT);
}

/* The DLL runs alone: it imports system DLLs only, none of the compiler's runtime (libgcc, libstdc++,
 * winpthread), which a user's machine does not have. */
static void imports_are_system_dlls(HMODULE module) {
    static const char* const kSystem[] = {"KERNEL32.dll", "msvcrt.dll", "WS2_32.dll"};
    const BYTE* base = (const BYTE*)module;
    const IMAGE_IMPORT_DESCRIPTOR* d =
        (const IMAGE_IMPORT_DESCRIPTOR*)(base +
                                         directory_of(module, IMAGE_DIRECTORY_ENTRY_IMPORT)->VirtualAddress);
    char what[128];
    for (; d->Name != 0; ++d) {
        const char* dll = (const char*)(base + d->Name);
        int system = 0;
        for (size_t i = 0; i < sizeof kSystem / sizeof kSystem[0]; ++i)
            system |= _stricmp(dll, kSystem[i]) == 0;
        snprintf(what, sizeof what, "imported %s is a system DLL", dll);
        expect_true(what, system);
    }
}

static void resolve_exports(HMODULE module, VkApi* api) {
    char what[128];
#define VKCFG_RESOLVE(result, name, params, argc)                         \
    api->name = (name##_fn)(void (*)(void))GetProcAddress(module, #name); \
    snprintf(what, sizeof what, "GetProcAddress(\"%s\")", #name);         \
    expect_true(what, api->name != NULL);
    VKCFG_EXPORTS(VKCFG_RESOLVE)
#undef VKCFG_RESOLVE
}

#if defined(__i386__)
static const int kExportArgs[] = {
#define VKCFG_EXPORT_ARGS(result, name, params, argc) argc,
    VKCFG_EXPORTS(VKCFG_EXPORT_ARGS)
#undef VKCFG_EXPORT_ARGS
};

/* Calls `function` with `argc` zero arguments and returns how many bytes of arguments it removed from
 * the stack: 4 * argc for stdcall, 0 for cdecl. Zero arguments are safe for every export (NULL
 * pointers are refused, lookups of code 0 answer at once). */
static unsigned argument_bytes_removed(void (*function)(void), unsigned argc) {
    unsigned removed;
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "movl %%ecx, %%edi\n\t"
        "1:\n\t"
        "jecxz 2f\n\t"
        "pushl $0\n\t"
        "decl %%ecx\n\t"
        "jmp 1b\n"
        "2:\n\t"
        "call *%%ebx\n\t"
        "leal (%%esp,%%edi,4), %%eax\n\t"
        "subl %%esi, %%eax\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(removed), "+c"(argc)
        : "b"(function)
        : "edx", "esi", "edi", "memory", "cc");
    return removed;
}

static void exports_are_stdcall(HMODULE module) {
    char what[128];
    for (size_t i = 0; i < VKCFG_EXPORT_COUNT; ++i) {
        void (*function)(void) = (void (*)(void))GetProcAddress(module, kExportNames[i]);
        if (function == NULL) continue; /* reported by resolve_exports */
        snprintf(what, sizeof what, "bytes of arguments that %s removes (stdcall)", kExportNames[i]);
        expect_int(what, (long)argument_bytes_removed(function, (unsigned)kExportArgs[i]),
                   4L * kExportArgs[i]);
    }
}
#endif

static int sockets_usable(void) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return WSAGetLastError() == WSANOTINITIALISED ? 0 : -1;
    closesocket(s);
    return 1;
}

/* This program never starts Windows Sockets itself until the check is done: the DLL does. */
static HMODULE load_with_winsock_check(void) {
    expect_int("sockets before the DLL is loaded (not started)", sockets_usable(), 0);
    HMODULE module = LoadLibraryA("vkcfg.dll");
    if (module == NULL) {
        printf("FAILED: LoadLibrary(\"vkcfg.dll\"): error %lu\n", (unsigned long)GetLastError());
        exit(1);
    }
    expect_int("sockets while the DLL is loaded (started)", sockets_usable(), 1);
    FreeLibrary(module);
    expect_int("sockets after the DLL is unloaded (stopped)", sockets_usable(), 0);
    module = LoadLibraryA("vkcfg.dll");
    if (module == NULL) {
        printf("FAILED: LoadLibrary(\"vkcfg.dll\") again: error %lu\n", (unsigned long)GetLastError());
        exit(1);
    }
    return module;
}

/* ---- Lookups and the environment ----------------------------------------------------------------- */

static void lookups(const VkApi* api) {
    const uint8_t check_bytes[] = "123456789";
    expect_int("cal_crc(\"123456789\")", api->cal_crc(check_bytes, 9), 0x31C3);
    expect_text("vk_get_device_type(0x94)", api->vk_get_device_type(0x94), 16, "VLC621");
    expect_text("vk_get_device_type(0x35)", api->vk_get_device_type(0x35), 16, "Unknown");
    expect_int("vk_get_device_code(\"VKB304\")", api->vk_get_device_code("VKB304"), 0x34);
    expect_int("vk_get_device_uart_number(0x92)", api->vk_get_device_uart_number(0x92), 3);
    expect_int("vk_get_device_com_number(0x92)", api->vk_get_device_com_number(0x92), 2);
    /* GBK bytes of the password refusal's text */
    expect_text("vk_get_error_string(-6)", api->vk_get_error_string(VK_ERR_PASSWORD), 8,
                "\xc3\xdc\xc2\xeb\xb4\xed\xce\xf3");
}

static const VkSearchRecord* find_record(const VkSearchRecord* records, int count, const char* ip) {
    for (int i = 0; i < count; ++i) {
        if (strncmp(records[i].ip, ip, sizeof records[i].ip) == 0) return &records[i];
    }
    return NULL;
}

static void searches(const VkApi* api, char* const* ip) {
    static VkSearchRecord records[64];
    static VkSearchRecordEx slots[64];
    int count = 64;
    expect_int("vk_search_all", api->vk_search_all(records, &count), VK_OK);
    const uint8_t models[] = {VK_MODEL_VKA100, VK_MODEL_VKB200, VK_MODEL_VKB302};
    char what[128];
    for (int i = 0; i < 3; ++i) {
        const VkSearchRecord* r = find_record(records, count, ip[i]);
        snprintf(what, sizeof what, "vk_search_all found %s with model 0x%02X", ip[i], models[i]);
        expect_true(what, r != NULL && r->model_code == models[i]);
    }
    count = 64;
    expect_int("vk_search_all_ex", api->vk_search_all_ex(slots, &count), VK_OK);
    int extended = 0;
    for (int i = 0; i < count; ++i)
        extended += slots[i].model_code == VK_MODEL_EXTENDED;
    expect_int("extended devices found", extended, 1);

    /* VKCFG_BROADCAST is read when each operation starts: a malformed one stops the search before it sends.
     */
    const char* broadcast = getenv("VKCFG_BROADCAST");
    expect_true("VKCFG_BROADCAST is set for the test",
                broadcast != NULL && strncmp(broadcast, "127.", 4) == 0);
    char restore[64];
    snprintf(restore, sizeof restore, "VKCFG_BROADCAST=%s", broadcast ? broadcast : "127.255.255.255");
    _putenv("VKCFG_BROADCAST=no.address");
    count = 64;
    expect_int("vk_search_all with a malformed VKCFG_BROADCAST", api->vk_search_all(records, &count),
               VK_ERR_NETWORK);
    expect_int("... and its count", count, 0);
    _putenv(restore);
}

/* ---- Sessions and parameters --------------------------------------------------------------------- */

typedef struct Device {
    const char* ip;
    VkSearchRecord found;
    LoginRecord login;
} Device;

/* NUL-padded, as many characters as fit. */
static void set_password(LoginRecord* login, const char* password) {
    memset(login->password, 0, sizeof login->password);
    memcpy(login->password, password, strnlen(password, sizeof login->password));
}

static Device found_device(const VkApi* api, const char* ip, const char* password) {
    Device d;
    memset(&d, 0, sizeof d);
    d.ip = ip;
    char what[128];
    snprintf(what, sizeof what, "vk_search_one(\"%s\")", ip);
    expect_int(what, api->vk_search_one(ip, &d.found), VK_OK);
    d.login.model_code = d.found.model_code;
    set_password(&d.login, password);
    return d;
}

static int login(const VkApi* api, const Device* d) {
    return api->vk_login(d->ip, d->found.mac, &d->login);
}

/* Logs in, reads, applies `change`, writes, logs in again and reads back; returns what was read back. */
static VkParamRecord read_change_write(const VkApi* api, const Device* d, void (*change)(VkParamRecord*)) {
    static VkParamRecord record;
    memset(&record, 0, sizeof record);
    char what[128];
    snprintf(what, sizeof what, "%s: vk_login", d->ip);
    expect_int(what, login(api, d), VK_OK);
    snprintf(what, sizeof what, "%s: vk_read_setting", d->ip);
    expect_int(what, api->vk_read_setting(d->ip, d->found.mac, &record, &d->login), VK_OK);
    snprintf(what, sizeof what, "%s: the parameters read are those of the device found", d->ip);
    expect_true(what,
                record.model_code == d->found.model_code && memcmp(record.single.mac, d->found.mac, 6) == 0);
    change(&record);
    /* A first-generation read ends the session; logging in again does no harm to the second. */
    snprintf(what, sizeof what, "%s: vk_login before the write", d->ip);
    expect_int(what, login(api, d), VK_OK);
    snprintf(what, sizeof what, "%s: vk_write_setting", d->ip);
    expect_int(what, api->vk_write_setting(d->ip, d->found.mac, &record, &d->login), VK_OK);
    memset(&record, 0, sizeof record);
    snprintf(what, sizeof what, "%s: vk_login after the write", d->ip);
    expect_int(what, login(api, d), VK_OK);
    snprintf(what, sizeof what, "%s: vk_read_setting after the write", d->ip);
    expect_int(what, api->vk_read_setting(d->ip, d->found.mac, &record, &d->login), VK_OK);
    snprintf(what, sizeof what, "%s: vk_logout", d->ip);
    expect_int(what, api->vk_logout(d->ip, d->found.mac, &d->login), VK_OK);
    return record;
}

static void change_first(VkParamRecord* r) {
    strcpy(r->single.device_name, "WinFirst");
    r->single.local_port = 4100;
}

static void change_second(VkParamRecord* r) {
    strcpy(r->single.device_name, "WinSecond");
    r->single.baud_rate = 19200;
}

static void change_multi(VkParamRecord* r) {
    strcpy(r->multi.device_name, "WinMulti");
    r->multi.channels[1].local_port = 4200;
    r->multi.channels[1].baud_rate = 57600;
}

static void first_generation(const VkApi* api, const char* ip) {
    Device d = found_device(api, ip, "");
    expect_int("first generation: model", d.found.model_code, VK_MODEL_VKA100);
    VkParamRecord back = read_change_write(api, &d, change_first);
    expect_text("first generation: name read back", back.single.device_name, 10, "WinFirst");
    expect_int("first generation: port read back", back.single.local_port, 4100);
    expect_int("first generation: vk_setting_baud", api->vk_setting_baud(ip, 4800, &d.login), VK_OK);
    printf("expect-state: addr=%s name=WinFirst port=4100 baud=4800\n", ip);
}

static void second_generation(const VkApi* api, const char* ip) {
    Device d = found_device(api, ip, "wrong");
    expect_int("second generation: model", d.found.model_code, VK_MODEL_VKB200);
    expect_int("second generation: vk_login with a wrong password", login(api, &d), VK_ERR_PASSWORD);
    expect_int("second generation: vk_logout after the refusal", api->vk_logout(ip, d.found.mac, &d.login),
               VK_OK);
    set_password(&d.login, "secret");
    VkParamRecord back = read_change_write(api, &d, change_second);
    expect_text("second generation: name read back", back.single.device_name, 10, "WinSecond");
    expect_int("second generation: speed read back", (long)back.single.baud_rate, 19200);
    printf("expect-state: addr=%s name=WinSecond baud=19200\n", ip);
}

static void multi_port(const VkApi* api, const char* ip) {
    Device d = found_device(api, ip, "");
    expect_int("multi-port: model", d.found.model_code, VK_MODEL_VKB302);
    VkParamRecord back = read_change_write(api, &d, change_multi);
    expect_text("multi-port: name read back", back.multi.device_name, 10, "WinMulti");
    expect_int("multi-port: channel 1 port read back", back.multi.channels[1].local_port, 4200);
    expect_int("multi-port: channel 1 speed read back", (long)back.multi.channels[1].baud_rate, 57600);
    d.login.channel = 1;
    expect_int("multi-port: vk_setting_parity on channel 1", api->vk_setting_parity(ip, 2, &d.login), VK_OK);
    printf("expect-state: addr=%s name=WinMulti port1=4200 baud1=57600 parity1=2 parity=0\n", ip);
}

static void extended_block(const VkApi* api, const char* ip) {
    static VkSearchRecordEx slots[8];
    static uint8_t block[VK_EX_PAYLOAD_MAX], again[VK_EX_PAYLOAD_MAX];
    int count = 8;
    expect_int("extended: vk_search_all_ex", api->vk_search_all_ex(slots, &count), VK_OK);
    const VkSearchRecordEx* found = NULL;
    for (int i = 0; i < count; ++i) {
        if (slots[i].model_code == VK_MODEL_EXTENDED) found = &slots[i];
    }
    expect_true("extended: the device is found", found != NULL);
    if (found == NULL) return;
    LoginRecord login;
    memset(&login, 0, sizeof login);
    login.model_code = VK_MODEL_EXTENDED;
    expect_int("extended: vk_login", api->vk_login(ip, found->mac, &login), VK_OK);
    expect_int("extended: vk_read_setting_ex", api->vk_read_setting_ex(ip, found->mac, block, NULL), VK_OK);
    for (int i = 300; i < 310; ++i)
        block[i] = (uint8_t)i;
    expect_int("extended: vk_write_setting_ex",
               api->vk_write_setting_ex(ip, found->mac, block, VK_EX_PARAM_SIZE, NULL), VK_OK);
    expect_int("extended: vk_read_setting_ex after the write",
               api->vk_read_setting_ex(ip, found->mac, again, NULL), VK_OK);
    expect_true("extended: the block reads back as written", memcmp(again, block, VK_EX_PARAM_SIZE) == 0);
    expect_int("extended: vk_logout", api->vk_logout(ip, found->mac, &login), VK_OK);
}

/* ---- Results that depend on the platform's sockets ----------------------------------------------- */

static void platform_sockets(const VkApi* api, const char* long_ip, const char* silent_ip) {
    VkSearchRecord r;
    /* Nothing listens there: no answer, as on Linux (not a failure drawn from an ICMP error). */
    expect_int("vkb_search_one of an address where nothing listens", api->vkb_search_one(silent_ip, &r),
               VK_ERR_NO_ANSWER);

    /* An answer longer than the 2048-byte buffer is judged on the bytes that fit, as on Linux: those
     * carry no valid checksum. */
    const uint8_t mac[6] = {0};
    LoginRecord login;
    memset(&login, 0, sizeof login);
    login.model_code = VK_MODEL_VKB200;
    expect_int("vk_login answered by a datagram longer than the buffer", api->vk_login(long_ip, mac, &login),
               VK_ERR_UNEXPECTED);

    /* The local port is not shared: while another socket holds it, an operation fails. */
    SOCKET holder = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    struct sockaddr_in local;
    memset(&local, 0, sizeof local);
    local.sin_family = AF_INET;
    local.sin_port = htons(VK_LOCAL_PORT);
    expect_int("the test holds the local port", bind(holder, (struct sockaddr*)&local, sizeof local), 0);
    expect_int("vkb_search_one while the local port is taken", api->vkb_search_one(long_ip, &r),
               VK_ERR_NETWORK);
    closesocket(holder);
}

int main(int argc, char** argv) {
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc != 7) {
        fprintf(stderr, "usage: vkcfg_dll_test FIRST SECOND MULTI EXTENDED LONG SILENT\n");
        return 2;
    }
    HMODULE module = load_with_winsock_check();
    WSADATA wsa; /* for the program's own sockets from here on */
    WSAStartup(MAKEWORD(2, 2), &wsa);

    VkApi api;
    resolve_exports(module, &api);
    export_table_is_the_interface(module);
    imports_are_system_dlls(module);
#if defined(__i386__)
    exports_are_stdcall(module);
#endif
    if (g_failures != 0) {
        printf("vkcfg_dll_test: %d of %d checks failed before any call\n", g_failures, g_checks);
        return 1;
    }
    int argument_failures = vk_run_argument_cases(&api, argv[2]);
    expect_int("argument cases that gave another result (printed above)", argument_failures, 0);
    lookups(&api);
    searches(&api, argv + 1);
    first_generation(&api, argv[1]);
    second_generation(&api, argv[2]);
    multi_port(&api, argv[3]);
    extended_block(&api, argv[4]);
    platform_sockets(&api, argv[5], argv[6]);

    printf("vkcfg_dll_test: %d checks, %d failed\n", g_checks, g_failures);
    WSACleanup();
    FreeLibrary(module);
    return g_failures == 0 ? 0 : 1;
}
