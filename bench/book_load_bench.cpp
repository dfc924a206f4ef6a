// Address-book load benchmark: DevInfo.dat files of 1,000, 4,000 and 16,000 entries loaded into the
// device list (offline rows, sort column 0, as at start). Prints the load time (wall and the process's
// CPU time, which a busy machine does not inflate) and the CPU cost per row; for the two smaller books
// also the CPU time of the former way, appending each row and sorting the whole list again, measured in
// the same run on the same rows.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/address_book.h"
#include "platform/file_writer.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"
#include "support/scripted_library.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

double CpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000 + double(t.tv_nsec) / 1e6;
}

struct Times {
    double wall_ms;
    double cpu_ms;
};

std::string Ip(size_t i) {
    return "10." + std::to_string(i >> 16 & 255) + "." + std::to_string(i >> 8 & 255) + "." +
           std::to_string(i & 255);
}

void WriteBook(const std::filesystem::path& file, size_t entries) {
    std::ofstream out(file, std::ios::binary);
    for (size_t i = 0; i < entries; ++i) {
        std::string record(66, '\0');
        const std::string ip = Ip(i * 7919 % entries);  // not in sorted order
        record.replace(0, ip.size(), ip);
        record.replace(16, 6, "device");
        out << record;
    }
}

Times Load(const std::filesystem::path& file, size_t expected) {
    torvane::DeviceList list;
    torvane::test::ScriptedLibrary library;
    torvane::test::RecordingUi ui;
    torvane::PlatformFileWriter files;
    torvane::AddressBook book(list, library, ui, files, file);
    const auto t0 = Clock::now();
    const double c0 = CpuMs();
    const bool loaded = book.LoadAddressBook();
    const Times t{Ms(Clock::now() - t0).count(), CpuMs() - c0};
    if (!loaded || list.RowCount() != expected) {
        std::fprintf(stderr, "book_load_bench: %zu rows loaded of %zu\n", list.RowCount(), expected);
        std::exit(1);
    }
    return t;
}

// The rows the former way: each one appended, then the whole list sorted again (stable).
double WholeListSortCpuMs(size_t entries) {
    std::vector<torvane::DeviceRow> rows;
    const double c0 = CpuMs();
    for (size_t i = 0; i < entries; ++i) {
        torvane::DeviceRow row;
        row.caption = torvane::kOffline;
        row.sub = {"", Ip(i * 7919 % entries), "device", "", torvane::kLocationAddressBook};
        rows.push_back(std::move(row));
        std::stable_sort(rows.begin(), rows.end(),
                         [](const torvane::DeviceRow& a, const torvane::DeviceRow& b) {
                             return torvane::ListView1Compare(a, b, 0) < 0;
                         });
    }
    return CpuMs() - c0;
}

}  // namespace

int main() {
    torvane::test::TempDir dir;
    std::printf("%8s %11s %11s %13s %26s\n", "rows", "wall (ms)", "cpu (ms)", "cpu us/row",
                "whole-list sort cpu (ms)");
    for (const size_t n : {1000, 4000, 16000}) {
        const auto file = dir.path() / ("DevInfo-" + std::to_string(n) + ".dat");
        WriteBook(file, n);
        const Times t = Load(file, n);
        std::printf("%8zu %11.1f %11.1f %13.2f", n, t.wall_ms, t.cpu_ms, t.cpu_ms * 1000 / double(n));
        if (n <= 4000) {
            std::printf(" %26.1f\n", WholeListSortCpuMs(n));
        } else {
            std::printf(" %26s\n", "(not run)");
        }
    }
    return 0;
}
