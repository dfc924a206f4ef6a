// A network of simulated devices on loopback. Every device owns an address 127.0.0.N and a socket per
// device port bound to it (unicast requests), one socket per device port bound to the broadcast address
// receives broadcasts, and every answer leaves from the device's own socket. One thread runs the
// network: it reads requests, lets the devices respond and sends the answers when they are due.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "device.h"
#include "wire.h"

namespace vksim {

using Clock = std::chrono::steady_clock;

struct NetworkOptions {
    Ip4 broadcast{127, 255, 255, 255};  // where broadcast requests arrive
    uint32_t seed = 1;                  // for the random faults
};

struct LoggedRequest {
    Clock::time_point at;
    uint16_t port = 0;
    Ip4 destination{};  // the device's address, or the broadcast address
    bool broadcast = false;
    Bytes bytes;
    size_t answers = 0;               // answers sent to this request so far
    Clock::time_point last_answer{};  // when the last of them left
};

struct Stats {
    size_t requests = 0;
    size_t answers = 0;
    Clock::time_point last_answer{};         // when the last answer left
    Clock::time_point last_text_answer{};    // ... the last answer on the text port
    Clock::time_point last_binary_answer{};  // ... the last answer on the binary port
};

class Network {
  public:
    // Binds every socket and starts the network's thread; throws std::runtime_error naming the address
    // that could not be bound.
    explicit Network(std::vector<Device> devices, NetworkOptions options = {});
    ~Network();
    Network(const Network&) = delete;
    Network& operator=(const Network&) = delete;

    size_t size() const;
    // The requests, the stats and the devices as tests see them include every datagram that had
    // reached the network's sockets when the call began.
    std::vector<LoggedRequest> Requests() const;
    void ClearRequests();  // also forgets what had reached the sockets
    Stats stats() const;
    void ResetStats();

    // Runs f(Device&) with the network paused for the call; for tests that look at or change a device.
    template <typename F>
    auto WithDevice(size_t index, F&& f) {
        std::lock_guard lock(*mutex_);
        CatchUp();
        return f(DeviceAt(index));
    }

  private:
    struct Impl;
    void CatchUp() const;  // with the mutex held
    Device& DeviceAt(size_t index);
    std::shared_ptr<std::mutex> mutex_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vksim
