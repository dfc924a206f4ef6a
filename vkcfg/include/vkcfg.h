/*
 * vkcfg: configuration protocol of the VK device family (device servers and network time devices).
 *
 * One flat C interface, usable from C and C++. Every function is synchronous, keeps no state between
 * calls and returns a result code (VK_OK = 1 on success, a negative VK_ERR_* code on failure). Every
 * buffer belongs to the caller; returned texts are constants of the library and must not be freed.
 *
 * Texts are single-byte texts (the workstation's ANSI code page). Every text field that the library
 * fills ends with a NUL inside the field, except the fields marked "whole width" below: those carry
 * the device's bytes as it sent them and may fill every byte of the field without a NUL (a device name
 * of 10 characters in a 10-byte field). Read them with a bound, e.g. strnlen(field, sizeof field).
 * The error texts of vk_get_error_string are GBK (code page 936) bytes.
 *
 * Every operation binds the local UDP port 65281 without address reuse: calls must not overlap, within
 * one process or across processes on one host (a second, overlapping call returns VK_ERR_NETWORK).
 *
 * Environment: VKCFG_BROADCAST, when set to a dotted IPv4 address, replaces the broadcast address
 * 255.255.255.255 for every datagram the library sends (read when each operation starts). A value that
 * is not a dotted IPv4 address makes the operation fail with VK_ERR_NETWORK before anything is sent.
 */
#ifndef VKCFG_H
#define VKCFG_H

#include <stddef.h>
#include <stdint.h>

#define VKCFG_VERSION_MAJOR 1
#define VKCFG_VERSION_MINOR 0
#define VKCFG_VERSION_PATCH 0

#if defined(_WIN32)
#if defined(VKCFG_BUILDING)
#define VKCFG_API __declspec(dllexport)
#else
#define VKCFG_API __declspec(dllimport)
#endif
#if defined(_WIN64)
#define VKCFG_CALL
#else
#define VKCFG_CALL __stdcall
#endif
#else
#if defined(VKCFG_BUILDING)
#define VKCFG_API __attribute__((visibility("default")))
#else
#define VKCFG_API
#endif
#define VKCFG_CALL
#endif

/* The record layouts below are checked where the header is compiled, so that every compiler and target
 * (32- and 64-bit) lays them out alike. C compilers before C11 (Microsoft C without /std:c11) have no
 * _Static_assert: there an array of negative size stops the build instead. */
#if defined(__cplusplus)
#define VKCFG_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define VKCFG_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#else
#define VKCFG_ASSERT_NAME(line) VKCFG_ASSERT_NAME_AT(line)
#define VKCFG_ASSERT_NAME_AT(line) vkcfg_layout_check_##line
#define VKCFG_STATIC_ASSERT(cond, msg) typedef char VKCFG_ASSERT_NAME(__LINE__)[(cond) ? 1 : -1]
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Result codes ---------------------------------------------------------------------------- */

enum VkResult {
    VK_OK = 1,                   /* success */
    VK_ERR_NETWORK = -1,         /* socket, broadcast or bind failure, or a receive failure */
    VK_ERR_UNEXPECTED = -2,      /* an answer arrived but was refused (status, command byte, checksum) */
    VK_ERR_NO_ANSWER = -3,       /* no answer within the time-out */
    VK_ERR_WRITE_PROTECTED = -4, /* parameter protection; no operation of the library returns it */
    VK_ERR_ARGUMENT = -5,        /* bad argument: model code without a path, missing address, NULL */
    VK_ERR_PASSWORD = -6,        /* password refused at login */
    VK_SECOND_GENERATION = 16    /* vka_search_one only: the device at the address is second-generation */
};

/* ---- Ports ----------------------------------------------------------------------------------- */

#define VK_LOCAL_PORT 65281u   /* every operation binds this local UDP port */
#define VKA_DEVICE_PORT 65535u /* first generation: text commands */
#define VKB_DEVICE_PORT 65280u /* second generation: binary frames */

/* ---- Model codes ----------------------------------------------------------------------------- */

