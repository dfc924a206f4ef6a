// One search pass of the local search: the unified broadcast search, the shared device table and the
// extended search, each merged into the device list by MAC text. Owns the preallocated result areas
// that every pass reuses and the workstation's interface table that marks rows by subnet.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/device_library.h"
#include "core/device_list.h"
#include "core/shared_table.h"
#include "core/subnet.h"

namespace torvane {

class LocalSearch {
  public:
    static constexpr int kCapacity = 1024;  // records that one search call may report

    LocalSearch(DeviceList& list, DeviceLibrary& library, SharedDeviceTable& shared_table);

    // The interface table (at most 13 entries are kept); filled once at start-up.
    void SetLocalInterfaces(std::vector<LocalInterface> interfaces);
    const std::vector<LocalInterface>& LocalInterfaces() const { return local_interfaces_; }
    bool SameSubnet(const std::string& ip_text) const;

    // vk_search_all and its merge, then the shared table and the extended search. When vk_search_all
    // fails the pass ends at once and the list stays as it was. Never reports anything.
    void LocalSearchPass();
    // vk_search_all_ex and the merge of its extended devices (model code 0x83).
    void MergeExtendedSearch();

  private:
    struct Found {
        std::string mac_text;
        std::string ip;
        std::string name;
        std::optional<std::string> version;  // the table has none and leaves the row's version alone
        DeviceRecordBytes record;            // for a new row only
    };

    void MergeSearchRecords(int count);
    void MergeSharedTable();
    void Merge(const Found& found);
    int SubnetImage(const std::string& ip_text) const;

    DeviceList& list_;
    DeviceLibrary& library_;
    SharedDeviceTable& shared_table_;
    std::vector<LocalInterface> local_interfaces_;
    std::vector<VkSearchRecord> SearchRecords;      // kCapacity slots of 514 bytes
    std::vector<VkSearchRecordEx> SearchRecordsEx;  // kCapacity slots of 360 bytes
};

}  // namespace torvane
