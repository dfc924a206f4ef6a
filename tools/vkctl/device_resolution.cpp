#include "device_resolution.h"

#include <algorithm>
#include <optional>

#include "device_text.h"
#include "exit_status.h"
#include "vkcfg.h"

namespace vkctl {
namespace {

constexpr int kCapacity = 1024;  // as many records as the manager passes

std::vector<VkSearchRecord> StandardSearch() {
    std::vector<VkSearchRecord> records(kCapacity);
    int count = kCapacity;
    const int result = vk_search_all(records.data(), &count);
    if (result != VK_OK) throw Failure::FromResult("search", result);
    records.resize(static_cast<size_t>(count));
    return records;
}

// Only the extended devices among the extended search's answers: the others answer the standard search.
std::vector<VkSearchRecordEx> ExtendedSearch() {
    std::vector<VkSearchRecordEx> slots(kCapacity);
    int count = kCapacity;
    const int result = vk_search_all_ex(slots.data(), &count);
    if (result != VK_OK) throw Failure::FromResult("extended search", result);
    slots.resize(static_cast<size_t>(count));
    std::erase_if(slots, [](const VkSearchRecordEx& s) { return s.model_code != VK_MODEL_EXTENDED; });
    return slots;
}

bool SameMac(const uint8_t* a, const torvane::MacBytes& b) {
    return std::equal(b.begin(), b.end(), a);
}

Device FromRow(const SearchRow& row, std::string address, std::string label) {
    return Device{row.model_code, row.mac, std::move(address), row.ip, std::move(label)};
}

Device ByMac(const torvane::MacBytes& mac, const std::string& label) {
    for (const auto& r : StandardSearch()) {
        if (SameMac(r.mac, mac)) return FromRow(RowOf(r), "", label);
    }
    for (const auto& s : ExtendedSearch()) {
        if (SameMac(s.mac, mac)) return FromRow(RowOf(s), "", label);
    }
    throw Failure(ExitStatus::kNotFound, "no device with MAC " + label + " answered the search");
}

}  // namespace

std::vector<SearchRow> SearchAll(bool extended) {
    std::vector<SearchRow> rows;
    for (const auto& r : StandardSearch())
        rows.push_back(RowOf(r));
    if (extended) {
        for (const auto& s : ExtendedSearch())
            rows.push_back(RowOf(s));
    }
    return rows;
}

SearchRow FindOne(const std::string& ip) {
    VkSearchRecord record{};
    const int result = vk_search_one(ip.c_str(), &record);
    if (result == VK_OK) return RowOf(record);
    if (result != VK_ERR_NO_ANSWER) throw Failure::FromResult("search of " + ip, result);
    for (const auto& s : ExtendedSearch()) {
        if (torvane::IpBytesToText(s.ip) == ip) return RowOf(s);
    }
    throw Failure(ExitStatus::kNotFound, "no device answered at " + ip);
}

Device ResolveDevice(const std::string& text) {
    const auto parsed = ParseDeviceText(text);
    if (!parsed)
        throw Failure(ExitStatus::kUsage,
                      "\"" + text +
                          "\" names no device: an IPv4 address, a MAC as 0.26.43.60.77.94 or "
                          "00-1A-2B-3C-4D-5E is expected");
    if (parsed->kind == DeviceText::Kind::kMac) return ByMac(parsed->mac, text);
    return FromRow(FindOne(parsed->ip), parsed->ip, parsed->ip);
}

}  // namespace vkctl