#define VK_MODEL_UNKNOWN 0x00
#define VK_MODEL_VKA100 0x01 /* first generation */
#define VK_MODEL_VKB200 0x10 /* second generation, single port */
#define VK_MODEL_VKB220 0x20 /* first generation (text protocol) */
#define VK_MODEL_VKB301 0x31 /* 0x3x and 0x9x: second generation, multi-port */
#define VK_MODEL_VKB302 0x32
#define VK_MODEL_VKB303 0x33
#define VK_MODEL_VKB304 0x34
#define VK_MODEL_VKB308 0x38
#define VK_MODEL_VLC601 0x91
#define VK_MODEL_VLC602 0x92
#define VK_MODEL_VLC611 0x93
#define VK_MODEL_VLC621 0x94
#define VK_MODEL_EXTENDED 0x83 /* extended (time) device, found by vk_search_all_ex only */

#define VK_MAX_CHANNELS 8

/* ---- VkSearchRecord: one device as a search returns it (514 bytes, stride 514) ---------------- */

#define VK_SEARCH_RECORD_SIZE 514

typedef struct VkSearchRecord {
    uint8_t model_code;                            /* model code, see VK_MODEL_* */
    char firmware_version[16];                     /* firmware version text; whole width */
    char device_name[10];                          /* device name; whole width */
    uint8_t mac[6];                                /* MAC address */
    char ip[16];                                   /* device IP address, dotted text */
    uint8_t reserved_49;                           /* 0 */
    uint16_t local_port;                           /* data port (multi-port: channel 0), host order */
    char peer_ip[16];                              /* peer IP text (multi-port: channel 0) */
    char netmask[16];                              /* dotted text */
    char gateway[16];                              /* dotted text */
    char dns1[16];                                 /* dotted text */
    char dns2[16];                                 /* dotted text */
    char channel_peer_ip[VK_MAX_CHANNELS - 1][16]; /* multi-port: peer IP of channels 1 .. n-1 */
    uint8_t reserved_244[270];                     /* 0 */
} VkSearchRecord;

enum VkSearchRecordOffset {
    VK_SR_MODEL_CODE = 0,
    VK_SR_FIRMWARE_VERSION = 1,
    VK_SR_DEVICE_NAME = 17,
    VK_SR_MAC = 27,
    VK_SR_IP = 33,
    VK_SR_LOCAL_PORT = 50,
    VK_SR_PEER_IP = 52,
    VK_SR_NETMASK = 68,
    VK_SR_GATEWAY = 84,
    VK_SR_DNS1 = 100,
    VK_SR_DNS2 = 116,
    VK_SR_CHANNEL_PEER_IP = 132 /* channel k (k >= 1) at 132 + 16 * (k - 1) */
};

VKCFG_STATIC_ASSERT(sizeof(VkSearchRecord) == VK_SEARCH_RECORD_SIZE, "VkSearchRecord is 514 bytes");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, firmware_version) == VK_SR_FIRMWARE_VERSION, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, device_name) == VK_SR_DEVICE_NAME, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, mac) == VK_SR_MAC, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, ip) == VK_SR_IP, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, local_port) == VK_SR_LOCAL_PORT, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, peer_ip) == VK_SR_PEER_IP, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, netmask) == VK_SR_NETMASK, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, gateway) == VK_SR_GATEWAY, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, dns1) == VK_SR_DNS1, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, dns2) == VK_SR_DNS2, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, channel_peer_ip) == VK_SR_CHANNEL_PEER_IP, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecord, reserved_244) == 244, "layout");

/* ---- VkSearchRecordEx: payload of one extended search answer (360 bytes, stride 360) ----------
 * The library copies the answer's payload into the slot unchanged and does not interpret it; the
 * fields below are those that the manager reads. Addresses are four bytes, first octet first. Both
 * texts are the device's bytes as sent: whole width, and a short payload leaves them as they were. */

#define VK_SEARCH_RECORD_EX_SIZE 360

typedef struct VkSearchRecordEx {
    uint8_t model_code; /* VK_MODEL_EXTENDED for an extended device */
    uint8_t reserved_1[3];
    char firmware_version[32]; /* text; whole width */
    char device_name[16];      /* text; whole width */
    uint8_t mac[6];            /* raw MAC bytes */
    uint8_t reserved_58[2];
    uint8_t ip[4];
    uint8_t peer_ip[4];
    uint8_t netmask[4];
    uint8_t gateway[4];
    uint8_t dns1[4];
    uint8_t dns2[4];
    uint8_t reserved_84[276];
} VkSearchRecordEx;

