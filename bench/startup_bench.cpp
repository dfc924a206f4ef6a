// Start-up benchmark: torvane started as a process against 64 simulated devices whose answers are
// spread over 100 ms, with 8 address-book entries, on the X server of scripts/with_xvfb.sh (offscreen
// where there is none). Prints the time from the process start to the first painted main window
// (target: under 300 ms), the wall time from the process start to the end of its start-up sequence, the rows
// found/expected, and the ratio to the protocol's floor in the same run: every search phase's
// request-to-last-answer time plus its quiet period (350 ms for both halves of the unified search, 300 ms for
// the extended search), every search by address's request-to-answer time, and the pauses of the sequence (100
// ms after the address-book pass and between the passes).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "device_list.h"
#include "network.h"
#include "responder.h"
#include "support/child_process.h"
#include "support/sandbox.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;
using namespace std::chrono_literals;

constexpr int kSpreadMs = 100;
constexpr int kPauses = 3;
constexpr int kPauseMs = 100;

struct Floor {
    double searches_ms = 0;  // broadcast phases: answers and quiet periods
    double book_ms = 0;      // searches by address
    int broadcasts = 0;
    int unicasts = 0;
};

// Each pass sends the text search, the binary search and the extended search by broadcast, in this
// order; the two binary ones are told apart by their order after the text search.
Floor ProtocolFloor(const std::vector<vksim::LoggedRequest>& log) {
    Floor f;
    int binary_in_pass = 0;
    for (const auto& r : log) {
        const double answering = r.answers > 0 ? Ms(r.last_answer - r.at).count() : 0.0;
        if (!r.broadcast) {
            f.book_ms += r.answers > 0 ? answering : 1000.0;  // the library's wait for a single answer
            ++f.unicasts;
            continue;
        }
        ++f.broadcasts;
        if (r.port == vksim::kTextPort) {
            binary_in_pass = 0;
            f.searches_ms += answering + 350;
        } else {
            f.searches_ms += answering + (binary_in_pass++ == 0 ? 350 : 300);
        }
    }
    return f;
}

// User and system CPU time of a running process so far, from /proc (in clock ticks).
double CpuMsOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    const size_t after_name = stat.rfind(')');
    if (after_name == std::string::npos) return -1;
    std::istringstream fields(stat.substr(after_name + 2));
    std::string skip;
    for (int i = 3; i < 14; ++i)
        fields >> skip;  // state ... cmajflt
    double utime = 0, stime = 0;
    fields >> utime >> stime;
    return (utime + stime) * 1000.0 / double(::sysconf(_SC_CLK_TCK));
}

bool IsRow(const std::string& line) {
    return line.rfind("row\t", 0) == 0;
}

}  // namespace

int main() {
    if (const char* b = std::getenv("VKCFG_BROADCAST"); !b || std::string(b).rfind("127.", 0) != 0) {
        std::fprintf(stderr, "startup_bench: set VKCFG_BROADCAST=127.255.255.255 (loopback only)\n");
        return 2;
    }
    auto devices = vksim::GeneratedDevices(*vksim::FindModel(std::string("VKB220")), 32, 0);
    auto binary = vksim::GeneratedDevices(*vksim::FindModel(std::string("VKB302")), 24, devices.size());
    auto extended = vksim::GeneratedDevices(*vksim::FindModel(std::string("EXT")), 8, 56);
    devices.insert(devices.end(), binary.begin(), binary.end());
    devices.insert(devices.end(), extended.begin(), extended.end());
    vksim::SpreadAnswers(devices, kSpreadMs);

    torvane::test::TempDir home, runtime;
    {
        // Four first-generation and four second-generation devices in the address book.
        std::ofstream book(home.path() / "DevInfo.dat", std::ios::binary);
        for (size_t i : {0, 1, 2, 3, 32, 33, 34, 35}) {
            std::string record(66, '\0');
            const std::string ip = vksim::IpText(devices[i].address);
            record.replace(0, ip.size(), ip);
            book << record;
        }
    }
    // Book rows; the VKB220s of the book are not listed twice; VKB302s only through the book.
    const size_t expected = 8 + (32 - 4) + 8;

    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string qpa = platform && *platform ? platform : "offscreen";
    vksim::Network network(devices);
    const auto t0 = Clock::now();
    torvane::test::ChildProcess torvane(TORVANE_EXE, {"--report", "--report-painted", "--quit-after-startup"},
                                        {{"TORVANE_HOME", home.path().string()},
                                         {"XDG_RUNTIME_DIR", runtime.path().string()},
                                         {"XDG_CONFIG_HOME", home.path().string()},
                                         {"QT_QPA_PLATFORM", qpa},
                                         {"TORVANE_SHARED_TABLE_MEMORY", "/torvane-bench-absent-table"}});
    const auto painted_line = torvane.ReadUntil("main-window-painted", 60s);
    const double painted = Ms(Clock::now() - t0).count();
    const double painted_cpu = CpuMsOf(torvane.pid());
    const auto lines = torvane.ReadUntil("startup-done", 60s);
    const double wall = Ms(Clock::now() - t0).count();
    if (!painted_line || !lines) {
        std::fprintf(stderr, "startup_bench: torvane did not finish its start-up sequence\n");
        return 1;
    }
    torvane.Wait(10s);

    const size_t found = std::count_if(painted_line->begin(), painted_line->end(), IsRow) +
                         std::count_if(lines->begin(), lines->end(), IsRow);
    const Floor f = ProtocolFloor(network.Requests());
    const double pauses = kPauses * kPauseMs;
    const double floor = f.searches_ms + f.book_ms + pauses;
    std::printf("torvane start-up: %zu devices, 8 address-book entries, answers spread over %d ms\n",
                devices.size(), kSpreadMs);
    std::printf("platform                 %s\n", qpa.c_str());
    std::printf("first painted main window %7.1f ms (process start to its first paint; target < 300 ms)\n",
                painted);
    std::printf(
        "  of which torvane's CPU %7.1f ms (user + system; the rest is waiting: for the CPU on a busy\n"
        "                                   machine, for the X server and the window manager)\n",
        painted_cpu);
    std::printf("rows found/expected      %zu/%zu\n", found, expected);
    std::printf("wall time                %8.1f ms (process start to the end of the start-up sequence)\n",
                wall);
    std::printf("broadcast phases (%2d)    %8.1f ms (answers plus quiet periods)\n", f.broadcasts,
                f.searches_ms);
    std::printf("searches by address (%d) %8.1f ms\n", f.unicasts, f.book_ms);
    std::printf("pauses (%d x %d ms)      %8.1f ms\n", kPauses, kPauseMs, pauses);
    std::printf("protocol floor           %8.1f ms\n", floor);
    std::printf("ratio                    %8.3f (target <= 1.15)\n", wall / floor);
    std::printf("ratio with two pauses    %8.3f (floor without the pause after the address-book pass)\n",
                wall / (floor - kPauseMs));
    return found == expected ? 0 : 1;
}
