// The device list as a model: its sort order and the observer through which a view follows it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/device_list.h"

namespace torvane {
namespace {

DeviceRow Row(const std::string& caption, const std::string& mac) {
    DeviceRow r;
    r.caption = caption;
    r.sub = {mac, "10.0.0.1", "name", "V1", kLocationLocal};
    return r;
}

std::vector<std::string> Macs(const DeviceList& list) {
    std::vector<std::string> out;
    for (size_t i = 0; i < list.RowCount(); ++i)
        out.push_back(list.Row(i).sub[kSubMac]);
    return out;
}

TEST(DeviceList, ListView1CompareFoldsAsciiCaseAndPutsPrefixesFirst) {
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"abc", "ABC", 0},
        {"Offline", "Online", -1},
        {"0.18.52.86.120.154", "0.2.0.0.0.1", -1},  // text order, not numeric order
        {"0.2", "0.2.0.0.0.1", -1},                 // a prefix comes first
        {"", "a", -1},
        {"z", "\xC0", -1},  // bytes above 0x7F compare unsigned and are not folded
        {"[", "a", 1},      // 'a' is compared as 'A' (0x41), below '[' (0x5B)
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const auto& c : cases) {
        EXPECT_EQ(sign(ListView1Compare(Row("x", c.a), Row("x", c.b), 1)), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(ListView1Compare(Row("x", c.b), Row("x", c.a), 1)), -c.sign) << c.b << " vs " << c.a;
    }
    // Column 0 is the caption, column k the sub-text k - 1.
    EXPECT_LT(ListView1Compare(Row("Offline", "9"), Row("Online", "1"), 0), 0);
    EXPECT_GT(ListView1Compare(Row("Offline", "9"), Row("Online", "1"), 1), 0);
}

TEST(DeviceList, EveryAppendSortsAndRowsKeepTheirOrderAndDeviceObject) {
    DeviceList list;
    list.SetSortColumn(1);
    list.Append(Row(kOnline, "0.2.0.0.0.1"));
    const TDeviceParam* first = list.Row(0).param.get();
    list.Append(Row(kOnline, "0.18.52.86.120.154"));
    EXPECT_EQ(list.Append(Row(kOnline, "0.100.0.0.0.0")), 0u);  // where the new row stands after the sort
    EXPECT_EQ(Macs(list), (std::vector<std::string>{"0.100.0.0.0.0", "0.18.52.86.120.154", "0.2.0.0.0.1"}));
    EXPECT_EQ(list.Row(2).param.get(), first);
    EXPECT_EQ(list.RowsWithMac("0.18.52.86.120.154"), std::vector<size_t>{1});

    DeviceList by_caption;  // sort column 0: "Offline" before "Online", equal captions in their order
    for (const auto& [caption, mac] :
         {std::pair{kOnline, "a"}, {kOffline, "b"}, {kOnline, "c"}, {kOffline, "d"}})
        by_caption.Append(Row(caption, mac));
    EXPECT_EQ(Macs(by_caption), (std::vector<std::string>{"b", "d", "a", "c"}));
}

// Follows the list through the observer alone, as an item model would, and must end up equal to it.
class Mirror : public DeviceListObserver {
  public:
    explicit Mirror(const DeviceList& list) : list_(list) {}
    std::vector<std::string> rows, log;

    void RowAboutToBeAppended(size_t row) override { Log("append? ", row, list_.RowCount()); }
    void RowAppended(size_t row) override {
        Log("append ", row, list_.RowCount() - 1);
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(row), list_.Row(row).sub[kSubMac]);
    }
    void RowAboutToBeRemoved(size_t row) override { Log("remove? ", row, row); }
    void RowRemoved(size_t row) override {
        Log("remove ", row, row);
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
    }
    void RowChanged(size_t row) override {
        Log("change ", row, row);
        rows.at(row) = list_.Row(row).sub[kSubMac];
    }
    void AboutToSort() override { log.push_back("sort?"); }
    void Sorted(const std::vector<size_t>& new_order) override {
        log.push_back("sort");
        std::vector<std::string> sorted;
        for (size_t old_row : new_order)
            sorted.push_back(rows.at(old_row));
        rows = sorted;
    }

  private:
    void Log(const char* what, size_t row, size_t expected_row) {
        log.push_back(what + std::to_string(row));
        EXPECT_EQ(row, expected_row) << what;
    }
    const DeviceList& list_;
};

TEST(DeviceList, AnObserverSeesEveryChangeInTheOrderItHappens) {
    DeviceList list;
    Mirror mirror(list);
    list.SetObserver(&mirror);
    list.SetSortColumn(1);
    list.Append(Row(kOnline, "b"));
    list.Append(Row(kOnline, "c"));  // already in order: no sort
    list.Append(Row(kOnline, "a"));
    list.Update(1, [](DeviceRow& r) { r.sub[kSubMac] = "z"; });
    list.Remove(0);
    EXPECT_EQ(mirror.log,
              (std::vector<std::string>{"append? 0", "append 0", "append? 1", "append 1", "append? 2",
                                        "append 2", "sort?", "sort", "change 1", "remove? 0", "remove 0"}));
    EXPECT_EQ(mirror.rows, Macs(list));
    EXPECT_EQ(Macs(list), (std::vector<std::string>{"z", "c"}));
}

}  // namespace
}  // namespace torvane