enum VkSearchRecordExOffset {
    VK_SRX_MODEL_CODE = 0,
    VK_SRX_FIRMWARE_VERSION = 4,
    VK_SRX_DEVICE_NAME = 36,
    VK_SRX_MAC = 52,
    VK_SRX_IP = 60,
    VK_SRX_PEER_IP = 64,
    VK_SRX_NETMASK = 68,
    VK_SRX_GATEWAY = 72,
    VK_SRX_DNS1 = 76,
    VK_SRX_DNS2 = 80
};

VKCFG_STATIC_ASSERT(sizeof(VkSearchRecordEx) == VK_SEARCH_RECORD_EX_SIZE, "VkSearchRecordEx is 360 bytes");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, firmware_version) == VK_SRX_FIRMWARE_VERSION, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, device_name) == VK_SRX_DEVICE_NAME, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, mac) == VK_SRX_MAC, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, ip) == VK_SRX_IP, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, peer_ip) == VK_SRX_PEER_IP, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, netmask) == VK_SRX_NETMASK, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, gateway) == VK_SRX_GATEWAY, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, dns1) == VK_SRX_DNS1, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkSearchRecordEx, dns2) == VK_SRX_DNS2, "layout");

/* ---- LoginRecord: what the caller passes to login, logout, parameter and serial-line calls ------ */

#define VK_LOGIN_RECORD_SIZE 22

typedef struct LoginRecord {
    uint8_t model_code; /* selects the generation */
    char user_name[10]; /* NUL-padded; carried, never sent */
    char password[10];  /* NUL-padded; the first generation sends at most 9 characters */
    uint8_t channel;    /* channel index: serial-line calls of multi-port models only */
} LoginRecord;

VKCFG_STATIC_ASSERT(sizeof(LoginRecord) == VK_LOGIN_RECORD_SIZE, "LoginRecord is 22 bytes");
VKCFG_STATIC_ASSERT(offsetof(LoginRecord, password) == 11, "layout");
VKCFG_STATIC_ASSERT(offsetof(LoginRecord, channel) == 21, "layout");

/* ---- VkParamRecord: a device's parameters ------------------------------------------------------
 * Two layouts, chosen by model_code in byte 0: single-port for 0x01, 0x10 and 0x20, multi-port for the
 * codes with high nibble 3 or 9. The library writes at most 304 bytes of the single-port layout and
 * 156 + 68 * n bytes of the multi-port layout (n channels, at most 8: 700 bytes); everything else keeps
 * the caller's content. Address texts (ip, peer_ip, netmask, gateway, dns1, dns2) always end with a
 * NUL; user_name, password, device_name, firmware_version and url (of the channels too) are whole
 * width: a second-generation device's bytes as sent, and a first-generation url of 30 characters.
 * Numbers in host order. */

#define VK_PARAM_SINGLE_SIZE 304
#define VK_PARAM_CHANNEL_SIZE 68
#define VK_PARAM_MULTI_HEAD_SIZE 156
#define VK_PARAM_MULTI_SIZE (VK_PARAM_MULTI_HEAD_SIZE + VK_MAX_CHANNELS * VK_PARAM_CHANNEL_SIZE) /* 700 */
#define VK_PARAM_BUFFER_SIZE 2054 /* what the manager passes: a zeroed buffer of this size */

typedef struct VkParamSinglePort {
    uint8_t model_code;        /*   0 */
    char user_name[10];        /*   1 */
    char password[10];         /*  11 */
    char device_name[10];      /*  21 */
    char firmware_version[16]; /*  31 */
    uint8_t unused_47[17];     /*  47 */
    uint8_t mac[6];            /*  64 */
    char ip[16];               /*  70 */
    uint16_t local_port;       /*  86 */
    char peer_ip[16];          /*  88 */
    uint16_t peer_port;        /* 104 */
    char netmask[16];          /* 106 */
    char gateway[16];          /* 122 */
    char dns1[16];             /* 138 */
    char dns2[16];             /* 154 */
    char url[30];              /* 170 */
    uint8_t unused_200[58];    /* 200 */
    uint8_t protocol;          /* 258: 0 UDP, 1 TCP, 2 REAL_COM, 3 KM */
    uint8_t work_mode;         /* 259: 0 server, 1 auto, 2 client, 3 multi-socket */
    uint8_t dhcp;              /* 260 */
    uint8_t url_switch;        /* 261 */
    uint8_t auto_dns;          /* 262 */
    uint8_t network_mode;      /* 263: first generation only */
    uint8_t keep_alive;        /* 264 */
    uint8_t unused_265[25];    /* 265 */
    uint8_t max_interval;      /* 290: ms */
    uint8_t unused_291;        /* 291 */
    uint16_t max_length;       /* 292: bytes */
    uint8_t unused_294[2];     /* 294 */
    uint32_t baud_rate;        /* 296: bit/s */
    uint8_t parity;            /* 300: 0 none, 1 even, 2 odd, 3 mark, 4 space, 5 special */
    uint8_t data_bits;         /* 301 */
    uint8_t stop_bits;         /* 302 */
    uint8_t flow_control;      /* 303: 0 none, 1 CTS/RTS */
} VkParamSinglePort;

