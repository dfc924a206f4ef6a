// The device's side of the conversation: what a device answers to one request.
#pragma once

#include <cstdint>
#include <vector>

#include "device.h"
#include "wire.h"

namespace vksim {

inline constexpr uint16_t kTextPort = 65535;
inline constexpr uint16_t kBinaryPort = 65280;

struct Request {
    uint16_t port = 0;       // the device port the request arrived on
    bool broadcast = false;  // sent to the broadcast address rather than to the device
    Bytes bytes;
};

// The ports a device of this generation listens on.
std::vector<uint16_t> ListeningPorts(const Device& d);

// The answers of `d` to `r`, in the order they are sent (often none: a device ignores what it does
// not understand, and frames whose checksum is wrong).
std::vector<Bytes> Respond(Device& d, const Request& r);

}  // namespace vksim
