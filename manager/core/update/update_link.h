// The update's own datagram channel to one device: every request goes to UDP port 65535 of the
// device's address, answers are taken in the order they arrive (their sender is not examined). The
// workstation layer opens it on a socket of an ephemeral local port; tests may put a script in its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace torvane {

inline constexpr uint16_t kUpdatePort = 65535;

class UpdateLink {
  public:
    virtual ~UpdateLink() = default;
    // Sends one datagram to the device; false when it could not leave (an address that is none).
    virtual bool Send(std::span<const uint8_t> bytes) = 0;
    // Waits up to `timeout_ms` for one datagram and gives at most `capacity` of its bytes; nothing
    // when none arrived in time.
    virtual std::optional<std::vector<uint8_t>> Receive(int timeout_ms, size_t capacity) = 0;
};

// Opens the channel to the device at the dotted address text `ip`; never fails (a channel to an
// address that is none sends nothing and receives nothing).
using UpdateLinkOpener = std::function<std::unique_ptr<UpdateLink>(const std::string& ip)>;

}  // namespace torvane