typedef struct VkParamChannel {
    uint16_t local_port;        /* +0 */
    uint16_t peer_port;         /* +2 */
    char peer_ip[16];           /* +4 */
    uint8_t channel_options[4]; /* +20: carried unchanged */
    char url[30];               /* +24 */
    uint8_t unused_54[2];       /* +54 */
    uint32_t baud_rate;         /* +56: bit/s */
    uint8_t channel_serial[4];  /* +60: carried unchanged */
    uint16_t channel_word;      /* +64: carried unchanged */
    uint8_t channel_byte;       /* +66: carried unchanged */
    uint8_t unused_67;          /* +67 */
} VkParamChannel;

typedef struct VkParamMultiPort {
    uint8_t model_code;                       /*   0 */
    char user_name[10];                       /*   1 */
    char password[10];                        /*  11 */
    char device_name[10];                     /*  21 */
    char firmware_version[16];                /*  31 */
    uint8_t unused_47[17];                    /*  47 */
    uint8_t mac[6];                           /*  64 */
    uint8_t unused_70[2];                     /*  70 */
    char ip[16];                              /*  72 */
    char netmask[16];                         /*  88 */
    char gateway[16];                         /* 104 */
    uint8_t option_a;                         /* 120: carried unchanged */
    uint8_t option_b;                         /* 121: carried unchanged */
    uint8_t unused_122[2];                    /* 122 */
    char dns1[16];                            /* 124 */
    char dns2[16];                            /* 140 */
    VkParamChannel channels[VK_MAX_CHANNELS]; /* 156 + 68 * i */
} VkParamMultiPort;

typedef union VkParamRecord {
    uint8_t model_code; /* byte 0 of both layouts */
    VkParamSinglePort single;
    VkParamMultiPort multi;
} VkParamRecord;

VKCFG_STATIC_ASSERT(sizeof(VkParamSinglePort) == VK_PARAM_SINGLE_SIZE, "single-port layout is 304 bytes");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, mac) == 64, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, ip) == 70, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, local_port) == 86, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, peer_port) == 104, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, url) == 170, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, protocol) == 258, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, keep_alive) == 264, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, max_interval) == 290, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, max_length) == 292, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, baud_rate) == 296, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamSinglePort, flow_control) == 303, "layout");
VKCFG_STATIC_ASSERT(sizeof(VkParamChannel) == VK_PARAM_CHANNEL_SIZE, "channel sub-record is 68 bytes");
VKCFG_STATIC_ASSERT(offsetof(VkParamChannel, channel_options) == 20, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamChannel, url) == 24, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamChannel, baud_rate) == 56, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamChannel, channel_word) == 64, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamChannel, channel_byte) == 66, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamMultiPort, ip) == 72, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamMultiPort, option_a) == 120, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamMultiPort, dns1) == 124, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamMultiPort, dns2) == 140, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkParamMultiPort, channels) == VK_PARAM_MULTI_HEAD_SIZE, "layout");
VKCFG_STATIC_ASSERT(sizeof(VkParamMultiPort) == VK_PARAM_MULTI_SIZE, "multi-port layout is 700 bytes");
VKCFG_STATIC_ASSERT(sizeof(VkParamRecord) == VK_PARAM_MULTI_SIZE, "a record holds either layout");

/* ---- Work blocks of the generation calls --------------------------------------------------------
 * vka_read_setting / vka_write_setting exchange the first-generation work block: the values of the
 * device's text answers, parsed. vkb_read_setting / vkb_write_setting exchange the second-generation
 * work block: the parameter frame from byte 8 on with the payload unscrambled and the model code in
 * its first byte (148 bytes for the single-port layout, 84 + 54 * n for the multi-port layout). */

#define VKA_WORK_BLOCK_SIZE 244
#define VKB_WORK_BLOCK_MAX 516

