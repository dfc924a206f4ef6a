// ListView1's item model: mirrors a DeviceList through its observer. Six columns ("Flag" with the row
// image, then the five sub-texts); the texts are shown decoded, never edited. A sort moves the rows
// as a layout change, so the selection follows its row.
#pragma once

#include <QAbstractTableModel>
#include <array>

#include "core/device_list.h"

namespace torvane::ui {

struct ColumnInfo {
    const char* header;
    int width;  // px
};
inline constexpr std::array<ColumnInfo, 6> kListColumns = {{{"Flag", 70},
                                                            {"MAC", 130},
                                                            {"IP Address", 120},
                                                            {"Device Name", 95},
                                                            {"Firmware Version", 100},
                                                            {"Location", 100}}};

class DeviceListModel final : public QAbstractTableModel, private DeviceListObserver {
  public:
    explicit DeviceListModel(DeviceList& list, QObject* parent = nullptr);
    ~DeviceListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    void RowAboutToBeInserted(size_t row) override;
    void RowInserted(size_t row) override;
    void RowAboutToBeRemoved(size_t row) override;
    void RowRemoved(size_t row) override;
    void RowChanged(size_t row) override;
    void AboutToSort() override;
    void Sorted(const std::vector<size_t>& new_order) override;

    DeviceList& list_;
};

}  // namespace torvane::ui
