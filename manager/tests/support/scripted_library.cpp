#include "support/scripted_library.h"

#include <algorithm>
#include <cstring>

#include "core/field_text.h"

namespace torvane::test {
namespace {

bool AllZero(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    return std::all_of(b, b + n, [](uint8_t x) { return x == 0; });
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

void ScriptedLibrary::ScriptLogins(std::vector<int> results) {
    logins_.assign(results.begin(), results.end());
}

void ScriptedLibrary::ScriptRead(int result, std::vector<uint8_t> bytes) {
    read_result_ = result;
    read_bytes_ = std::move(bytes);
}

void ScriptedLibrary::ScriptWrite(int result) {
    write_result_ = result;
}

void ScriptedLibrary::RecordSessionCall(const char* name, const char* ip, const uint8_t* mac,
                                        const LoginRecord* login) {
    LibraryCall c{name, ip};
    c.mac = MacToText(mac);
    c.user_name = FieldText(login->user_name);
    c.password = FieldText(login->password);
    c.model_code = login->model_code;
    calls_.push_back(std::move(c));
}

int ScriptedLibrary::vk_login(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    RecordSessionCall("vk_login", ip, mac, login);
    if (logins_.empty()) return VK_OK;
    const int result = logins_.front();
    logins_.pop_front();
    return result;
}

int ScriptedLibrary::vk_logout(const char* ip, const uint8_t* mac, const LoginRecord* login) {
    RecordSessionCall("vk_logout", ip, mac, login);
    return VK_OK;
}

int ScriptedLibrary::Read(const char* name, const char* ip, const uint8_t* mac, uint8_t* area, size_t size,
                          const LoginRecord* login) {
    RecordSessionCall(name, ip, mac, login);
    calls_.back().area_clear = AllZero(area, size);
    if (read_result_ == VK_OK) std::copy_n(read_bytes_.begin(), std::min(size, read_bytes_.size()), area);
    return read_result_;
}

int ScriptedLibrary::Write(const char* name, const char* ip, const uint8_t* mac, const uint8_t* bytes,
                           size_t size, const LoginRecord* login) {
    RecordSessionCall(name, ip, mac, login);
    calls_.back().capacity = static_cast<int>(size);
    written_.assign(bytes, bytes + size);
    return write_result_;
}

int ScriptedLibrary::vk_read_setting(const char* ip, const uint8_t* mac, VkParamRecord* record,
                                     const LoginRecord* login) {
    return Read("vk_read_setting", ip, mac, reinterpret_cast<uint8_t*>(record), sizeof *record, login);
}

int ScriptedLibrary::vk_write_setting(const char* ip, const uint8_t* mac, const VkParamRecord* record,
                                      const LoginRecord* login) {
    return Write("vk_write_setting", ip, mac, reinterpret_cast<const uint8_t*>(record), sizeof *record,
                 login);
}

int ScriptedLibrary::vk_read_setting_ex(const char* ip, const uint8_t* mac, uint8_t* payload,
                                        const LoginRecord* login) {
    return Read("vk_read_setting_ex", ip, mac, payload, VK_EX_PAYLOAD_MAX, login);
}

int ScriptedLibrary::vk_write_setting_ex(const char* ip, const uint8_t* mac, const uint8_t* payload,
                                         int length, const LoginRecord* login) {
    return Write("vk_write_setting_ex", ip, mac, payload, static_cast<size_t>(length), login);
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
    PutFieldText(r.ip, ip, TextEnd::kMayFill);
    PutFieldText(r.device_name, name, TextEnd::kMayFill);
    PutFieldText(r.firmware_version, version, TextEnd::kMayFill);
    return r;
}

VkSearchRecordEx ExtendedSlot(uint8_t model_code, const MacBytes& mac, const Ip4Bytes& ip,
                              const std::string& name, const std::string& version) {
    VkSearchRecordEx s{};
    s.model_code = model_code;
    std::memcpy(s.mac, mac.data(), 6);
    std::memcpy(s.ip, ip.data(), 4);
    PutFieldText(s.device_name, name, TextEnd::kMayFill);
    PutFieldText(s.firmware_version, version, TextEnd::kMayFill);
    return s;
}

}  // namespace torvane::test
