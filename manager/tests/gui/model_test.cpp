// The list model against the DeviceList it mirrors: Qt's model checker watches appends, removals,
// changes and sorts, and a selection stays on its row when the list sorts itself. Texts are decoded
// for display as GBK.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>

#include "core/device_list.h"
#include "gui/gui_support.h"
#include "ui/device_list_model.h"
#include "ui/text_codec.h"

namespace torvane::test {
namespace {

DeviceRow Row(const std::string& caption, const std::string& mac, int image = kImageInSubnet) {
    DeviceRow r;
    r.caption = caption;
    r.sub = {mac, "10.0.0.1", "name", "V1", kLocationLocal};
    r.image = image;
    return r;
}

TEST(DeviceListModel, FollowsTheListAndKeepsTheSelectionOnItsRow) {
    DeviceList list;
    ui::DeviceListModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QItemSelectionModel selection(&model);

    list.Append(Row("Online", "0.5"));
    list.Append(Row("Online", "0.7"));
    selection.select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.Append(Row("Offline", "0.9"));  // sorts before both: the selected row moves to 2
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows()[0].row(), 2);
    EXPECT_EQ(model.index(2, 1).data().toString(), "0.7");

    list.SetSortColumn(1);
    list.Sort();  // 0.5 0.7 0.9
    EXPECT_EQ(selection.selectedRows()[0].row(), 1);
    list.Update(1, [](DeviceRow& r) { r.sub[kSubName] = "renamed"; });
    EXPECT_EQ(model.index(1, 3).data().toString(), "renamed");
    list.Remove(0);
    EXPECT_EQ(selection.selectedRows()[0].row(), 0);
    EXPECT_EQ(model.index(0, 1).data().toString(), "0.7");
    EXPECT_EQ(model.flags(model.index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);
}

TEST(DeviceListModel, ShowsTheRowImageInTheFirstColumnOnly) {
    DeviceList list;
    ui::DeviceListModel model(list);
    for (int image : {0, 1, 2, 6}) {
        list.Append(Row("Online", "0." + std::to_string(image), image));
    }
    for (int r = 0; r < model.rowCount(); ++r) {
        EXPECT_FALSE(model.index(r, 0).data(Qt::DecorationRole).value<QIcon>().isNull()) << r;
        EXPECT_FALSE(model.index(r, 1).data(Qt::DecorationRole).isValid()) << r;
    }
}

TEST(DisplayText, DecodesDeviceBytesAsGbk) {
    const std::pair<std::string, QString> cases[] = {
        {"DEV-01", "DEV-01"},
        {"\xc9\xe8\xb1\xb8\xca\xfd\xc1\xbf", QString::fromUtf8("设备数量")},
        {"B\xa8\xb9ro-2", QString::fromUtf8("Büro-2")},  // as vkctl writes it
        {"", ""},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(ui::DisplayText(bytes), text);
        EXPECT_EQ(ui::DeviceBytes(text).bytes, bytes) << "back to the same bytes";
    }
    const DeviceTextEncoding refused = ui::DeviceBytes(QString::fromUtf8("Pumpe-Ü"));
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.refusal.find("U+00DC"), std::string::npos);
}

}  // namespace
}  // namespace torvane::test
