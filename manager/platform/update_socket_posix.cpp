#include "platform/update_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "core/address_text.h"
#include "platform/unique_fd.h"

namespace torvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr Ip4Bytes kLimitedBroadcast{255, 255, 255, 255};

std::optional<Ip4Bytes> Destination(const std::string& ip) {
    if (!IsValidIP(ip)) return std::nullopt;
    Ip4Bytes bytes = IPTextToBytes(ip);
    if (bytes == kLimitedBroadcast) {
        const char* env = std::getenv("VKCFG_BROADCAST");
        if (env && *env) {
            if (!IsValidIP(env)) return std::nullopt;
            bytes = IPTextToBytes(env);
        }
    }
    return bytes;
}

class UdpUpdateLink final : public UpdateLink {
  public:
    explicit UdpUpdateLink(const std::string& ip) : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        const auto destination = Destination(ip);
        if (!fd_ || !destination) return;
        int on = 1;
        ::setsockopt(fd_.get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        if (::bind(fd_.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) return;
        to_.sin_family = AF_INET;
        to_.sin_port = htons(kUpdatePort);
        std::memcpy(&to_.sin_addr, destination->data(), 4);
        usable_ = true;
    }

    bool Send(std::span<const uint8_t> bytes) override {
        if (!usable_) return false;
        const ssize_t n = ::sendto(fd_.get(), bytes.data(), bytes.size(), 0,
                                   reinterpret_cast<const sockaddr*>(&to_), sizeof to_);
        return n == static_cast<ssize_t>(bytes.size());
    }

    std::optional<std::vector<uint8_t>> Receive(int timeout_ms, size_t capacity) override {
        if (!usable_) return WaitOut(timeout_ms);
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollfd p{fd_.get(), POLLIN, 0};
            const int ready = ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 0)));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) return std::nullopt;
            std::vector<uint8_t> bytes(capacity);
            const ssize_t n = ::recv(fd_.get(), bytes.data(), bytes.size(), 0);  // longer datagrams are cut
            if (n < 0) {
                if (errno == EINTR || errno == EAGAIN) continue;
                return std::nullopt;
            }
            bytes.resize(static_cast<size_t>(n));
            return bytes;
        }
    }

  private:
    // A channel without a socket still takes the wait's time, as a device that does not answer does.
    static std::optional<std::vector<uint8_t>> WaitOut(int timeout_ms) {
        ::poll(nullptr, 0, timeout_ms);
        return std::nullopt;
    }

    UniqueFd fd_;
    sockaddr_in to_{};
    bool usable_ = false;
};

}  // namespace

std::unique_ptr<UpdateLink> OpenUpdateSocket(const std::string& ip) {
    return std::make_unique<UdpUpdateLink>(ip);
}

}  // namespace torvane
