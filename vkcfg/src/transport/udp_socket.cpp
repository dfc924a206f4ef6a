#include "transport/udp_socket.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "vkcfg.h"

#if defined(_WIN32)
#include <mswsock.h>
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace vkcfg::transport {
namespace {

#if defined(_WIN32)
constexpr intptr_t kInvalid = static_cast<intptr_t>(INVALID_SOCKET);
void CloseHandle(intptr_t h) {
    ::closesocket(static_cast<SOCKET>(h));
}
SOCKET Native(intptr_t h) {
    return static_cast<SOCKET>(h);
}
bool WouldBlock() {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}
bool Interrupted() {
    return false;
}
// Windows reports the ICMP "port unreachable" that an earlier datagram drew as a failure of the next
// receive. An address where no device listens must look like a silent device (a time-out), as on POSIX.
void IgnoreUnreachable(intptr_t h) {
    BOOL report = FALSE;
    DWORD returned = 0;
    (void)::WSAIoctl(Native(h), SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned, nullptr,
                     nullptr);
}
// A datagram longer than the buffer fills it and fails with WSAEMSGSIZE, where POSIX sockets cut it
// quietly; both keep the bytes that fitted, and the answer is judged on those alike.
bool Truncated() {
    return WSAGetLastError() == WSAEMSGSIZE;
}
#else
constexpr intptr_t kInvalid = -1;
void CloseHandle(intptr_t h) {
    ::close(static_cast<int>(h));
}
int Native(intptr_t h) {
    return static_cast<int>(h);
}
bool WouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK;
}
bool Interrupted() {
    return errno == EINTR;
}
void IgnoreUnreachable(intptr_t) {}
bool Truncated() {
    return false;
}
#endif

// A burst of answers from many devices must not overflow the socket while the library is busy; ask for
// a large buffer and keep whatever the OS grants.
constexpr int kWantedReceiveBuffer = 4 * 1024 * 1024;

sockaddr_in MakeAddress(const Ipv4Bytes& a, uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    std::memcpy(&sa.sin_addr, a.data(), 4);
    return sa;
}

}  // namespace

std::optional<Ipv4Bytes> BroadcastAddress() {
    const char* env = std::getenv("VKCFG_BROADCAST");
    if (env == nullptr || *env == '\0') return codec::kBroadcastBytes;
    return codec::ParseDottedQuad(std::string_view(env));
}

std::optional<UdpSocket> UdpSocket::OpenDeviceSocket(bool allow_broadcast) {
    auto broadcast = BroadcastAddress();
    if (!broadcast) return std::nullopt;
    intptr_t h = static_cast<intptr_t>(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    if (h == kInvalid) return std::nullopt;
    UdpSocket sock(h, *broadcast);
    IgnoreUnreachable(h);
    if (allow_broadcast) {
        int on = 1;
        if (::setsockopt(Native(h), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                         sizeof on) != 0)
            return std::nullopt;
    }
    int size = kWantedReceiveBuffer;
    // Best effort: the OS caps the size at its limit, and a refusal leaves the default in place.
    (void)::setsockopt(Native(h), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    sockaddr_in local = MakeAddress({0, 0, 0, 0}, VK_LOCAL_PORT);
    if (::bind(Native(h), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return std::nullopt;
#if defined(_WIN32)
    u_long nonblocking = 1;
    if (::ioctlsocket(Native(h), FIONBIO, &nonblocking) != 0) return std::nullopt;
#else
    int flags = ::fcntl(Native(h), F_GETFL, 0);
    if (flags < 0 || ::fcntl(Native(h), F_SETFL, flags | O_NONBLOCK) != 0) return std::nullopt;
#endif
    return sock;
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept
    : handle_(std::exchange(other.handle_, kInvalid)), broadcast_(other.broadcast_) {}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, kInvalid);
        broadcast_ = other.broadcast_;
    }
    return *this;
}

UdpSocket::~UdpSocket() {
    Close();
}

void UdpSocket::Close() {
    if (handle_ != kInvalid) CloseHandle(std::exchange(handle_, kInvalid));
}

bool UdpSocket::SendTo(const Ipv4Bytes& address, uint16_t port, std::span<const uint8_t> bytes) {
    const Ipv4Bytes& target = address == codec::kBroadcastBytes ? broadcast_ : address;
    sockaddr_in sa = MakeAddress(target, port);
    auto sent =
        ::sendto(Native(handle_), reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
                 0, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    return sent >= 0 && static_cast<size_t>(sent) == bytes.size();
}

WaitResult UdpSocket::Wait(int timeout_ms) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        // Rounded up, so that a wait never ends before its time-out has fully passed.
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left < 0) left = 0;
#if defined(_WIN32)
        WSAPOLLFD pfd{Native(handle_), POLLRDNORM, 0};
        int n = ::WSAPoll(&pfd, 1, static_cast<INT>(left));
#else
        pollfd pfd{Native(handle_), POLLIN, 0};
        int n = ::poll(&pfd, 1, static_cast<int>(left));
#endif
        if (n > 0) return WaitResult::kDatagram;
        if (n == 0) {
            if (Clock::now() >= deadline) return WaitResult::kTimeout;
            continue;  // the platform's timer ended the wait a little early
        }
        if (!Interrupted()) return WaitResult::kFailure;
    }
}

ReceiveResult UdpSocket::Receive(Datagram& out) {
    sockaddr_in from{};
#if defined(_WIN32)
    int from_len = sizeof from;
#else
    socklen_t from_len = sizeof from;
#endif
    auto n =
        ::recvfrom(Native(handle_), reinterpret_cast<char*>(out.bytes.data()),
                   static_cast<int>(kDatagramCapacity), 0, reinterpret_cast<sockaddr*>(&from), &from_len);
    if (n < 0 && Truncated()) n = static_cast<decltype(n)>(kDatagramCapacity);
    if (n < 0) {
        out.length = 0;
        return WouldBlock() ? ReceiveResult::kEmpty : ReceiveResult::kFailure;
    }
    out.length = static_cast<size_t>(n);
    out.bytes[out.length] = 0;
    std::memcpy(out.sender.data(), &from.sin_addr, 4);
    return ReceiveResult::kDatagram;
}

WaitResult UdpSocket::WaitDatagram(int timeout_ms, Datagram& out) {
    WaitResult w = Wait(timeout_ms);
    if (w != WaitResult::kDatagram) return w;
    // Readable but nothing to read (a datagram dropped between the wait and the read) is a failure of
    // this wait; the callers treat it as a receive failure, as they would any other.
    return Receive(out) == ReceiveResult::kDatagram ? WaitResult::kDatagram : WaitResult::kFailure;
}

}  // namespace vkcfg::transport
