// The update's datagram channel on the workstation: a UDP socket of its own on an ephemeral local port
// (the library's fixed port 65281 stays free for its logins), broadcast permitted, sending to port
// 65535 of the device.
#pragma once

#include <memory>
#include <string>

#include "core/update/update_link.h"

namespace torvane {

// The channel to the device at the address text `ip`. An address text that is no IPv4 address gives a
// channel that sends nothing. 255.255.255.255 stands for the broadcast address of VKCFG_BROADCAST when
// that is set, as it does for the library.
std::unique_ptr<UpdateLink> OpenUpdateSocket(const std::string& ip);

}  // namespace torvane
