#include "support/scripted_peer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace vktest {
namespace {

int Bind(const std::string& address, uint16_t port) {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        ::close(fd);
        throw std::runtime_error("scripted peer: cannot bind " + address + ":" + std::to_string(port));
    }
    return fd;
}

}  // namespace

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes WithChecksum(Bytes body) {
    uint16_t crc = 0;
    for (uint8_t b : body) {
        crc ^= static_cast<uint16_t>(b << 8);
        for (int i = 0; i < 8; ++i)
            crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    body.push_back(static_cast<uint8_t>(crc & 0xFF));
    body.push_back(static_cast<uint8_t>(crc >> 8));
    return body;
}

ScriptedPeer::ScriptedPeer(std::vector<std::pair<std::string, uint16_t>> listen, Script script)
    : script_(std::move(script)), bound_(std::move(listen)) {
    for (const auto& [address, port] : bound_)
        fds_.push_back(Bind(address, port));
    thread_ = std::thread([this] { Run(); });
}

ScriptedPeer::~ScriptedPeer() {
    stop_ = true;
    thread_.join();
    for (int fd : fds_)
        ::close(fd);
    for (int fd : extra_fds_)
        ::close(fd);
}

std::vector<PeerRequest> ScriptedPeer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int ScriptedPeer::SocketFor(const std::string& address, uint16_t port) {
    for (size_t i = 0; i < bound_.size(); ++i) {
        if (bound_[i] == std::make_pair(address, port)) return fds_[i];
    }
    for (size_t i = 0; i < extra_bound_.size(); ++i) {
        if (extra_bound_[i] == std::make_pair(address, port)) return extra_fds_[i];
    }
    extra_fds_.push_back(Bind(address, port));
    extra_bound_.emplace_back(address, port);
    return extra_fds_.back();
}

void ScriptedPeer::Run() {
    std::vector<pollfd> pfds;
    for (int fd : fds_)
        pfds.push_back({fd, POLLIN, 0});
    while (!stop_) {
        if (::poll(pfds.data(), pfds.size(), 20) <= 0) continue;
        for (size_t i = 0; i < pfds.size(); ++i) {
            if (!(pfds[i].revents & POLLIN)) continue;
            uint8_t buf[4096];
            sockaddr_in from{};
            socklen_t len = sizeof from;
            ssize_t n = ::recvfrom(pfds[i].fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n < 0) continue;
            PeerRequest request{bound_[i].first, bound_[i].second, Bytes(buf, buf + n)};
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(request);
            }
            for (const auto& answer : script_(request)) {
                int fd = SocketFor(answer.from, bound_[i].second);
                ::sendto(fd, answer.bytes.data(), answer.bytes.size(), 0, reinterpret_cast<sockaddr*>(&from),
                         len);
            }
        }
    }
}

}  // namespace vktest
