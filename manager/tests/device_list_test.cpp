// The device list as a model: its sort order and the observer through which a view follows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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

// The order the list had when every append sorted the whole list again: appended at the end, then a
// stable sort.
class WholeListSort {
  public:
    void Append(const std::string& caption, const std::string& mac) {
        rows_.push_back(Row(caption, mac));
        Sort();
    }
    void Update(size_t row, const std::string& caption, const std::string& mac) {
        rows_[row].caption = caption;
        rows_[row].sub[kSubMac] = mac;
    }
    void Sort() {
        std::stable_sort(rows_.begin(), rows_.end(), [this](const DeviceRow& a, const DeviceRow& b) {
            return ListView1Compare(a, b, column) < 0;
        });
    }
    std::vector<std::string> Keys() const {
        std::vector<std::string> out;
        for (const auto& r : rows_)
            out.push_back(r.caption + " " + r.sub[kSubMac]);
        return out;
    }
    int column = 0;

  private:
    std::vector<DeviceRow> rows_;
};

std::vector<std::string> Keys(const DeviceList& list) {
    std::vector<std::string> out;
    for (size_t i = 0; i < list.RowCount(); ++i)
        out.push_back(list.Row(i).caption + " " + list.Row(i).sub[kSubMac]);
    return out;
}

// Random appends (many equal keys), key changes without a sort, column changes and sorts, as the
// searches and the address book make them: after every step the order is that of a whole-list sort.
TEST(DeviceList, InsertingInPlaceGivesTheOrderOfAWholeListSort) {
    std::mt19937 random(15);
    auto pick = [&](std::initializer_list<const char*> texts) {
        return std::string(*(texts.begin() + random() % texts.size()));
    };
    for (int round = 0; round < 20; ++round) {
        DeviceList list;
        WholeListSort reference;
        for (int step = 0; step < 200; ++step) {
            const unsigned what = random() % 10;
            if (what < 7 || list.RowCount() == 0) {
                const std::string caption = pick({kOnline, kOffline, "online"});
                const std::string mac = pick({"", "0.2.0.0.0.1", "0.18.52.86.120.154", "0.2", "a", "A"});
                list.Append(Row(caption, mac));
                reference.Append(caption, mac);
            } else if (what < 9) {
                const size_t row = random() % list.RowCount();
                const std::string caption = pick({kOnline, kOffline});
                const std::string mac = pick({"", "0.9", "0.1"});
                list.Update(row, [&](DeviceRow& r) {
                    r.caption = caption;
                    r.sub[kSubMac] = mac;
                });
                reference.Update(row, caption, mac);
            } else {
                reference.column = 1 - reference.column;
                list.SetSortColumn(reference.column);
                if (random() % 2) {
                    list.Sort();
                    reference.Sort();
                }
            }
            ASSERT_EQ(Keys(list), reference.Keys()) << "round " << round << ", step " << step;
        }
    }
}

// Follows the list through the observer alone, as an item model would, and must end up equal to it.
class Mirror : public DeviceListObserver {
  public:
    explicit Mirror(const DeviceList& list) : list_(list) {}
    std::vector<std::string> rows, log;

    void RowAboutToBeInserted(size_t row) override {
        log.push_back("insert? " + std::to_string(row));
        EXPECT_LE(row, list_.RowCount());
    }
    void RowInserted(size_t row) override {
        log.push_back("insert " + std::to_string(row));
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
    list.Append(Row(kOnline, "c"));
    list.Append(Row(kOnline, "a"));  // inserted in its place: no sort
    list.Update(1, [](DeviceRow& r) { r.sub[kSubMac] = "z"; });
    list.Append(Row(kOnline, "d"));  // "z" stands out of order: appended, then the whole list sorted
    list.Remove(0);
    EXPECT_EQ(mirror.log, (std::vector<std::string>{"insert? 0", "insert 0", "insert? 1", "insert 1",
                                                    "insert? 0", "insert 0", "change 1", "insert? 3",
                                                    "insert 3", "sort?", "sort", "remove? 0", "remove 0"}));
    EXPECT_EQ(mirror.rows, Macs(list));
    EXPECT_EQ(Macs(list), (std::vector<std::string>{"c", "d", "z"}));
}

}  // namespace
}  // namespace torvane
