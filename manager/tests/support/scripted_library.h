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
    std::string function;     // "vk_search_all", "vk_search_one", "vk_search_all_ex"
    std::string ip;           // vk_search_one
    int capacity = 0;         // *count on entry
    bool area_clear = false;  // every byte of the handed area (capacity records) was 0
};

class ScriptedLibrary final : public DeviceLibrary {
  public:
    // Answers of the broadcast searches, used in order; the last one answers every further call.
    // Without any, a search fails with VK_ERR_NETWORK.
    void ScriptSearchAll(int result, std::vector<VkSearchRecord> records);
    void ScriptSearchAllEx(int result, std::vector<VkSearchRecordEx> slots);
    // The answer at one address; an address without one gives VK_ERR_NO_ANSWER.
    void ScriptSearchOne(const std::string& ip, int result, const VkSearchRecord& record = {});

    int vk_search_all(VkSearchRecord* records, int* count) override;
    int vk_search_one(const char* ip, VkSearchRecord* record) override;
    int vk_search_all_ex(VkSearchRecordEx* slots, int* count) override;

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

    std::deque<Script<VkSearchRecord>> search_all_;
    std::deque<Script<VkSearchRecordEx>> search_all_ex_;
    std::map<std::string, std::pair<int, VkSearchRecord>> search_one_;
    std::vector<LibraryCall> calls_;
};

// A unified-search record with the fields the device list reads.
VkSearchRecord StandardRecord(uint8_t model_code, const MacBytes& mac, const std::string& ip,
                              const std::string& name, const std::string& version);
// An extended-search slot with the fields the device list reads.
VkSearchRecordEx ExtendedSlot(uint8_t model_code, const MacBytes& mac, const Ip4Bytes& ip,
                              const std::string& name, const std::string& version);

}  // namespace torvane::test
