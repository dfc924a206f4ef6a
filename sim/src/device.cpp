#include "device.h"

#include <cstdio>
#include <cstdlib>

namespace vksim {

const std::vector<ModelInfo>& AllModels() {
    static const std::vector<ModelInfo> models{
        {"VKA100", 0x01, Generation::kText, 0},
        {"VKB220", 0x20, Generation::kText, 0},
        {"VKB200", 0x10, Generation::kBinary, 0},
        {"VKB301", 0x31, Generation::kBinary, 1},
        {"VKB302", 0x32, Generation::kBinary, 2},
        {"VKB303", 0x33, Generation::kBinary, 3},
        {"VKB304", 0x34, Generation::kBinary, 4},
        {"VKB308", 0x38, Generation::kBinary, 8},
        {"VLC601", 0x91, Generation::kBinary, 1},
        {"VLC602", 0x92, Generation::kBinary, 3},
        {"VLC611", 0x93, Generation::kBinary, 2},
        {"VLC621", 0x94, Generation::kBinary, 3},
        {"EXT", kExtendedModel, Generation::kExtended, 0},
    };
    return models;
}

const ModelInfo* FindModel(const std::string& name) {
    for (const auto& m : AllModels()) {
        if (name == m.name) return &m;
    }
    char* end = nullptr;
    long code = std::strtol(name.c_str(), &end, 0);
    if (!name.empty() && end && *end == '\0' && code >= 0 && code <= 0xFF)
        return FindModel(static_cast<uint8_t>(code));
    return nullptr;
}

const ModelInfo* FindModel(uint8_t code) {
    for (const auto& m : AllModels()) {
        if (m.code == code) return &m;
    }
    return nullptr;
}

std::string IpText(const Ip4& ip) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", ip[0], ip[1], ip[2], ip[3]);
    return buf;
}

std::string MacDecimalText(const Mac& m) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u.%u.%u", m[0], m[1], m[2], m[3], m[4], m[5]);
    return buf;
}

bool ParseIp(const std::string& text, Ip4& out) {
    unsigned a, b, c, d;
    char tail;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4) return false;
    if (a > 255 || b > 255 || c > 255 || d > 255) return false;
    out = {static_cast<uint8_t>(a), static_cast<uint8_t>(b), static_cast<uint8_t>(c),
           static_cast<uint8_t>(d)};
    return true;
}

bool ParseMac(const std::string& text, Mac& out) {
    unsigned v[6];
    char tail;
    if (std::sscanf(text.c_str(), "%x:%x:%x:%x:%x:%x%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &tail) !=
            6 &&
        std::sscanf(text.c_str(), "%x-%x-%x-%x-%x-%x%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &tail) !=
            6 &&
        std::sscanf(text.c_str(), "%u.%u.%u.%u.%u.%u%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &tail) !=
            6)
        return false;
    for (int i = 0; i < 6; ++i) {
        if (v[i] > 255) return false;
        out[static_cast<size_t>(i)] = static_cast<uint8_t>(v[i]);
    }
    return true;
}

}  // namespace vksim
