#include "wire.h"

#include <stdexcept>
#include <utility>

namespace vksim {

uint16_t Crc16Bitwise(const uint8_t* data, size_t length) {
    uint16_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        crc ^= static_cast<uint16_t>(data[i] << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    return crc;
}

void FrameBuilder::U8(size_t at, uint8_t v) {
    if (at >= bytes_.size()) throw std::out_of_range("frame write past its end");
    bytes_[at] = v;
}
void FrameBuilder::Be16(size_t at, uint16_t v) {
    U8(at, static_cast<uint8_t>(v >> 8));
    U8(at + 1, static_cast<uint8_t>(v & 0xFF));
}
void FrameBuilder::Le16(size_t at, uint16_t v) {
    U8(at, static_cast<uint8_t>(v & 0xFF));
    U8(at + 1, static_cast<uint8_t>(v >> 8));
}
void FrameBuilder::Ip(size_t at, const Ip4& ip) {
    Raw(at, ip.data(), ip.size());
}
void FrameBuilder::Raw(size_t at, const uint8_t* data, size_t n) {
    for (size_t i = 0; i < n; ++i)
        U8(at + i, data[i]);
}
void FrameBuilder::Text(size_t at, size_t width, const std::string& text) {
    for (size_t i = 0; i < width; ++i)
        U8(at + i, i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}
std::string FrameBuilder::TextAt(size_t at, size_t width) const {
    return FrameReader(bytes_).Text(at, width);
}

Bytes FrameBuilder::Finish(size_t scramble_from) {
    const size_t body = bytes_.size() - 2;
    if (scramble_from != kNoScramble) Scramble(bytes_, scramble_from, body);
    uint16_t crc = Crc16Bitwise(bytes_.data(), body);
    bytes_[body] = static_cast<uint8_t>(crc & 0xFF);
    bytes_[body + 1] = static_cast<uint8_t>(crc >> 8);
    return bytes_;
}

std::string FrameReader::Text(size_t at, size_t width) const {
    std::string out;
    for (size_t i = 0; i < width && U8(at + i) != 0; ++i)
        out.push_back(static_cast<char>(U8(at + i)));
    return out;
}

bool FrameChecksumOk(const Bytes& f) {
    if (f.size() < 3) return false;
    uint16_t crc = Crc16Bitwise(f.data(), f.size() - 2);
    return f[f.size() - 2] == (crc & 0xFF) && f[f.size() - 1] == (crc >> 8);
}

void Scramble(Bytes& bytes, size_t from, size_t to) {
    for (size_t i = from; i < to && i < bytes.size(); ++i)
        bytes[i] ^= kMask;
}

Mac FrameMac(const Bytes& frame) {
    Mac mac{};
    for (size_t i = 0; i < mac.size(); ++i)
        mac[i] = static_cast<uint8_t>(frame.at(kAtMac + i) ^ kMask);
    return mac;
}

Bytes ShortAnswer(const Device& d, uint8_t command, uint8_t tag, uint8_t channel) {
    FrameBuilder f(kHeaderSize);
    f.U8(kAtTag, tag);
    f.U8(kAtCommand, command);
    f.U8(kAtModel, d.model->code);
    f.U8(kAtChannel, channel);
    f.Raw(kAtMac, d.mac.data(), d.mac.size());
    Bytes out = f.bytes();
    Scramble(out, kAtMac, kAtMac + d.mac.size());
    return FrameBuilder(std::move(out)).Finish(FrameBuilder::kNoScramble);
}

namespace {

Bytes WithFreshChecksum(Bytes frame) {
    const size_t body = frame.size() - 2;
    uint16_t crc = Crc16Bitwise(frame.data(), body);
    frame[body] = static_cast<uint8_t>(crc & 0xFF);
    frame[body + 1] = static_cast<uint8_t>(crc >> 8);
    return frame;
}

}  // namespace

Bytes Retagged(Bytes frame, uint8_t tag) {
    frame.at(kAtTag) = tag;
    return WithFreshChecksum(std::move(frame));
}

Bytes Cut(Bytes frame, size_t length) {
    if (length < kAtModel + 1 || length >= frame.size()) return frame;
    frame.resize(length);
    return WithFreshChecksum(std::move(frame));
}

Bytes Padded(Bytes frame, size_t length) {
    if (length <= frame.size()) return frame;
    frame.resize(length);
    return WithFreshChecksum(std::move(frame));
}

Bytes TextSearchAnswer(const Device& d) {
    // Part one: MAC / data port / three fields of the device's own / name. After a NUL and one more
    // byte, part two: ip / netmask / gateway / dns1 / dns2 / peer / model / firmware.
    std::string one =
        "A" + MacDecimalText(d.mac) + "/" + std::to_string(d.channels.at(0).local_port) + "/1/0/0/" + d.name;
    std::string two = IpText(d.ip) + "/" + IpText(d.netmask) + "/" + IpText(d.gateway) + "/" +
                      IpText(d.dns1) + "/" + IpText(d.dns2) + "/" + IpText(d.channels.at(0).peer_ip) + "/" +
                      d.model->name + "/" + d.firmware;
    Bytes out(one.begin(), one.end());
    out.push_back(0);
    out.push_back(0x01);
    out.insert(out.end(), two.begin(), two.end());
    return out;
}

}  // namespace vksim
