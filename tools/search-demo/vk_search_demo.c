/* vk_search_demo: runs vk_search_all and vk_search_all_ex once and prints what they found. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vkcfg.h"

#define CAPACITY 1024

static void text(char* out, size_t out_size, const char* field, size_t width) {
    size_t n = 0;
    while (n < width && n + 1 < out_size && field[n] != '\0') {
        out[n] = field[n];
        ++n;
    }
    out[n] = '\0';
}

static void mac_text(char* out, size_t out_size, const uint8_t* mac) {
    snprintf(out, out_size, "%u.%u.%u.%u.%u.%u", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
}

int main(void) {
    VkSearchRecord* records = calloc(CAPACITY, sizeof *records);
    VkSearchRecordEx* slots = calloc(CAPACITY, sizeof *slots);
    if (records == NULL || slots == NULL) return 1;

    int count = CAPACITY;
    int result = vk_search_all(records, &count);
    if (result != VK_OK) {
        fprintf(stderr, "vk_search_all failed with %d\n", result);
        return 1;
    }
    printf("vk_search_all: %d device(s)\n", count);
    printf("%-8s %-4s %-20s %-15s %-9s %-15s %5s %-15s\n", "MODEL", "CODE", "MAC", "IP", "NAME", "FIRMWARE",
           "PORT", "PEER");
    for (int i = 0; i < count; ++i) {
        const VkSearchRecord* r = &records[i];
        char mac[24], ip[17], name[11], firmware[17], peer[17];
        mac_text(mac, sizeof mac, r->mac);
        text(ip, sizeof ip, r->ip, sizeof r->ip);
        text(name, sizeof name, r->device_name, sizeof r->device_name);
        text(firmware, sizeof firmware, r->firmware_version, sizeof r->firmware_version);
        text(peer, sizeof peer, r->peer_ip, sizeof r->peer_ip);
        printf("%-8s %02X   %-20s %-15s %-9s %-15s %5u %-15s\n", vk_get_device_type(r->model_code),
               r->model_code, mac, ip, name, firmware, r->local_port, peer);
    }

    count = CAPACITY;
    result = vk_search_all_ex(slots, &count);
    if (result != VK_OK) {
        fprintf(stderr, "vk_search_all_ex failed with %d\n", result);
        return 1;
    }
    int extended = 0;
    for (int i = 0; i < count; ++i)
        extended += slots[i].model_code == VK_MODEL_EXTENDED;
    printf("\nvk_search_all_ex: %d answer(s), %d extended device(s)\n", count, extended);
    printf("%-4s %-20s %-15s %-16s %-32s\n", "CODE", "MAC", "IP", "NAME", "FIRMWARE");
    for (int i = 0; i < count; ++i) {
        const VkSearchRecordEx* s = &slots[i];
        if (s->model_code != VK_MODEL_EXTENDED) continue;
        char mac[24], ip[16], name[17], firmware[33];
        mac_text(mac, sizeof mac, s->mac);
        snprintf(ip, sizeof ip, "%u.%u.%u.%u", s->ip[0], s->ip[1], s->ip[2], s->ip[3]);
        text(name, sizeof name, s->device_name, sizeof s->device_name);
        text(firmware, sizeof firmware, s->firmware_version, sizeof s->firmware_version);
        printf("%02X   %-20s %-15s %-16s %-32s\n", s->model_code, mac, ip, name, firmware);
    }
    free(records);
    free(slots);
    return 0;
}
