#include "ops/discovery.h"

#include <cstring>
#include <vector>

#include "codec/addr_text.h"
#include "codec/byte_io.h"
#include "codec/frame.h"
#include "codec/search_answer.h"
#include "ops/exchange.h"

namespace vkcfg::ops {
namespace {

using codec::BinaryFill;
using codec::TextAnswer;
using transport::Datagram;
using transport::UdpSocket;
using transport::WaitResult;

constexpr uint8_t kSearchText[] = {'X'};

std::array<uint8_t, 6> MacOf(const VkSearchRecord& r) {
    std::array<uint8_t, 6> mac;
    std::memcpy(mac.data(), r.mac, mac.size());
    return mac;
}

void SetSenderAddress(VkSearchRecord& record, const Datagram& d) {
    codec::SetText(record.ip, codec::AddrBytesToText(d.sender));
}

// The datagram's bytes with the payload (from offset 12 up to the checksum) unscrambled.
std::vector<uint8_t> Unscrambled(std::span<const uint8_t> datagram) {
    std::vector<uint8_t> plain(datagram.begin(), datagram.end());
    if (plain.size() > codec::kPayloadOffset + codec::kChecksumSize) {
        codec::Scramble(std::span(plain).subspan(
            codec::kPayloadOffset, plain.size() - codec::kPayloadOffset - codec::kChecksumSize));
    }
    return plain;
}

}  // namespace

int SearchAllText(std::span<VkSearchRecord> records, int& count) {
    count = 0;
    auto socket = UdpSocket::OpenDeviceSocket(true);
    if (!socket || !socket->SendTo(codec::kBroadcastBytes, VKA_DEVICE_PORT, kSearchText))
        return VK_ERR_NETWORK;

    SlotCollector<VkSearchRecord> found(records);
    CollectUntilQuiet(*socket, kSearchQuietMs, [&](const Datagram& d) {
        auto bytes = d.view();
        if (bytes.size() < codec::kMinTextSearchAnswer || bytes[0] != 'A') return Batch::kEnd;
        if (found.Full()) return Batch::kContinue;  // read and dropped
        VkSearchRecord record{};
        SetSenderAddress(record, d);
        if (codec::ParseTextSearchAnswer(bytes, record) == TextAnswer::kDevice) {
            if (VkSearchRecord* slot = found.Accept(MacOf(record))) *slot = record;
        }
        return Batch::kContinue;
    });
    count = static_cast<int>(found.count());
    return VK_OK;
}

int SearchAllBinary(std::span<VkSearchRecord> records, int& count) {
    count = 0;
    auto socket = UdpSocket::OpenDeviceSocket(true);
    if (!socket || !socket->SendTo(codec::kBroadcastBytes, VKB_DEVICE_PORT, codec::BuildSearchFrame()))
        return VK_ERR_NETWORK;

    SlotCollector<VkSearchRecord> found(records);
    CollectUntilQuiet(*socket, kSearchQuietMs, [&](const Datagram& d) {
        if (!codec::ChecksumMatches(d.view())) return Batch::kEnd;
        if (found.Full()) return Batch::kContinue;
        // Model code 0x20 answers are skipped here: those devices are listed by the text search.
        VkSearchRecord record{};
        if (codec::FillFromBinarySearchAnswer(Unscrambled(d.view()), record) == BinaryFill::kFilled) {
            if (VkSearchRecord* slot = found.Accept(MacOf(record))) *slot = record;
        }
        return Batch::kContinue;
    });
    count = static_cast<int>(found.count());
    return VK_OK;
}

int SearchAll(std::span<VkSearchRecord> records, int& count) {
    int text_count = 0;
    int result = SearchAllText(records, text_count);
    if (result != VK_OK) {
        count = 0;
        return result;
    }
    int binary_count = 0;
    result = SearchAllBinary(records.subspan(static_cast<size_t>(text_count)), binary_count);
    count = text_count + binary_count;
    return result;
}

int SearchAllExtended(std::span<VkSearchRecordEx> slots, int& count) {
    count = 0;
    auto socket = UdpSocket::OpenDeviceSocket(true);
    if (!socket || !socket->SendTo(codec::kBroadcastBytes, VKB_DEVICE_PORT, codec::BuildSearchFrame()))
        return VK_ERR_NETWORK;

    constexpr size_t kPayloadStart = codec::kShortFrameSize;
    SlotCollector<VkSearchRecordEx> found(slots);
    CollectUntilQuiet(*socket, kExtendedSearchQuietMs, [&](const Datagram& d) {
        auto bytes = d.view();
        if (!codec::ChecksumMatches(bytes)) return Batch::kEnd;
        codec::ByteReader in(bytes);
        if (in.U8(codec::frame::kCommand) != static_cast<uint8_t>(codec::Command::kSearchAnswer))
            return Batch::kContinue;
        // An answer without payload (shorter than header and checksum) has nothing for a slot.
        if (bytes.size() < kPayloadStart + codec::kChecksumSize) return Batch::kContinue;
        std::array<uint8_t, 6> key;  // the MAC field as received, still scrambled
        std::memcpy(key.data(), bytes.data() + codec::frame::kMac, key.size());
        if (VkSearchRecordEx* slot = found.Accept(key)) {
            auto payload = in.Bytes(kPayloadStart, bytes.size() - kPayloadStart - codec::kChecksumSize);
            codec::ByteWriter(std::span(reinterpret_cast<uint8_t*>(slot), sizeof *slot)).Bytes(0, payload);
        }
        return Batch::kContinue;
    });
    count = static_cast<int>(found.count());
    return VK_OK;
}

int SearchOneText(const char* ip, VkSearchRecord& record) {
    record = VkSearchRecord{};
    auto socket = UdpSocket::OpenDeviceSocket(false);
    if (!socket || !socket->SendTo(codec::AddrTextToBytes(ip), VKA_DEVICE_PORT, kSearchText))
        return VK_ERR_NETWORK;
    Datagram d;
    WaitResult waited = socket->WaitDatagram(kSingleAnswerWaitMs, d);
    socket.reset();
    if (waited != WaitResult::kDatagram) return VK_ERR_NETWORK;  // no answer is a network error here
    SetSenderAddress(record, d);
    switch (codec::ParseTextSearchAnswer(d.view(), record)) {
        case TextAnswer::kDevice:
            return VK_OK;
        case TextAnswer::kSecondGeneration:
            return VK_SECOND_GENERATION;
        case TextAnswer::kNotDevice:
            break;
    }
    return VK_ERR_NO_ANSWER;
}

int SearchOneBinary(const char* ip, VkSearchRecord& record) {
    auto socket = UdpSocket::OpenDeviceSocket(false);
    if (!socket || !socket->SendTo(codec::AddrTextToBytes(ip), VKB_DEVICE_PORT, codec::BuildSearchFrame()))
        return VK_ERR_NETWORK;
    Datagram d;
    WaitResult waited = socket->WaitDatagram(kSingleAnswerWaitMs, d);
    socket.reset();
    if (waited == WaitResult::kTimeout) return VK_ERR_NO_ANSWER;
    if (waited == WaitResult::kFailure) return VK_ERR_NETWORK;
    if (!codec::ChecksumMatches(d.view())) return VK_ERR_UNEXPECTED;
    // A model without a search shape leaves the record as it is; an answer too short for its shape is
    // refused rather than reported as a device.
    if (codec::FillFromBinarySearchAnswer(Unscrambled(d.view()), record) == BinaryFill::kTooShort)
        return VK_ERR_UNEXPECTED;
    return VK_OK;
}

int SearchOne(const char* ip, VkSearchRecord& record) {
    switch (SearchOneText(ip, record)) {
        case VK_OK:
            return VK_OK;
        case VK_SECOND_GENERATION:
            return SearchOneBinary(ip, record);
        default:
            return VK_ERR_NO_ANSWER;
    }
}

}  // namespace vkcfg::ops
