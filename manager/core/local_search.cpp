#include "core/local_search.h"

#include <algorithm>
#include <cstring>

namespace torvane {
namespace {

// A count as the library returned it, bounded by the result area (a count beyond the capacity would
// read past the area).
int Bounded(int count) {
    return std::clamp(count, 0, LocalSearch::kCapacity);
}

}  // namespace

LocalSearch::LocalSearch(DeviceList& list, DeviceLibrary& library, SharedDeviceTable& shared_table)
    : list_(list),
      library_(library),
      shared_table_(shared_table),
      SearchRecords(kCapacity),
      SearchRecordsEx(kCapacity) {}

void LocalSearch::SetLocalInterfaces(std::vector<LocalInterface> interfaces) {
    if (interfaces.size() > kMaxLocalInterfaces) interfaces.resize(kMaxLocalInterfaces);
    local_interfaces_ = std::move(interfaces);
}

bool LocalSearch::SameSubnet(const std::string& ip_text) const {
    return torvane::SameSubnet(ip_text, local_interfaces_);
}

int LocalSearch::SubnetImage(const std::string& ip_text) const {
    return SameSubnet(ip_text) ? kImageInSubnet : kImageOutOfSubnet;
}

void LocalSearch::SetRoutes(std::vector<SearchRoute> routes, BroadcastSetting& setting) {
    routes_ = routes.empty() ? std::vector<SearchRoute>{LibraryRoute()} : std::move(routes);
    setting_ = &setting;
}

PassOutcome LocalSearch::LocalSearchPass() {
    PassOutcome outcome;
    outcome.route_answers.assign(routes_.size(), 0);
    std::vector<bool> searched(routes_.size(), false);
    for (size_t r = 0; r < routes_.size(); ++r) {
        const BroadcastScope scope(setting_, routes_[r]);
        const int result = SearchAndMerge(outcome.route_answers[r]);
        searched[r] = result == VK_OK;
        if (!searched[r] && outcome.search_result == VK_OK) outcome.search_result = result;
    }
    if (std::none_of(searched.begin(), searched.end(), [](bool ok) { return ok; })) return outcome;
    outcome.answers += MergeSharedTable();
    for (size_t r = 0; r < routes_.size(); ++r) {
        if (!searched[r]) continue;
        const BroadcastScope scope(setting_, routes_[r]);
        outcome.route_answers[r] += MergeExtendedSearch();
    }
    for (size_t n : outcome.route_answers)
        outcome.answers += n;
    return outcome;
}

int LocalSearch::SearchAndMerge(size_t& records) {
    std::memset(SearchRecords.data(), 0, SearchRecords.size() * sizeof(VkSearchRecord));
    int count = kCapacity;
    const int result = library_.vk_search_all(SearchRecords.data(), &count);
    if (result != VK_OK) return result;
    count = Bounded(count);
    MergeSearchRecords(count);
    records = static_cast<size_t>(count);
    return VK_OK;
}

void LocalSearch::MergeSearchRecords(int count) {
    for (int i = 0; i < count; ++i) {
        const VkSearchRecord& r = SearchRecords[static_cast<size_t>(i)];
        // Unless every model is asked for, only the VKB220 is listed from this search. Other records
        // are skipped, not taken as the end: the list must not depend on the order in which the
        // devices answered.
        if (!all_models_ && r.model_code != VK_MODEL_VKB220) continue;
        Merge({MacToText(r.mac), FieldText(r.ip), FieldText(r.device_name), FieldText(r.firmware_version),
               RecordBytes(r)});
    }
}

size_t LocalSearch::MergeSharedTable() {
    const SharedTableSnapshot table = shared_table_.Read();
    if (table.status != SharedTableStatus::kRead) return 0;
    size_t merged = 0;
    for (const auto& bytes : table.entries) {
        const auto entry = ParseSharedEntry(bytes);
        if (!entry) continue;
        Merge(
            {MacToText(entry->mac), entry->ip_text, entry->name, std::nullopt, RecordOfSharedEntry(*entry)});
        ++merged;
    }
    return merged;
}

size_t LocalSearch::MergeExtendedSearch() {
    std::memset(SearchRecordsEx.data(), 0, SearchRecordsEx.size() * sizeof(VkSearchRecordEx));
    int count = kCapacity;
    if (library_.vk_search_all_ex(SearchRecordsEx.data(), &count) != VK_OK) return 0;
    count = Bounded(count);
    for (int i = 0; i < count; ++i) {
        const VkSearchRecordEx& r = SearchRecordsEx[static_cast<size_t>(i)];
        if (r.model_code != VK_MODEL_EXTENDED) continue;
        Merge({MacToText(r.mac), IpBytesToText(r.ip), FieldText(r.device_name), FieldText(r.firmware_version),
               RecordBytes(r)});
    }
    return static_cast<size_t>(count);
}

// Every row with the device's MAC text takes its address, name and version (and a local row the image
// of its new address); caption, Location and record stay. Without such a row, a new local row.
void LocalSearch::Merge(const Found& found) {
    const std::vector<size_t> rows = list_.RowsWithMac(found.mac_text);
    for (size_t row : rows) {
        list_.Update(row, [&](DeviceRow& r) {
            r.sub[kSubIp] = found.ip;
            r.sub[kSubName] = found.name;
            if (found.version) r.sub[kSubVersion] = *found.version;
            if (!r.is_address_book()) r.image = SubnetImage(found.ip);
        });
    }
    if (!rows.empty()) return;
    DeviceRow row;
    row.caption = kOnline;
    row.sub = {found.mac_text, found.ip, found.name, found.version.value_or(""), kLocationLocal};
    row.image = SubnetImage(found.ip);
    row.param->DeviceRecord = found.record;
    list_.Append(std::move(row));
}

}  // namespace torvane
