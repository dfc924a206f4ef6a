#include "ops/binary_params.h"

#include <algorithm>
#include <cstring>

#include "codec/byte_io.h"
#include "codec/frame.h"
#include "codec/models.h"
#include "codec/param_record.h"
#include "ops/binary_frames.h"
#include "ops/conversation.h"
#include "vkcfg.h"

namespace vkcfg::ops {
namespace {

using transport::Datagram;

constexpr size_t kClearedBlockBytes = 148;

// Sends READ (READ_BY_MAC by broadcast) and waits for the answer carrying the request tag. On no answer
// or a receive failure the device's session is ended with a logout and `result` says why.
struct ReadAnswer {
    int result;
    Datagram datagram;
    codec::Command command;
};

ReadAnswer AskRead(const char* ip, const codec::MacBytes& mac) {
    ReadAnswer a{VK_ERR_NETWORK, {}, codec::Command::kRead};
    auto c = Conversation::Open(DestinationOf(ip), VKB_DEVICE_PORT);
    if (!c) return a;
    a.command = c->broadcast() ? codec::Command::kReadByMac : codec::Command::kRead;
    auto request = codec::BuildDeviceRequest(codec::kMarkerRequest, codec::kRequestTag,
                                             static_cast<uint8_t>(a.command), mac);
    if (!c->Send(request)) return a;
    Outcome o = c->AwaitMatching(kAnswerWaitMs, a.datagram, CarriesRequestTag);
    if (o != Outcome::kAnswer) {
        SendLogout(*c, mac);
        a.result = o == Outcome::kTimeout ? VK_ERR_NO_ANSWER : VK_ERR_NETWORK;
        return a;
    }
    a.result = VK_OK;
    return a;
}

// Whether a tagged answer carries the command and a matching checksum.
bool IsAnswerTo(const Datagram& d, codec::Command command) {
    return codec::HeaderByte(d.view(), codec::frame::kCommand) == static_cast<uint8_t>(command) &&
           codec::ChecksumMatches(d.view());
}

// Sends a write request and, once a datagram with a matching checksum acknowledges it, SAVE.
int WriteAndSave(const char* ip, std::span<const uint8_t> frame, const codec::MacBytes& mac) {
    auto c = Conversation::Open(DestinationOf(ip), VKB_DEVICE_PORT);
    if (!c) return VK_ERR_NETWORK;
    if (!c->Send(frame)) return VK_ERR_NETWORK;
    Datagram ack;
    Outcome o = c->Await(kAnswerWaitMs, ack);
    if (o == Outcome::kTimeout) return VK_ERR_NO_ANSWER;
    if (o != Outcome::kAnswer || !codec::IsWriteAcknowledgement(ack.view())) return VK_ERR_UNEXPECTED;
    SendSave(*c, mac);
    return VK_OK;
}

}  // namespace

int BinaryReadSettings(const char* ip, const codec::MacBytes& mac, std::span<uint8_t> block) {
    std::fill_n(block.begin(), std::min(block.size(), kClearedBlockBytes), uint8_t{0});
    ReadAnswer a = AskRead(ip, mac);
    if (a.result != VK_OK) return a.result;
    if (!IsAnswerTo(a.datagram, codec::Command::kRead)) return VK_ERR_UNEXPECTED;
    // No layout for the answer's model code, or an answer cut short of its layout's frame.
    auto work = codec::BinaryBlockOfFrame(codec::Unscrambled(a.datagram.view()));
    if (work.empty() || work.size() > block.size()) return VK_ERR_UNEXPECTED;
    std::copy(work.begin(), work.end(), block.begin());
    return VK_OK;
}

int BinaryWriteSettings(const char* ip, std::span<const uint8_t> block) {
    auto frame = codec::BuildParameterWriteFrame(block);
    if (frame.empty()) return VK_ERR_ARGUMENT;
    codec::MacBytes mac{};  // the record's MAC, not the caller's argument
    codec::Reader(frame).CopyAt(codec::frame::kMac, mac);
    codec::Scramble(mac);
    return WriteAndSave(ip, frame, mac);
}

int ExtendedReadSettings(const char* ip, const codec::MacBytes& mac, std::span<uint8_t> payload) {
    std::fill_n(payload.begin(), std::min<size_t>(payload.size(), 4), uint8_t{0});
    ReadAnswer a = AskRead(ip, mac);
    if (a.result != VK_OK) return a.result;
    if (!IsAnswerTo(a.datagram, a.command)) return VK_ERR_UNEXPECTED;
    // An answer without payload (shorter than header and checksum) is refused; nothing is copied.
    auto body = codec::ExtendedPayload(a.datagram.view());
    if (!body) return VK_ERR_UNEXPECTED;
    std::copy_n(body->begin(), std::min(body->size(), payload.size()), payload.begin());
    return VK_OK;
}

int ExtendedWriteSettings(const char* ip, const codec::MacBytes& mac, std::span<const uint8_t> payload) {
    return WriteAndSave(ip, codec::BuildExtendedWriteFrame(mac, payload), mac);
}

}  // namespace vkcfg::ops
