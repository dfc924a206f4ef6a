#include "codec/frame.h"

#include "codec/byte_io.h"
#include "codec/crc.h"
#include "codec/models.h"

namespace vkcfg::codec {

size_t ParameterFrameSize(uint8_t model_code) {
    switch (FamilyOf(model_code)) {
        case Family::kSinglePort:
            return kSinglePortFrameSize;
        case Family::kMultiPort:
            return kMultiPortHeadSize + kChannelFrameSize * ChannelCount(model_code);
        case Family::kFirstGeneration:
        case Family::kOther:
            break;
    }
    return 0;
}

std::array<uint8_t, kShortFrameSize> BuildShortFrame(const ShortFrame& fields) {
    std::array<uint8_t, kShortFrameSize> out{};
    Writer w(out);
    w.U8At(frame::kMarker, fields.marker);
    w.U8At(frame::kTag, fields.tag);
    w.U8At(frame::kCommand, static_cast<uint8_t>(fields.command));
    w.U8At(frame::kModelCode, fields.model_code);
    w.U8At(frame::kChannel, fields.channel);
    if (fields.mac) {
        auto mac = *fields.mac;
        Scramble(mac);
        w.BytesAt(frame::kMac, mac);
    }
    w.BytesAt(frame::kSerial, fields.serial);
    w.BytesAt(frame::kPassword, fields.password);
    WriteChecksum(out);
    return out;
}

std::array<uint8_t, kShortFrameSize> BuildSearchFrame() {
    ShortFrame f;
    f.marker = kMarkerRequest;
    f.command = Command::kSearch;
    return BuildShortFrame(f);
}

void Scramble(std::span<uint8_t> bytes) {
    for (auto& b : bytes)
        b ^= kScrambleMask;
}

void WriteChecksum(std::span<uint8_t> frame) {
    if (frame.size() < kChecksumSize) return;
    size_t body = frame.size() - kChecksumSize;
    Writer(frame).U16LeAt(body, Crc16(frame.first(body)));
}

std::vector<uint8_t> Unscrambled(std::span<const uint8_t> frame) {
    std::vector<uint8_t> plain(frame.begin(), frame.end());
    if (plain.size() > kPayloadOffset + kChecksumSize) {
        Scramble(std::span(plain).subspan(kPayloadOffset, plain.size() - kPayloadOffset - kChecksumSize));
    }
    return plain;
}

std::optional<uint8_t> HeaderByte(std::span<const uint8_t> frame, size_t offset) {
    uint8_t b;
    if (!Reader(frame).U8At(offset, b)) return std::nullopt;
    return b;
}

bool ChecksumMatches(std::span<const uint8_t> datagram) {
    if (datagram.size() <= kChecksumSize) return false;
    size_t body = datagram.size() - kChecksumSize;
    uint16_t carried = 0;
    return Reader(datagram).U16LeAt(body, carried) && carried == Crc16(datagram.first(body));
}

bool IsWriteAcknowledgement(std::span<const uint8_t> datagram) {
    return ChecksumMatches(datagram);
}

bool IsSerialAcknowledgement(std::span<const uint8_t> datagram) {
    return datagram.size() >= kShortFrameSize && ChecksumMatches(datagram);
}

std::optional<std::span<const uint8_t>> ExtendedPayload(std::span<const uint8_t> frame) {
    const Reader in(frame);
    std::span<const uint8_t> payload;
    if (in.size() < kShortFrameSize + kChecksumSize ||
        !in.SpanAt(kShortFrameSize, in.size() - kShortFrameSize - kChecksumSize, payload))
        return std::nullopt;
    return payload;
}

}  // namespace vkcfg::codec
