#include "network.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <queue>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "responder.h"

namespace vksim {
namespace {

sockaddr_in SockAddr(const Ip4& ip, uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    std::memcpy(&sa.sin_addr, ip.data(), 4);
    return sa;
}

int BoundSocket(const Ip4& ip, uint16_t port) {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) throw std::runtime_error(std::string("vksim: socket: ") + std::strerror(errno));
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in sa = SockAddr(ip, port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        int err = errno;
        ::close(fd);
        throw std::runtime_error("vksim: cannot bind " + IpText(ip) + ":" + std::to_string(port) + ": " +
                                 std::strerror(err));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
    return fd;
}

struct Endpoint {
    int fd = -1;
    uint16_t port = 0;
    bool broadcast = false;
    size_t device = 0;  // for device sockets
};

struct Pending {
    Clock::time_point due;
    uint64_t sequence;  // keeps answers due at the same moment in the order they were made
    int fd;
    uint16_t port;
    sockaddr_in to;
    Bytes bytes;
    uint64_t request;  // number of the request it answers
    bool operator>(const Pending& o) const { return due != o.due ? due > o.due : sequence > o.sequence; }
};

}  // namespace

struct Network::Impl {
    std::vector<Device> devices;
    NetworkOptions options;
    std::vector<Endpoint> endpoints;
    std::vector<std::pair<int, int>> device_fds;  // per device: its text-port and binary-port socket
    int wake[2] = {-1, -1};
    std::thread thread;
    std::atomic<bool> stop{false};
    std::mt19937 rng;
    std::priority_queue<Pending, std::vector<Pending>, std::greater<>> pending;
    uint64_t sequence = 0;
    std::vector<LoggedRequest> log;
    uint64_t first_logged = 0;  // number of the request in log[0]
    uint64_t next_request = 0;
    Stats stats;

    double Uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng); }

    // The answers of one device to one request leave in the order they were made, after one delay.
    void Schedule(size_t device_index, uint16_t port, const sockaddr_in& to, std::vector<Bytes> answers,
                  Clock::time_point now, uint64_t request) {
        const Device& d = devices[device_index];
        const auto& fds = device_fds[device_index];
        const int fd = port == kTextPort ? fds.first : fds.second;
        if (fd < 0 || answers.empty()) return;
        int extra = d.faults.jitter_ms > 0
                        ? static_cast<int>(rng() % static_cast<uint32_t>(d.faults.jitter_ms + 1))
                        : 0;
        auto due = now + std::chrono::milliseconds(d.faults.delay_ms + extra);
        for (auto& answer : answers) {
            if (port == kBinaryPort && d.faults.corrupt > 0 && Uniform() < d.faults.corrupt &&
                !answer.empty())
                answer.back() ^= 0xFF;
            const bool twice = d.faults.duplicate > 0 && Uniform() < d.faults.duplicate;
            if (twice)
                pending.push({due + std::chrono::milliseconds(1), ++sequence, fd, port, to, answer, request});
            pending.push({due, ++sequence, fd, port, to, std::move(answer), request});
        }
    }

    void Dispatch(const Endpoint& e, const Bytes& bytes, const sockaddr_in& from, const Ip4& destination) {
        auto now = Clock::now();
        log.push_back({now, e.port, destination, e.broadcast, bytes});
        const uint64_t number = next_request++;
        ++stats.requests;
        Request request{e.port, e.broadcast, bytes};
        auto handle = [&](size_t i) {
            Device& d = devices[i];
            if (d.faults.loss > 0 && Uniform() < d.faults.loss) return;
            Schedule(i, e.port, from, Respond(d, request), now, number);
        };
        if (!e.broadcast) {
            handle(e.device);
            return;
        }
        for (size_t i = 0; i < devices.size(); ++i) {
            for (uint16_t p : ListeningPorts(devices[i])) {
                if (p == e.port) handle(i);
            }
        }
    }

    void Drain(const Endpoint& e) {
        uint8_t buf[4096];
        for (;;) {
            sockaddr_in from{};
            socklen_t len = sizeof from;
            ssize_t n = ::recvfrom(e.fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n < 0) return;
            Ip4 destination = e.broadcast ? options.broadcast : devices[e.device].address;
            Dispatch(e, Bytes(buf, buf + n), from, destination);
        }
    }

    // Takes in what the sockets hold already. A datagram sent on loopback is in the receiving socket
    // once sendto returns, so a test that looks right after a request that expects no answer (a
    // logout) sees it. Called with the network's mutex held; the thread is woken to send what this
    // scheduled.
    void CatchUp() {
        for (const Endpoint& e : endpoints)
            Drain(e);
        if (!pending.empty()) {
            const char one = 1;
            (void)!::write(wake[1], &one, 1);
        }
    }

    void SendDue() {
        auto now = Clock::now();
        while (!pending.empty() && pending.top().due <= now) {
            const Pending& p = pending.top();
            ::sendto(p.fd, p.bytes.data(), p.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&p.to),
                     sizeof p.to);
            ++stats.answers;
            stats.last_answer = Clock::now();
            (p.port == kTextPort ? stats.last_text_answer : stats.last_binary_answer) = stats.last_answer;
            if (p.request >= first_logged && p.request - first_logged < log.size()) {
                LoggedRequest& answered = log[static_cast<size_t>(p.request - first_logged)];
                ++answered.answers;
                answered.last_answer = stats.last_answer;
            }
            pending.pop();
        }
    }

    // Until the next answer is due (at most 100 ms), to the nanosecond: an answer due in under a
    // millisecond is neither sent early nor waited for by spinning.
    timespec PollTimeout() const {
        auto wait =
            pending.empty()
                ? std::chrono::nanoseconds(std::chrono::milliseconds(100))
                : std::chrono::duration_cast<std::chrono::nanoseconds>(pending.top().due - Clock::now());
        if (wait.count() < 0) wait = std::chrono::nanoseconds(0);
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
        return {static_cast<time_t>(seconds.count()), static_cast<long>((wait - seconds).count())};
    }
};

