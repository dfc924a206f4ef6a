// The device list as a model without widgets: rows with a caption, five sub-texts, an image and the
// TDeviceParam behind the row, kept in the order of the sort column. Views follow it through an
// observer that hears of every change before and after it happens (the shape an item model needs).
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/device_record.h"

namespace torvane {

inline constexpr const char* kOnline = "Online";
inline constexpr const char* kOffline = "Offline";
inline constexpr const char* kLocationLocal = "Local";
inline constexpr const char* kLocationAddressBook = "AddressBook";

// Sub-texts of a row; the caption is column 0 of the view, sub-text k is column k + 1.
enum SubText : size_t { kSubMac = 0, kSubIp = 1, kSubName = 2, kSubVersion = 3, kSubLocation = 4 };
inline constexpr size_t kSubTextCount = 5;

// Row images.
enum RowImage : int {
    kImageBookOffline = 0,  // address-book row that has not answered a search by address
    kImageInSubnet = 1,     // local row inside a subnet of one of the workstation's interfaces
    kImageBookOnline = 2,   // address-book row that answered a search by address
    kImageOutOfSubnet = 6,  // local row outside every subnet of the workstation
};

struct DeviceRow {
    std::string caption;
    std::array<std::string, kSubTextCount> sub;
    int image = 0;
    // Owned by the row and never null; its address stays the same while the row lives, whatever the
    // sort does, so a session may keep it.
    std::unique_ptr<TDeviceParam> param = std::make_unique<TDeviceParam>();

    const std::string& location() const { return sub[kSubLocation]; }
    bool is_address_book() const { return sub[kSubLocation] == kLocationAddressBook; }
    bool is_local() const { return sub[kSubLocation] == kLocationLocal; }
};

// Hears of every change of a DeviceList. Row numbers are those before the change in the "About"
// calls and after it in the others.
class DeviceListObserver {
  public:
    virtual ~DeviceListObserver() = default;
    virtual void RowAboutToBeInserted(size_t /*row*/) {}
    virtual void RowInserted(size_t /*row*/) {}
    virtual void RowAboutToBeRemoved(size_t /*row*/) {}
    virtual void RowRemoved(size_t /*row*/) {}
    virtual void RowChanged(size_t /*row*/) {}
    virtual void AboutToSort() {}
    // new_order[k] is the row number before the sort of the row that now stands at k.
    virtual void Sorted(const std::vector<size_t>& /*new_order*/) {}
};

// Compares two rows by `sort_column`: 0 the captions, k the sub-texts k - 1. ASCII letters compare as
// upper case, other bytes by their unsigned value, a text before every longer text that begins with
// it. Negative, zero or positive.
int ListView1Compare(const DeviceRow& a, const DeviceRow& b, int sort_column);

class DeviceList {
  public:
    size_t RowCount() const { return rows_.size(); }
    const DeviceRow& Row(size_t row) const { return rows_.at(row); }

    // Adds the row and keeps the list sorted (every attached TDeviceParam re-sorts it): the row goes
    // after the rows whose key equals its own, which is where a stable sort of the whole list would put
    // it. While the list is in order that costs a binary search; when a change of a key or of the sort
    // column has left it out of order, the whole list is sorted as before. Returns the new row's number.
    size_t Append(DeviceRow row);
    void Remove(size_t row);

    // Changes a row in place (texts, image, record; not its TDeviceParam object) and tells the
    // observer. The list is not re-sorted.
    void Update(size_t row, const std::function<void(DeviceRow&)>& change);

    // Row numbers whose MAC text equals `mac_text` exactly, in list order.
    std::vector<size_t> RowsWithMac(const std::string& mac_text) const;

    int SortColumn() const { return sort_column_; }
    void SetSortColumn(int column);
    void Sort();  // stable: rows with equal keys keep their order

    void SetObserver(DeviceListObserver* observer) { observer_ = observer; }

  private:
    bool InOrderAt(size_t row) const;  // the row stands in order with its two neighbours

    std::vector<DeviceRow> rows_;
    int sort_column_ = 0;
    bool in_order_ = true;  // rows_ is sorted by sort_column_
    DeviceListObserver* observer_ = nullptr;
    DeviceListObserver quiet_;
    DeviceListObserver& observer() { return observer_ ? *observer_ : quiet_; }
};

}  // namespace torvane
