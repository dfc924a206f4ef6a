// First-generation parameter read benchmark: a read of all 30 values from a simulated device whose
// every answer is delayed by d ms. Prints the wall time, the sum of the device's answer delays (the
// protocol's own floor, plus the 10 ms pause after the closing "O") and their ratio: a read that waits
// for no time-out when every answer comes stays close to 1.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "device_list.h"
#include "network.h"
#include "vkcfg.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

}  // namespace

int main() {
    if (const char* b = std::getenv("VKCFG_BROADCAST"); !b || std::string(b).rfind("127.", 0) != 0) {
        std::fprintf(stderr, "params_bench: set VKCFG_BROADCAST=127.255.255.255 (loopback only)\n");
        return 2;
    }
    std::printf("%-10s %9s %10s %14s %9s %14s\n", "delay ms", "requests", "wall ms", "sum delays ms", "ratio",
                "ratio (+10 ms)");
    bool ok = true;
    for (int delay : {2, 5, 10, 20}) {
        auto device = vksim::MakeDevice(*vksim::FindModel(std::string("VKA100")), 0);
        device.faults.delay_ms = delay;
        vksim::Network net({device});
        const std::string ip = vksim::IpText(device.address);
        const std::string mac = vksim::MacDecimalText(device.mac);
        LoginRecord login{};
        login.model_code = device.model->code;
        if (vka_login(ip.c_str(), mac.c_str(), &login) != VK_OK) {
            std::fprintf(stderr, "login failed\n");
            return 1;
        }
        net.ClearRequests();
        VkaWorkBlock block{};
        auto t0 = Clock::now();
        int result = vka_read_setting(ip.c_str(), mac.c_str(), &block, &login);
        double wall = Ms(Clock::now() - t0).count();
        size_t requests = 0;
        for (const auto& r : net.Requests()) requests += r.bytes != vksim::Bytes{'O'};
        const double delays = static_cast<double>(requests) * delay;
        ok = ok && result == VK_OK && requests == 29;
        std::printf("%-10d %9zu %10.1f %14.1f %9.3f %14.3f%s\n", delay, requests, wall, delays, wall / delays,
                    wall / (delays + 10.0), result == VK_OK ? "" : "  READ FAILED");
    }
    std::printf("target: ratio <= 1.2\n");
    return ok ? 0 : 1;
}