typedef struct VkaWorkBlock {
    uint8_t model_code;        /* "GDT": 1 or 0x20 */
    uint8_t mac[6];            /* "GFE" */
    uint8_t work_mode;         /* "GRM" */
    char ip[16];               /* "GIP" */
    char peer_ip[16];          /* "GDI" */
    char gateway[16];          /* "GGI" */
    char netmask[16];          /* "GNM" */
    char dns1[16];             /* "GLI" */
    char dns2[16];             /* "GLi" */
    char device_name[10];      /* "GDN" */
    char firmware_version[16]; /* "V" (15 characters and NUL) */
    char url[30];              /* "GDW"; whole width, every other text ends with a NUL */
    char user_name[10];        /* "GON" */
    char password[10];         /* "GPW" */
    uint16_t local_port;       /* "GPN" */
    uint16_t peer_port;        /* "GDP" */
    uint16_t max_length;       /* "GML" */
    uint8_t unused_186[2];
    uint32_t baud_rate;   /* "GBR", bit/s */
    uint8_t parity;       /* "GPR" */
    uint8_t data_bits;    /* "GBB": 7 or 8 */
    uint8_t max_interval; /* "GMD" */
    uint8_t protocol;     /* "GTP" */
    uint8_t dhcp;         /* "GDH" */
    uint8_t flow_control; /* "GFC" */
    uint8_t keep_alive;   /* "GKL" */
    uint8_t auto_dns;     /* "GDD" */
    uint8_t url_switch;   /* "GWW" */
    uint8_t network_mode; /* "GNB" */
    uint8_t unused_202[42];
} VkaWorkBlock;

VKCFG_STATIC_ASSERT(sizeof(VkaWorkBlock) == VKA_WORK_BLOCK_SIZE, "first-generation work block is 244 bytes");
VKCFG_STATIC_ASSERT(offsetof(VkaWorkBlock, local_port) == 180, "layout");
VKCFG_STATIC_ASSERT(offsetof(VkaWorkBlock, baud_rate) == 188, "layout");

/* Largest payload of an extended read: a 2048-byte datagram less header and checksum. The buffer given
 * to vk_read_setting_ex must hold this many bytes. */
#define VK_EX_PAYLOAD_MAX 2004
#define VK_EX_PARAM_SIZE 438 /* the extended device's parameter block */

/* ---- Checksum -------------------------------------------------------------------------------- */

/* CRC-16/XMODEM (polynomial 0x1021, initial value 0) of `length` bytes; NULL data counts as empty. */
VKCFG_API uint16_t VKCFG_CALL cal_crc(const uint8_t* data, uint16_t length);

/* ---- Discovery ------------------------------------------------------------------------------- */

/* Broadcast searches. `records` holds *count records on entry; on return *count is the number filled
 * (each device at most once, in order of arrival). Result VK_OK (also when nothing answered) or
 * VK_ERR_NETWORK (*count 0); VK_ERR_ARGUMENT when count is NULL, or records is NULL with *count > 0.
 * The text search and the binary search each end after 350 ms without an answer. */
VKCFG_API int VKCFG_CALL vka_search_all(VkSearchRecord* records, int* count); /* first generation */
VKCFG_API int VKCFG_CALL vkb_search_all(VkSearchRecord* records, int* count); /* second generation */
/* Both, one after the other: the text results first, the binary results after them. */
VKCFG_API int VKCFG_CALL vk_search_all(VkSearchRecord* records, int* count);

/* Search of one address (dotted text) with the text command "X", waiting up to 1000 ms.
 * VK_OK: first-generation device, record filled; VK_SECOND_GENERATION: second-generation device (record
 * holds model_code 0x10 and ip only); VK_ERR_NO_ANSWER: the answer is neither; VK_ERR_NETWORK: socket
 * failure, receive failure or no answer; VK_ERR_ARGUMENT: NULL argument. */
VKCFG_API int VKCFG_CALL vka_search_one(const char* ip, VkSearchRecord* record);
/* Search of one address with the binary SEARCH frame, waiting up to 1000 ms. VK_OK, VK_ERR_NETWORK,
 * VK_ERR_UNEXPECTED (bad checksum, or an answer too short for its model), VK_ERR_NO_ANSWER. */
