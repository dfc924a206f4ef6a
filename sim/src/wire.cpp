#include "wire.h"

#include <stdexcept>

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

Bytes FrameBuilder::Finish(size_t scramble_from) {
    const size_t body = bytes_.size() - 2;
    for (size_t i = scramble_from; i < body; ++i)
        bytes_[i] ^= kMask;
    uint16_t crc = Crc16Bitwise(bytes_.data(), body);
    bytes_[body] = static_cast<uint8_t>(crc & 0xFF);
    bytes_[body + 1] = static_cast<uint8_t>(crc >> 8);
    return bytes_;
}

bool FrameChecksumOk(const Bytes& f) {
    if (f.size() < 3) return false;
    uint16_t crc = Crc16Bitwise(f.data(), f.size() - 2);
    return f[f.size() - 2] == (crc & 0xFF) && f[f.size() - 1] == (crc >> 8);
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

namespace {

Bytes SinglePortFrame(const Device& d, uint8_t command, uint8_t tag) {
    FrameBuilder f(158);
    f.U8(7, tag);
    f.U8(8, command);
    f.U8(9, d.model->code);
    f.Raw(12, d.mac.data(), 6);
    f.Text(20, 10, d.name);
    f.Text(36, 16, d.firmware);
    f.Ip(52, d.ip);
    f.Ip(56, d.netmask);
    f.Ip(60, d.gateway);
    const Channel& c = d.channels.at(0);
    f.Be16(64, c.local_port);
    f.Ip(68, c.peer_ip);
    f.Be16(72, c.peer_port);
    f.Ip(80, d.dns1);
    f.Ip(84, d.dns2);
    f.Le16(128, static_cast<uint16_t>(c.baud_rate / 100));
    return f.Finish(12);
}

Bytes MultiPortFrame(const Device& d, uint8_t command, uint8_t tag) {
    const size_t n = static_cast<size_t>(d.model->channels);
    FrameBuilder f(94 + 54 * n);
    f.U8(7, tag);
    f.U8(8, command);
    f.U8(9, d.model->code);
    f.Raw(12, d.mac.data(), 6);
    f.Text(20, 10, d.name);
    f.Text(52, 16, d.firmware);
    f.Ip(68, d.ip);
    f.Ip(72, d.netmask);
    f.Ip(76, d.gateway);
    f.Ip(84, d.dns1);
    f.Ip(88, d.dns2);
    for (size_t i = 0; i < n; ++i) {
        const Channel& c = i < d.channels.size() ? d.channels[i] : Channel{};
        const size_t at = 92 + 54 * i;
        f.Be16(at + 0, c.local_port);
        f.Ip(at + 2, c.peer_ip);
        f.Be16(at + 6, c.peer_port);
        f.Le16(at + 44, static_cast<uint16_t>(c.baud_rate / 100));
    }
    return f.Finish(12);
}

}  // namespace

Bytes ParameterFrame(const Device& d, uint8_t command, uint8_t tag) {
    return d.model->channels == 0 ? SinglePortFrame(d, command, tag) : MultiPortFrame(d, command, tag);
}

Bytes ExtendedSearchAnswer(const Device& d) {
    FrameBuilder f(42 + 360 + 2);
    f.U8(8, kCmdSearchAnswer);
    f.U8(9, kExtendedModel);
    Mac scrambled = d.mac;
    for (auto& b : scrambled)
        b ^= kMask;
    f.Raw(12, scrambled.data(), 6);
    const size_t p = 42;  // plain payload from here on
    f.U8(p + 0, kExtendedModel);
    f.Text(p + 4, 32, d.firmware);
    f.Text(p + 36, 16, d.name);
    f.Raw(p + 52, d.mac.data(), 6);
    f.Ip(p + 60, d.ip);
    f.Ip(p + 64, d.channels.at(0).peer_ip);
    f.Ip(p + 68, d.netmask);
    f.Ip(p + 72, d.gateway);
    f.Ip(p + 76, d.dns1);
    f.Ip(p + 80, d.dns2);
    return f.Finish(FrameBuilder::kNoScramble);
}

}  // namespace vksim
