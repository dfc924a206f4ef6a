// Discovery benchmark: 256 simulated devices (half of each generation, answers spread over 100 ms) that
// lose 0, 5, 10 and 20 % of the search requests, searched in 1, 2 and 3 rounds, three seeds each. For
// each loss and round count it prints found/expected over the seeds, the wall time, the protocol floor
// measured in the same run (per search request: from the request to the last answer it drew, plus the
// quiet period that ends the search) and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "core/discovery.h"
#include "device_list.h"
#include "network.h"
#include "platform/broadcast_setting.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr size_t kDevices = 256;
constexpr int kSpreadMs = 100;
constexpr int kQuietMs = 350;
constexpr uint32_t kSeeds[] = {1, 2, 3};

struct Cell {
    double loss = 0;
    int rounds = 0;
    size_t found = 0;
    size_t expected = 0;
    double wall_ms = 0;
    double floor_ms = 0;
};

std::vector<vksim::Device> Devices(double loss) {
    vksim::Faults faults;
    faults.loss = loss;
    auto devices = vksim::GeneratedDevices(*vksim::FindModel(std::string("VKA100")), kDevices / 2, 0, faults);
    auto binary = vksim::GeneratedDevices(*vksim::FindModel(std::string("VKB302")), kDevices / 2,
                                          devices.size(), faults);
    devices.insert(devices.end(), binary.begin(), binary.end());
    vksim::SpreadAnswers(devices, kSpreadMs);
    return devices;
}

// What the searches cannot go below: each request's answering time and the quiet period after it.
double Floor(const vksim::Network& net) {
    double floor = 0;
    for (const auto& r : net.Requests()) {
        if (r.answers > 0 && r.last_answer > r.at) floor += Ms(r.last_answer - r.at).count();
        floor += kQuietMs;
    }
    return floor;
}

void Run(Cell& cell, uint32_t seed) {
    vksim::Network net(Devices(cell.loss), {{127, 255, 255, 255}, seed});
    torvane::VkcfgLibrary library;
    torvane::EnvironmentBroadcastSetting setting;
    const auto t0 = Clock::now();
    const torvane::Discovery d =
        torvane::Discover(library, setting, {torvane::LibraryRoute()}, cell.rounds, false);
    cell.wall_ms += Ms(Clock::now() - t0).count();
    if (d.result != VK_OK) std::fprintf(stderr, "%s: result %d\n", d.failed_search.c_str(), d.result);
    cell.found += d.devices.size();
    cell.expected += kDevices;
    cell.floor_ms += Floor(net);
}

}  // namespace

int main() {
    if (const char* b = std::getenv("VKCFG_BROADCAST"); !b || std::string(b).rfind("127.", 0) != 0) {
        std::fprintf(stderr, "discovery_bench: set VKCFG_BROADCAST=127.255.255.255 (loopback only)\n");
        return 2;
    }
    std::vector<Cell> cells;
    for (double loss : {0.0, 0.05, 0.10, 0.20}) {
        for (int rounds = 1; rounds <= 3; ++rounds) {
            Cell cell{loss, rounds};
            for (uint32_t seed : kSeeds)
                Run(cell, seed);
            cells.push_back(cell);
        }
    }
    std::printf("%zu devices, %zu seeds per row, default rounds %d\n", kDevices, std::size(kSeeds),
                torvane::kDefaultSearchRounds);
    std::printf("%6s %6s %12s %8s %10s %10s %7s\n", "loss", "rounds", "found/exp", "found %", "wall ms",
                "floor ms", "ratio");
    bool goals_met = true;
    double worst = 0;
    for (const auto& c : cells) {
        const double ratio = c.wall_ms / c.floor_ms;
        worst = std::max(worst, ratio);
        if (c.rounds == torvane::kDefaultSearchRounds && c.loss <= 0.10 && c.found != c.expected)
            goals_met = false;
        std::printf("%5.0f%% %6d %6zu/%-5zu %7.2f%% %10.1f %10.1f %7.3f\n", c.loss * 100, c.rounds, c.found,
                    c.expected, 100.0 * static_cast<double>(c.found) / static_cast<double>(c.expected),
                    c.wall_ms, c.floor_ms, ratio);
    }
    goals_met = goals_met && worst <= 1.05;
    std::printf(
        "all found at <= 10 %% loss with the default rounds, wall <= 1.05 x floor: %s (worst ratio %.3f)\n",
        goals_met ? "yes" : "NO", worst);
    return goals_met ? 0 : 1;
}
