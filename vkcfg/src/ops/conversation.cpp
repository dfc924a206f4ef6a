#include "ops/conversation.h"

#include <chrono>
#include <thread>

namespace vkcfg::ops {

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Destination DestinationOf(std::string_view ip_text) {
    if (codec::IsShortAddressText(ip_text)) return {codec::kBroadcastBytes, true};
    return {codec::AddrTextToBytes(ip_text), false};
}

std::optional<Conversation> Conversation::Open(const Destination& to, uint16_t port) {
    auto socket = transport::UdpSocket::OpenDeviceSocket(to.broadcast);
    if (!socket) return std::nullopt;
    return Conversation(std::move(*socket), to, port);
}

bool Conversation::Send(std::span<const uint8_t> bytes) {
    return socket_ && socket_->SendTo(to_.address, port_, bytes);
}

bool Conversation::Send(std::string_view text) {
    return Send(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

Outcome Conversation::Await(int timeout_ms, transport::Datagram& out) {
    if (!socket_) return Outcome::kFailure;
    switch (socket_->WaitDatagram(timeout_ms, out)) {
        case transport::WaitResult::kDatagram:
            return Outcome::kAnswer;
        case transport::WaitResult::kTimeout:
            return Outcome::kTimeout;
        case transport::WaitResult::kFailure:
            break;
    }
    return Outcome::kFailure;
}

}  // namespace vkcfg::ops