VKCFG_API int VKCFG_CALL vkb_search_one(const char* ip, VkSearchRecord* record);
/* vka_search_one, continued by vkb_search_one when the device says it is second-generation.
 * VK_OK, VK_ERR_NETWORK, VK_ERR_UNEXPECTED, VK_ERR_NO_ANSWER, VK_ERR_ARGUMENT. */
VKCFG_API int VKCFG_CALL vk_search_one(const char* ip, VkSearchRecord* record);

/* Extended search: the payload of every second-generation search answer (command byte 2) goes into one
 * 360-byte slot, unchanged; ends after 300 ms without an answer. Count and results as vka_search_all. */
VKCFG_API int VKCFG_CALL vk_search_all_ex(VkSearchRecordEx* slots, int* count);

/* ---- Login and logout -------------------------------------------------------------------------
 * `ip`: the device's dotted address; a text of fewer than 7 characters (the empty text) means "no
 * address": the request is broadcast and names the device by its MAC. The session lives in the device:
 * a failed login ends it itself, except a password refused by a second-generation device (-6), after
 * which the caller logs out. First-generation reads and writes end the session (log in again). */

/* First generation; mac_text in "0.26.43.60.77.94" form. VK_OK, VK_ERR_NETWORK, VK_ERR_UNEXPECTED (device
 * selection refused), VK_ERR_NO_ANSWER, VK_ERR_ARGUMENT (model code neither 1 nor 0x20, or NULL),
 * VK_ERR_PASSWORD. Waits up to 1000 ms per answer. */
VKCFG_API int VKCFG_CALL vka_login(const char* ip, const char* mac_text, const LoginRecord* login);
/* Second generation; mac: 6 bytes. VK_OK, VK_ERR_NETWORK, VK_ERR_UNEXPECTED (bad checksum),
 * VK_ERR_NO_ANSWER, VK_ERR_PASSWORD, VK_ERR_ARGUMENT (NULL). */
VKCFG_API int VKCFG_CALL vkb_login(const char* ip, const uint8_t* mac, const LoginRecord* login);
/* By login->model_code: 1 and 0x20 first generation (mac as MAC text), every other code second. */
VKCFG_API int VKCFG_CALL vk_login(const char* ip, const uint8_t* mac, const LoginRecord* login);

/* Logouts send one request and await no answer: VK_OK or VK_ERR_NETWORK (VK_ERR_ARGUMENT for NULL). A
 * first-generation logout without an address reaches every first-generation device on the segment. */
VKCFG_API int VKCFG_CALL vka_logout(const char* ip, const char* mac_text); /* mac_text is not read */
VKCFG_API int VKCFG_CALL vkb_logout(const char* ip, const uint8_t* mac);
VKCFG_API int VKCFG_CALL vk_logout(const char* ip, const uint8_t* mac, const LoginRecord* login);

/* ---- Parameters ------------------------------------------------------------------------------ */

/* Read / write a device's parameters; the generation and layout follow login->model_code: 1 and 0x20
 * first generation (single-port layout), 0x10 second generation single-port, 0x3x / 0x9x second
 * generation multi-port; any other code VK_ERR_ARGUMENT with nothing sent. `record` must hold at least
 * the layout's size (sizeof(VkParamRecord) covers both). A failed read leaves the record unchanged.
 * Results: VK_OK, VK_ERR_NETWORK, VK_ERR_UNEXPECTED (refused; of a write: the device's parameter
 * protection), VK_ERR_NO_ANSWER, VK_ERR_ARGUMENT (also: an address text in the record that is not a
 * dotted IPv4 address, so that no device is ever written 255.255.255.255 by mistake). */
VKCFG_API int VKCFG_CALL vk_read_setting(const char* ip, const uint8_t* mac, VkParamRecord* record,
                                         const LoginRecord* login);
VKCFG_API int VKCFG_CALL vk_write_setting(const char* ip, const uint8_t* mac, const VkParamRecord* record,
                                          const LoginRecord* login);

/* First generation: 30 text requests to read, 26 to write, each sent up to 5 times with 100 ms waits;
 * both end the device's session. VK_ERR_ARGUMENT when the address text has at most 6 and the MAC text
 * at most 10 characters, or for NULL. The fourth argument is not read. */
VKCFG_API int VKCFG_CALL vka_read_setting(const char* ip, const char* mac_text, VkaWorkBlock* block,
                                          const LoginRecord* unused);
VKCFG_API int VKCFG_CALL vka_write_setting(const char* ip, const char* mac_text, const VkaWorkBlock* block,
                                           const LoginRecord* unused);

