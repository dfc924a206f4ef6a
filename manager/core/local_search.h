// One search pass of the local search: the unified broadcast search, the shared device table and the
// extended search, each merged into the device list by MAC text. Owns the preallocated result areas
// that every pass reuses and the workstation's interface table that marks rows by subnet.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/device_library.h"
#include "core/device_list.h"
#include "core/search_route.h"
#include "core/shared_table.h"
#include "core/subnet.h"

namespace torvane {

// What one pass heard, before any record was left out by its model code.
struct PassOutcome {
    int search_result = VK_OK;          // of vk_search_all (through several routes: the first that failed)
    size_t answers = 0;                 // records of both searches and entries of the shared table
    std::vector<size_t> route_answers;  // records of both searches through each route, in its order
};

class LocalSearch {
  public:
    static constexpr int kCapacity = 1024;  // records that one search call may report

    LocalSearch(DeviceList& list, DeviceLibrary& library, SharedDeviceTable& shared_table);

    // The interface table (at most 13 entries are kept); filled once at start-up.
    void SetLocalInterfaces(std::vector<LocalInterface> interfaces);
    const std::vector<LocalInterface>& LocalInterfaces() const { return local_interfaces_; }
    bool SameSubnet(const std::string& ip_text) const;

    // Which records of vk_search_all are listed: only the VKB220's (off, the default), or those of
    // every model (on), each merged by the same rules.
    void SetAllModels(bool all_models) { all_models_ = all_models; }
    bool AllModels() const { return all_models_; }

    // The routes that every pass searches through, one after another, with the setting that points the
    // library's broadcast address at each. Without routes (the default) a pass searches through the
    // library's own broadcast address alone.
    void SetRoutes(std::vector<SearchRoute> routes, BroadcastSetting& setting);
    const std::vector<SearchRoute>& Routes() const { return routes_; }

    // Through each route in turn vk_search_all and its merge; then the shared table; then through each
    // route whose vk_search_all succeeded the extended search. When vk_search_all fails through every
    // route the pass ends there and the list stays as it was. Reports nothing itself; the caller
    // learns what was heard.
    PassOutcome LocalSearchPass();
    // vk_search_all_ex and the merge of its extended devices (model code 0x83); the number of
    // records it returned.
    size_t MergeExtendedSearch();

  private:
    struct Found {
        std::string mac_text;
        std::string ip;
        std::string name;
        std::optional<std::string> version;  // the table has none and leaves the row's version alone
        DeviceRecordBytes record;            // for a new row only
    };

    // vk_search_all and the merge of its records; the records it returned, or the failing result.
    int SearchAndMerge(size_t& records);
    void MergeSearchRecords(int count);
    size_t MergeSharedTable();
    void Merge(const Found& found);
    int SubnetImage(const std::string& ip_text) const;

    DeviceList& list_;
    DeviceLibrary& library_;
    SharedDeviceTable& shared_table_;
    std::vector<LocalInterface> local_interfaces_;
    bool all_models_ = false;
    std::vector<SearchRoute> routes_{LibraryRoute()};
    BroadcastSetting* setting_ = nullptr;
    std::vector<VkSearchRecord> SearchRecords;      // kCapacity slots of 514 bytes
    std::vector<VkSearchRecordEx> SearchRecordsEx;  // kCapacity slots of 360 bytes
};

}  // namespace torvane
