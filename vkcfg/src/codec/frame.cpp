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
    ByteWriter w(out);
    w.U8(frame::kMarker, fields.marker);
    w.U8(frame::kTag, fields.tag);
    w.U8(frame::kCommand, static_cast<uint8_t>(fields.command));
    w.U8(frame::kModelCode, fields.model_code);
    w.U8(frame::kChannel, fields.channel);
    if (fields.mac) {
        auto mac = *fields.mac;
        Scramble(mac);
        w.Bytes(frame::kMac, mac);
    }
    w.Bytes(frame::kSerial, fields.serial);
    w.Bytes(frame::kPassword, fields.password);
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
    ByteWriter(frame).U16Le(body, Crc16(frame.first(body)));
}

bool ChecksumMatches(std::span<const uint8_t> datagram) {
    if (datagram.size() <= kChecksumSize) return false;
    size_t body = datagram.size() - kChecksumSize;
    return ByteReader(datagram).U16Le(body) == Crc16(datagram.first(body));
}

}  // namespace vkcfg::codec
