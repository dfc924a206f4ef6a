// The library's UDP socket: move-only, closed by its destructor. This file and udp_socket.cpp are the
// only places that know whether they run on POSIX sockets or Windows Sockets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "codec/addr_text.h"

namespace vkcfg::transport {

using codec::Ipv4Bytes;

// Receive buffer: 2048 bytes per datagram plus room for the terminating NUL that text answers get.
inline constexpr size_t kDatagramCapacity = 2048;

struct Datagram {
    std::array<uint8_t, kDatagramCapacity + 1> bytes{};
    size_t length = 0;
    Ipv4Bytes sender{};

    std::span<const uint8_t> view() const { return {bytes.data(), length}; }
};

// The address that stands for 255.255.255.255: the dotted address in VKCFG_BROADCAST when that is set
// and not empty, else 255.255.255.255. nullopt when VKCFG_BROADCAST holds no dotted IPv4 address.
std::optional<Ipv4Bytes> BroadcastAddress();

enum class WaitResult { kDatagram, kTimeout, kFailure };
enum class ReceiveResult { kDatagram, kEmpty, kFailure };

class UdpSocket {
  public:
    // OpenDeviceSocket: a UDP socket bound to local port 65281 on all local addresses, without address
    // reuse, with broadcasting enabled when asked and the receive buffer enlarged as far as the OS
    // allows. nullopt when any step fails (the socket is then closed), or when VKCFG_BROADCAST is
    // malformed. The broadcast address is resolved here, once per operation.
    static std::optional<UdpSocket> OpenDeviceSocket(bool allow_broadcast);

    UdpSocket(UdpSocket&& other) noexcept;
    UdpSocket& operator=(UdpSocket&& other) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    ~UdpSocket();

    // Sends one datagram. A datagram for 255.255.255.255 goes to the broadcast address resolved when
    // the socket was opened.
    bool SendTo(const Ipv4Bytes& address, uint16_t port, std::span<const uint8_t> bytes);

    // Waits until a datagram can be read or the time-out passes.
    WaitResult Wait(int timeout_ms);

    // Reads one queued datagram without waiting; its bytes are NUL-terminated at their length.
    ReceiveResult Receive(Datagram& out);

    // Wait, then read one datagram.
    WaitResult WaitDatagram(int timeout_ms, Datagram& out);

  private:
    using Handle = intptr_t;
    UdpSocket(Handle handle, Ipv4Bytes broadcast) : handle_(handle), broadcast_(broadcast) {}
    void Close();

    Handle handle_;
    Ipv4Bytes broadcast_;
};

}  // namespace vkcfg::transport
