#include "platform/local_port.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>

#include "platform/unique_fd.h"

namespace torvane {

bool LocalUdpPortInUse(uint16_t port) {
    const UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return false;
    return errno == EADDRINUSE;
}

}  // namespace torvane
