#include "ops/discovery.h"

#include <algorithm>
#include <cstring>

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
        if (codec::FillFromBinarySearchAnswer(codec::Unscrambled(d.view()), record) == BinaryFill::kFilled) {
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

    SlotCollector<VkSearchRecordEx> found(slots);
    CollectUntilQuiet(*socket, kExtendedSearchQuietMs, [&](const Datagram& d) {
        if (!codec::ChecksumMatches(d.view())) return Batch::kEnd;
        if (codec::HeaderByte(d.view(), codec::frame::kCommand) !=
            static_cast<uint8_t>(codec::Command::kSearchAnswer))
            return Batch::kContinue;
        // An answer without payload (shorter than header and checksum) has nothing for a slot.
        auto payload = codec::ExtendedPayload(d.view());
        std::array<uint8_t, 6> key;  // the MAC field as received, still scrambled
        if (!payload || !codec::Reader(d.view()).CopyAt(codec::frame::kMac, key)) return Batch::kContinue;
        if (VkSearchRecordEx* slot = found.Accept(key)) {
            // At most the slot's 360 bytes; a shorter payload leaves the rest of the slot as it was.
            codec::Writer(slot, sizeof *slot)
                .BytesAt(0, payload->first(std::min(payload->size(), sizeof *slot)));
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
    if (codec::FillFromBinarySearchAnswer(codec::Unscrambled(d.view()), record) == BinaryFill::kTooShort)
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
