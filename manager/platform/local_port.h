// Whether a local UDP port is taken by another socket on this host. The library reports a port it
// could not bind only as a network error; the manager and vkctl ask this afterwards, to tell the
// operator that another program holds the port rather than name the step that failed.
#pragma once

#include <cstdint>

namespace torvane {

// True when binding a UDP socket to the port on every local address fails because the address is in
// use. False when the bind succeeds (the socket is closed again at once) or fails for another reason.
bool LocalUdpPortInUse(uint16_t port);

}  // namespace torvane
