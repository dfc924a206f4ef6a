/*
 * vkcfg: configuration protocol of the VK device family (device servers and network time devices).
 *
 * One flat C interface, usable from C and C++. Every function is synchronous, keeps no state between
 * calls and returns a result code (VK_OK = 1 on success, a negative VK_ERR_* code on failure). Every
 * buffer belongs to the caller; returned texts are constants of the library and must not be freed.
 *
 * Texts are NUL-terminated single-byte texts (the workstation's ANSI code page). The error texts of
 * vk_get_error_string are GBK (code page 936) bytes.
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

#ifdef __cplusplus
#define VKCFG_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#define VKCFG_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
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
    char firmware_version[16];                     /* firmware version text */
    char device_name[10];                          /* at most 9 characters and NUL */
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
 * fields below are those that the manager reads. Addresses are four bytes, first octet first. */

#define VK_SEARCH_RECORD_EX_SIZE 360

typedef struct VkSearchRecordEx {
    uint8_t model_code; /* VK_MODEL_EXTENDED for an extended device */
    uint8_t reserved_1[3];
    char firmware_version[32]; /* NUL-terminated text */
    char device_name[16];      /* NUL-terminated text */
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
