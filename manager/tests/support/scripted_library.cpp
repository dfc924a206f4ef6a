#include "support/scripted_library.h"

#include <algorithm>
#include <cstring>

namespace torvane::test {
namespace {

bool AllZero(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    return std::all_of(b, b + n, [](uint8_t x) { return x == 0; });
}

void CopyText(char* field, size_t width, const std::string& text) {
    std::memset(field, 0, width);
    std::memcpy(field, text.data(), std::min(width, text.size()));
}

}  // namespace

void ScriptedLibrary::ScriptSearchAll(int result, std::vector<VkSearchRecord> records) {
    search_all_.push_back({result, std::move(records)});
}

void ScriptedLibrary::ScriptSearchAllEx(int result, std::vector<VkSearchRecordEx> slots) {
    search_all_ex_.push_back({result, std::move(slots)});
}

void ScriptedLibrary::ScriptSearchOne(const std::string& ip, int result, const VkSearchRecord& record) {
    search_one_[ip] = {result, record};
}

template <typename Record>
int ScriptedLibrary::Answer(std::deque<Script<Record>>& scripts, const char* name, Record* area, int* count) {
    const int capacity = *count;
    calls_.push_back({name, "", capacity, AllZero(area, sizeof(Record) * static_cast<size_t>(capacity))});
    if (scripts.empty()) {
        *count = 0;
        return VK_ERR_NETWORK;
    }
    const Script<Record>& s = scripts.front();
    const size_t n = std::min(s.records.size(), static_cast<size_t>(capacity));
    std::copy_n(s.records.begin(), n, area);
    *count = static_cast<int>(n);
    const int result = s.result;
    if (scripts.size() > 1) scripts.pop_front();
    return result;
}

int ScriptedLibrary::vk_search_all(VkSearchRecord* records, int* count) {
    return Answer(search_all_, "vk_search_all", records, count);
}

int ScriptedLibrary::vk_search_all_ex(VkSearchRecordEx* slots, int* count) {
    return Answer(search_all_ex_, "vk_search_all_ex", slots, count);
}

int ScriptedLibrary::vk_search_one(const char* ip, VkSearchRecord* record) {
    calls_.push_back({"vk_search_one", ip, 1, AllZero(record, sizeof *record)});
    auto it = search_one_.find(ip);
    if (it == search_one_.end()) return VK_ERR_NO_ANSWER;
    if (it->second.first == VK_OK) *record = it->second.second;
    return it->second.first;
}

std::vector<std::string> ScriptedLibrary::CalledFunctions() const {
    std::vector<std::string> out;
    for (const auto& c : calls_)
        out.push_back(c.function);
    return out;
}

VkSearchRecord StandardRecord(uint8_t model_code, const MacBytes& mac, const std::string& ip,
                              const std::string& name, const std::string& version) {
    VkSearchRecord r{};
    r.model_code = model_code;
    std::memcpy(r.mac, mac.data(), 6);
    CopyText(r.ip, sizeof r.ip, ip);
    CopyText(r.device_name, sizeof r.device_name, name);
    CopyText(r.firmware_version, sizeof r.firmware_version, version);
    return r;
}

VkSearchRecordEx ExtendedSlot(uint8_t model_code, const MacBytes& mac, const Ip4Bytes& ip,
                              const std::string& name, const std::string& version) {
    VkSearchRecordEx s{};
    s.model_code = model_code;
    std::memcpy(s.mac, mac.data(), 6);
    std::memcpy(s.ip, ip.data(), 4);
    CopyText(s.device_name, sizeof s.device_name, name);
    CopyText(s.firmware_version, sizeof s.firmware_version, version);
    return s;
}

}  // namespace torvane::test
