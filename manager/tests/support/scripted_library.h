// A DeviceLibrary for tests: answers with scripted results and records, and records every call with
// what it was handed (the capacity, whether the result area came in cleared).
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/address_text.h"
#include "core/device_library.h"

namespace torvane::test {

struct LibraryCall {
    std::string function;     // "vk_search_all", "vk_login", "vk_write_setting_ex"...
    std::string ip;           // every call but the broadcast searches
    int capacity = 0;         // searches: *count on entry; vk_write_setting_ex: the length
    bool area_clear = false;  // every byte of the handed area (capacity records; a read's record) was 0
    std::string mac{};        // the MAC as MacToText gives it, for the calls that take one
    std::string user_name{};  // the LoginRecord's texts, for the calls that take one
    std::string password{};
    uint8_t model_code = 0;  // the LoginRecord's
};

class ScriptedLibrary final : public DeviceLibrary {
  public:
    // Answers of the broadcast searches, used in order; the last one answers every further call.
    // Without any, a search fails with VK_ERR_NETWORK.
    void ScriptSearchAll(int result, std::vector<VkSearchRecord> records);
    void ScriptSearchAllEx(int result, std::vector<VkSearchRecordEx> slots);
    // The answer at one address; an address without one gives VK_ERR_NO_ANSWER.
    void ScriptSearchOne(const std::string& ip, int result, const VkSearchRecord& record = {});
    // Results of vk_login, in order; once they are used up every login gives VK_OK.
    void ScriptLogins(std::vector<int> results);
    // What the reads give: the result and, on VK_OK, the bytes copied to the start of the record or
    // payload. Without a script a read gives VK_OK and leaves the area as it was handed.
    void ScriptRead(int result, std::vector<uint8_t> bytes = {});
    // What the writes give (VK_OK without a script).
    void ScriptWrite(int result);
    // The bytes that the last write handed over (the VkParamRecord, or `length` bytes of the payload).
    const std::vector<uint8_t>& written() const { return written_; }

    int vk_search_all(VkSearchRecord* records, int* count) override;
    int vk_search_one(const char* ip, VkSearchRecord* record) override;
    int vk_search_all_ex(VkSearchRecordEx* slots, int* count) override;
    int vk_login(const char* ip, const uint8_t* mac, const LoginRecord* login) override;
    int vk_logout(const char* ip, const uint8_t* mac, const LoginRecord* login) override;
    int vk_read_setting(const char* ip, const uint8_t* mac, VkParamRecord* record,
                        const LoginRecord* login) override;
    int vk_write_setting(const char* ip, const uint8_t* mac, const VkParamRecord* record,
                         const LoginRecord* login) override;
    int vk_read_setting_ex(const char* ip, const uint8_t* mac, uint8_t* payload,
                           const LoginRecord* login) override;
    int vk_write_setting_ex(const char* ip, const uint8_t* mac, const uint8_t* payload, int length,
                            const LoginRecord* login) override;

    const std::vector<LibraryCall>& calls() const { return calls_; }
    std::vector<std::string> CalledFunctions() const;

  private:
    template <typename Record>
    struct Script {
        int result;
        std::vector<Record> records;
    };
    template <typename Record>
    int Answer(std::deque<Script<Record>>& scripts, const char* name, Record* area, int* count);
    void RecordSessionCall(const char* name, const char* ip, const uint8_t* mac, const LoginRecord* login);
    int Read(const char* name, const char* ip, const uint8_t* mac, uint8_t* area, size_t size,
             const LoginRecord* login);
    int Write(const char* name, const char* ip, const uint8_t* mac, const uint8_t* bytes, size_t size,
              const LoginRecord* login);

    std::deque<Script<VkSearchRecord>> search_all_;
    std::deque<Script<VkSearchRecordEx>> search_all_ex_;
    std::map<std::string, std::pair<int, VkSearchRecord>> search_one_;
    std::deque<int> logins_;
    int read_result_ = VK_OK;
    std::vector<uint8_t> read_bytes_;
    int write_result_ = VK_OK;
    std::vector<uint8_t> written_;
    std::vector<LibraryCall> calls_;
};

// A unified-search record with the fields the device list reads.
VkSearchRecord StandardRecord(uint8_t model_code, const MacBytes& mac, const std::string& ip,
                              const std::string& name, const std::string& version);
// An extended-search slot with the fields the device list reads.
VkSearchRecordEx ExtendedSlot(uint8_t model_code, const MacBytes& mac, const Ip4Bytes& ip,
                              const std::string& name, const std::string& version);

}  // namespace torvane::test
