#include "core/device_list.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace torvane {
namespace {

unsigned char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

int CompareTexts(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int d = FoldCase(a[i]) - FoldCase(b[i]);
        if (d != 0) return d;
    }
    return (a.size() < b.size()) ? -1 : (a.size() > b.size() ? 1 : 0);
}

const std::string* SortText(const DeviceRow& row, int sort_column) {
    if (sort_column == 0) return &row.caption;
    if (sort_column < 0 || static_cast<size_t>(sort_column) > kSubTextCount) return nullptr;
    return &row.sub[static_cast<size_t>(sort_column) - 1];
}

}  // namespace

int ListView1Compare(const DeviceRow& a, const DeviceRow& b, int sort_column) {
    const std::string* ta = SortText(a, sort_column);
    const std::string* tb = SortText(b, sort_column);
    return (ta && tb) ? CompareTexts(*ta, *tb) : 0;
}

size_t DeviceList::Append(DeviceRow row) {
    if (!row.param) row.param = std::make_unique<TDeviceParam>();
    if (!in_order_) {
        const TDeviceParam* param = row.param.get();
        const size_t end = rows_.size();
        observer().RowAboutToBeInserted(end);
        rows_.push_back(std::move(row));
        observer().RowInserted(end);
        Sort();
        const auto it = std::find_if(rows_.begin(), rows_.end(),
                                     [param](const DeviceRow& r) { return r.param.get() == param; });
        return static_cast<size_t>(it - rows_.begin());
    }
    const auto place = std::upper_bound(
        rows_.begin(), rows_.end(), row,
        [this](const DeviceRow& a, const DeviceRow& b) { return ListView1Compare(a, b, sort_column_) < 0; });
    const size_t at = static_cast<size_t>(place - rows_.begin());
    observer().RowAboutToBeInserted(at);
    rows_.insert(place, std::move(row));
    observer().RowInserted(at);
    return at;
}

void DeviceList::Remove(size_t row) {
    if (row >= rows_.size()) throw std::out_of_range("DeviceList::Remove: no row " + std::to_string(row));
    observer().RowAboutToBeRemoved(row);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    observer().RowRemoved(row);
}

void DeviceList::Update(size_t row, const std::function<void(DeviceRow&)>& change) {
    DeviceRow& r = rows_.at(row);
    TDeviceParam* param = r.param.get();
    change(r);
    if (r.param.get() != param)
        throw std::logic_error("DeviceList::Update must not replace a row's TDeviceParam");
    in_order_ = in_order_ && InOrderAt(row);
    observer().RowChanged(row);
}

std::vector<size_t> DeviceList::RowsWithMac(const std::string& mac_text) const {
    std::vector<size_t> out;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].sub[kSubMac] == mac_text) out.push_back(i);
    }
    return out;
}

bool DeviceList::InOrderAt(size_t row) const {
    const bool after_previous = row == 0 || ListView1Compare(rows_[row - 1], rows_[row], sort_column_) <= 0;
    const bool before_next =
        row + 1 >= rows_.size() || ListView1Compare(rows_[row], rows_[row + 1], sort_column_) <= 0;
    return after_previous && before_next;
}

void DeviceList::SetSortColumn(int column) {
    if (column != sort_column_) in_order_ = false;
    sort_column_ = column;
}

void DeviceList::Sort() {
    in_order_ = true;
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return ListView1Compare(rows_[a], rows_[b], sort_column_) < 0;
    });
    if (std::is_sorted(order.begin(), order.end())) return;  // nothing moves
    observer().AboutToSort();
    std::vector<DeviceRow> sorted;
    sorted.reserve(rows_.size());
    for (size_t i : order)
        sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
    observer().Sorted(order);
}

}  // namespace torvane