Network::Network(std::vector<Device> devices, NetworkOptions options)
    : mutex_(std::make_shared<std::mutex>()), impl_(std::make_unique<Impl>()) {
    Impl& im = *impl_;
    im.devices = std::move(devices);
    im.options = options;
    im.rng.seed(options.seed);
    auto close_all = [&] {
        for (auto& e : im.endpoints)
            ::close(e.fd);
        im.endpoints.clear();
    };
    try {
        for (uint16_t port : {kTextPort, kBinaryPort}) {
            im.endpoints.push_back({BoundSocket(options.broadcast, port), port, true, 0});
        }
        for (size_t i = 0; i < im.devices.size(); ++i) {
            if (im.devices[i].model == nullptr) throw std::runtime_error("vksim: device without a model");
            im.device_fds.emplace_back(-1, -1);
            for (uint16_t port : ListeningPorts(im.devices[i])) {
                int fd = BoundSocket(im.devices[i].address, port);
                im.endpoints.push_back({fd, port, false, i});
                (port == kTextPort ? im.device_fds.back().first : im.device_fds.back().second) = fd;
            }
        }
    } catch (...) {
        close_all();
        throw;
    }
    if (::pipe(im.wake) != 0) {
        close_all();
        throw std::runtime_error("vksim: pipe failed");
    }
    auto mutex = mutex_;
    im.thread = std::thread([&im, mutex] {
        std::vector<pollfd> fds;
        for (const auto& e : im.endpoints)
            fds.push_back({e.fd, POLLIN, 0});
        fds.push_back({im.wake[0], POLLIN, 0});
        while (!im.stop.load()) {
            timespec timeout;
            {
                std::lock_guard lock(*mutex);
                timeout = im.PollTimeout();
            }
            int n = ::ppoll(fds.data(), fds.size(), &timeout, nullptr);
            if (n < 0 && errno != EINTR) break;
            if (n > 0 && (fds.back().revents & POLLIN)) {
                char woken;
                (void)!::read(im.wake[0], &woken, 1);
            }
            std::lock_guard lock(*mutex);
            for (size_t i = 0; n > 0 && i < im.endpoints.size(); ++i) {
                if (fds[i].revents & POLLIN) im.Drain(im.endpoints[i]);
            }
            im.SendDue();
        }
    });
}

Network::~Network() {
    impl_->stop.store(true);
    char one = 1;
    (void)!::write(impl_->wake[1], &one, 1);
    impl_->thread.join();
    for (auto& e : impl_->endpoints)
        ::close(e.fd);
    ::close(impl_->wake[0]);
    ::close(impl_->wake[1]);
}

size_t Network::size() const {
    return impl_->devices.size();
}

void Network::CatchUp() const {
    impl_->CatchUp();
}

std::vector<LoggedRequest> Network::Requests() const {
    std::lock_guard lock(*mutex_);
    impl_->CatchUp();
    return impl_->log;
}

void Network::ClearRequests() {
    std::lock_guard lock(*mutex_);
    impl_->CatchUp();  // what was sent before the call is not logged after it
    impl_->first_logged += impl_->log.size();
    impl_->log.clear();
}

Stats Network::stats() const {
    std::lock_guard lock(*mutex_);
    impl_->CatchUp();
    return impl_->stats;
}

void Network::ResetStats() {
    std::lock_guard lock(*mutex_);
    impl_->stats = {};
}

Device& Network::DeviceAt(size_t index) {
    return impl_->devices.at(index);
}

}  // namespace vksim