/* Second generation: one parameter frame each way; a write is confirmed with SAVE. `block` holds
 * VKB_WORK_BLOCK_MAX bytes. The write takes the model code from block[0] (VK_ERR_ARGUMENT unless 0x10 or
 * a multi-port code) and the MAC from the block; the fourth argument is not read. */
VKCFG_API int VKCFG_CALL vkb_read_setting(const char* ip, const uint8_t* mac, uint8_t* block,
                                          const LoginRecord* unused);
VKCFG_API int VKCFG_CALL vkb_write_setting(const char* ip, const uint8_t* mac, const uint8_t* block,
                                           const LoginRecord* unused);

/* Extended devices: the parameter block moves unchanged. The read fills `payload` (at least
 * VK_EX_PAYLOAD_MAX bytes) with the answer's payload; the write sends `length` bytes (0 to
 * VK_EX_PAYLOAD_MAX; the manager sends VK_EX_PARAM_SIZE) and confirms with SAVE. The last argument is
 * not read. VK_OK, VK_ERR_NETWORK, VK_ERR_UNEXPECTED, VK_ERR_NO_ANSWER, VK_ERR_ARGUMENT. */
VKCFG_API int VKCFG_CALL vk_read_setting_ex(const char* ip, const uint8_t* mac, uint8_t* payload,
                                            const LoginRecord* unused);
VKCFG_API int VKCFG_CALL vk_write_setting_ex(const char* ip, const uint8_t* mac, const uint8_t* payload,
                                             int length, const LoginRecord* unused);

/* ---- Serial line ------------------------------------------------------------------------------
 * One item per call, always addressed to `ip` (never broadcast), one answer awaited for up to 1000 ms.
 * Speed in bit/s; parity 0 none, 1 even, 2 odd, 3 mark, 4 space; data bits 7 or 8.
 * vka_: text commands "PBR"/"PPR"/"PBB" + digit (a speed outside the table is sent as 9600's digit).
 * vkb_: the SERIAL_SET frame on channel 0 (VK_ERR_ARGUMENT for a value the frame cannot carry).
 * vk_: by login->model_code: 1 and 0x20 first generation, 0x10 second generation on channel 0, 0x3x and
 *      0x9x second generation on channel login->channel, any other code VK_ERR_ARGUMENT.
 * VK_OK, VK_ERR_NETWORK, VK_ERR_UNEXPECTED (refused, or not a whole frame), VK_ERR_NO_ANSWER. */
VKCFG_API int VKCFG_CALL vka_setting_baud(const char* ip, int speed);
VKCFG_API int VKCFG_CALL vka_setting_parity(const char* ip, int parity);
VKCFG_API int VKCFG_CALL vka_setting_databit(const char* ip, int data_bits);
VKCFG_API int VKCFG_CALL vkb_setting_baud(const char* ip, int speed);
VKCFG_API int VKCFG_CALL vkb_setting_parity(const char* ip, int parity);
VKCFG_API int VKCFG_CALL vkb_setting_databit(const char* ip, int data_bits);
VKCFG_API int VKCFG_CALL vk_setting_baud(const char* ip, int speed, const LoginRecord* login);
VKCFG_API int VKCFG_CALL vk_setting_parity(const char* ip, int parity, const LoginRecord* login);
VKCFG_API int VKCFG_CALL vk_setting_databit(const char* ip, int data_bits, const LoginRecord* login);

/* ---- Model table and result texts ------------------------------------------------------------ */

/* Model name of the code in the argument's low byte; "Unknown" for a code not in the table. */
VKCFG_API const char* VKCFG_CALL vk_get_device_type(int model_code);
/* Model code of the exact (case-sensitive) model name; 0 when not found or NULL. */
VKCFG_API uint8_t VKCFG_CALL vk_get_device_code(const char* model_name);
/* Serial port count of the model; 0 when the code is not in the table. */
VKCFG_API int VKCFG_CALL vk_get_device_com_number(int model_code);
/* Channel count of the model (channel blocks of the multi-port layout); 0 when not in the table. */
VKCFG_API int VKCFG_CALL vk_get_device_uart_number(int model_code);
/* GBK text of a result code; the text for "unknown error" for a code without a text of its own. */
VKCFG_API const char* VKCFG_CALL vk_get_error_string(int result);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* VKCFG_H */
