#include "ui/device_list_model.h"

#include "ui/row_images.h"
#include "ui/text_codec.h"

namespace torvane::ui {

DeviceListModel::DeviceListModel(DeviceList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {
    list_.SetObserver(this);
}

DeviceListModel::~DeviceListModel() {
    list_.SetObserver(nullptr);
}

int DeviceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.RowCount());
}

int DeviceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kListColumns.size());
}

QVariant DeviceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= list_.RowCount()) return {};
    const DeviceRow& row = list_.Row(static_cast<size_t>(index.row()));
    const int column = index.column();
    if (role == Qt::DisplayRole)
        return DisplayText(column == 0 ? row.caption : row.sub[static_cast<size_t>(column - 1)]);
    if (role == Qt::DecorationRole && column == 0) return RowImage(row.image);
    return {};
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        static_cast<size_t>(section) >= kListColumns.size())
        return {};
    return QString::fromLatin1(kListColumns[static_cast<size_t>(section)].header);
}

Qt::ItemFlags DeviceListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void DeviceListModel::RowAboutToBeInserted(size_t row) {
    beginInsertRows({}, static_cast<int>(row), static_cast<int>(row));
}

void DeviceListModel::RowInserted(size_t) {
    endInsertRows();
}

void DeviceListModel::RowAboutToBeRemoved(size_t row) {
    beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
}

void DeviceListModel::RowRemoved(size_t) {
    endRemoveRows();
}

void DeviceListModel::RowChanged(size_t row) {
    const int r = static_cast<int>(row);
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

void DeviceListModel::AboutToSort() {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void DeviceListModel::Sorted(const std::vector<size_t>& new_order) {
    std::vector<int> now_at(new_order.size());
    for (size_t k = 0; k < new_order.size(); ++k)
        now_at[new_order[k]] = static_cast<int>(k);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before) {
        const size_t old_row = static_cast<size_t>(i.row());
        after.push_back(old_row < now_at.size() ? index(now_at[old_row], i.column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace torvane::ui
