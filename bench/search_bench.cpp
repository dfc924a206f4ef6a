// Search benchmark: simulated networks of 1, 64 and 1024 devices whose answers are spread over 100 ms.
// For each search it prints found/expected, the wall time, the protocol floor measured in the same run
// (from each search request to the last answer it drew, plus the quiet period that ends the search)
// and their ratio.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "device_list.h"
#include "network.h"
#include "vkcfg.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kSpreadMs = 100;

struct Row {
    std::string search;
    size_t devices;
    int found;
    size_t expected;
    double wall_ms;
    double floor_ms;
};

const vksim::ModelInfo& Model(const char* name) {
    return *vksim::FindModel(std::string(name));
}

// Device requests as the simulator logged them, by port, in order.
std::vector<Clock::time_point> RequestTimes(const vksim::Network& net, uint16_t port) {
    std::vector<Clock::time_point> out;
    for (const auto& r : net.Requests()) {
        if (r.port == port) out.push_back(r.at);
    }
    return out;
}

// The floor of one search phase: from its request to the last answer, plus the quiet period. With no
// answer at all the phase is the quiet period alone.
double PhaseFloor(Clock::time_point request, Clock::time_point last_answer, int quiet_ms) {
    double answering = last_answer > request ? Ms(last_answer - request).count() : 0.0;
    return answering + quiet_ms;
}

Row RunGeneration(const std::string& label, const vksim::ModelInfo& model, size_t n) {
    auto devices = vksim::GeneratedDevices(model, n, 0);
    vksim::SpreadAnswers(devices, kSpreadMs);
    vksim::Network net(devices);
    const bool extended = model.generation == vksim::Generation::kExtended;
    const uint16_t port = model.generation == vksim::Generation::kText ? 65535 : 65280;
    std::vector<VkSearchRecord> records(extended ? 0 : n + 8);
    std::vector<VkSearchRecordEx> slots(extended ? n + 8 : 0);
    int count = static_cast<int>(n + 8);
    auto t0 = Clock::now();
    int result = extended        ? vk_search_all_ex(slots.data(), &count)
                 : port == 65535 ? vka_search_all(records.data(), &count)
                                 : vkb_search_all(records.data(), &count);
    double wall = Ms(Clock::now() - t0).count();
    if (result != VK_OK) std::fprintf(stderr, "%s: result %d\n", label.c_str(), result);
    auto stats = net.stats();
    auto requests = RequestTimes(net, port);
    auto last = port == 65535 ? stats.last_text_answer : stats.last_binary_answer;
    double floor = PhaseFloor(requests.empty() ? t0 : requests.front(), last, extended ? 300 : 350);
    return {label, n, count, n, wall, floor};
}

Row RunUnified(size_t n) {
    // Half first-generation, half second-generation devices (one text device when n is 1).
    auto devices = vksim::GeneratedDevices(Model("VKA100"), (n + 1) / 2, 0);
    auto binary = vksim::GeneratedDevices(Model("VKB304"), n / 2, devices.size());
    devices.insert(devices.end(), binary.begin(), binary.end());
    vksim::SpreadAnswers(devices, kSpreadMs);
    vksim::Network net(devices);
    std::vector<VkSearchRecord> records(n + 8);
    int count = static_cast<int>(records.size());
    auto t0 = Clock::now();
    int result = vk_search_all(records.data(), &count);
    double wall = Ms(Clock::now() - t0).count();
    if (result != VK_OK) std::fprintf(stderr, "vk_search_all: result %d\n", result);
    auto stats = net.stats();
    auto text = RequestTimes(net, 65535);
    auto bin = RequestTimes(net, 65280);
    double floor = PhaseFloor(text.empty() ? t0 : text.front(), stats.last_text_answer, 350) +
                   PhaseFloor(bin.empty() ? t0 : bin.front(), stats.last_binary_answer, 350);
    return {"vk_search_all (mixed)", n, count, n, wall, floor};
}

}  // namespace

int main() {
    if (const char* b = std::getenv("VKCFG_BROADCAST"); !b || std::string(b).rfind("127.", 0) != 0) {
        std::fprintf(stderr, "search_bench: set VKCFG_BROADCAST=127.255.255.255 (loopback only)\n");
        return 2;
    }
    std::vector<Row> rows;
    for (size_t n : {1, 64, 1024}) {
        rows.push_back(RunGeneration("vka_search_all", Model("VKA100"), n));
        rows.push_back(RunGeneration("vkb_search_all", Model("VKB302"), n));
        rows.push_back(RunGeneration("vk_search_all_ex", Model("EXT"), n));
        rows.push_back(RunUnified(n));
    }
    std::printf("%-22s %7s %12s %10s %10s %7s\n", "search", "devices", "found/exp", "wall ms", "floor ms",
                "ratio");
    bool all_found = true;
    double worst = 0;
    for (const auto& r : rows) {
        double ratio = r.wall_ms / r.floor_ms;
        worst = std::max(worst, ratio);
        all_found = all_found && static_cast<size_t>(r.found) == r.expected;
        std::printf("%-22s %7zu %6d/%-5zu %10.1f %10.1f %7.3f\n", r.search.c_str(), r.devices, r.found,
                    r.expected, r.wall_ms, r.floor_ms, ratio);
    }
    std::printf("all found: %s; worst ratio %.3f (target <= 1.05)\n", all_found ? "yes" : "NO", worst);
    return all_found ? 0 : 1;
}
