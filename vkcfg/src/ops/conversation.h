// One conversation with one device (or, without an address, with the device named by its MAC among
// all devices on the segment): the socket, the destination, and the waits both generations use.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "codec/addr_text.h"
#include "transport/udp_socket.h"

namespace vkcfg::ops {

inline constexpr int kAnswerWaitMs = 1000;      // login, binary read and write, SAVE, serial settings
inline constexpr int kTextCommandWaitMs = 100;  // first-generation parameter commands
inline constexpr int kTextCommandSends = 5;     // ... each sent up to this many times
inline constexpr int kPauseAfterLogoutMs = 10;  // after a closing "O" or a binary logout

void Pause(int ms);

// Where a conversation goes: a device's address, or (for an address text shorter than 7 characters) the
// broadcast address, the device then being chosen by the MAC inside the requests.
struct Destination {
    codec::Ipv4Bytes address;
    bool broadcast;
};
Destination DestinationOf(std::string_view ip_text);

enum class Outcome { kAnswer, kTimeout, kFailure };

class Conversation {
  public:
    // Opens the socket (broadcasting enabled for a broadcast destination); nullopt on failure.
    static std::optional<Conversation> Open(const Destination& to, uint16_t port);

    bool broadcast() const { return to_.broadcast; }
    bool Send(std::span<const uint8_t> bytes);
    bool Send(std::string_view text);

    // Waits up to `timeout_ms` for one datagram.
    Outcome Await(int timeout_ms, transport::Datagram& out);

    // Waits for a datagram that `wanted` accepts; every other datagram is read past and the wait starts
    // again with the full time-out.
    template <typename Pred>
    Outcome AwaitMatching(int timeout_ms, transport::Datagram& out, Pred wanted) {
        for (;;) {
            Outcome o = Await(timeout_ms, out);
            if (o != Outcome::kAnswer || wanted(out)) return o;
        }
    }

    void Close() { socket_.reset(); }

  private:
    Conversation(transport::UdpSocket socket, Destination to, uint16_t port)
        : socket_(std::move(socket)), to_(to), port_(port) {}

    std::optional<transport::UdpSocket> socket_;
    Destination to_;
    uint16_t port_;
};

}  // namespace vkcfg::ops
