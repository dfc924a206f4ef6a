// Two ways of walking one layout description. A layout is written once, as a function template that
// names every field with its offset (`io.Ip(52, d.ip)`); run with FieldWriter it puts a device's
// settings into bytes, run with FieldReader it takes them back out of bytes that someone wrote to the
// device. Fields of the device's own identity (its MAC and firmware) are marked Own: they go out in
// every answer but a write never changes them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "wire.h"

namespace vksim {

class FieldWriter {
  public:
    explicit FieldWriter(FrameBuilder& out) : out_(out) {}
    void U8(size_t at, uint8_t v) { out_.U8(at, v); }
    void Be16(size_t at, uint16_t v) { out_.Be16(at, v); }
    void Le16(size_t at, uint16_t v) { out_.Le16(at, v); }
    void Baud(size_t at, uint32_t bps) { out_.Le16(at, static_cast<uint16_t>(bps / 100)); }
    void Ip(size_t at, const Ip4& ip) { out_.Ip(at, ip); }
    void Four(size_t at, const std::array<uint8_t, 4>& b) { out_.Raw(at, b.data(), b.size()); }
    // A text that already reads the same keeps its bytes (what follows its NUL included), so a block
    // written to the device comes back byte for byte.
    void Text(size_t at, size_t width, const std::string& text) {
        if (out_.TextAt(at, width) != text) out_.Text(at, width, text);
    }
    void Own(size_t at, const Mac& mac) { out_.Raw(at, mac.data(), mac.size()); }
    void OwnText(size_t at, size_t width, const std::string& text) { Text(at, width, text); }

  private:
    FrameBuilder& out_;
};

class FieldReader {
  public:
    explicit FieldReader(const Bytes& in) : in_(in) {}
    void U8(size_t at, uint8_t& v) { v = in_.U8(at); }
    void Be16(size_t at, uint16_t& v) { v = in_.Be16(at); }
    void Le16(size_t at, uint16_t& v) { v = in_.Le16(at); }
    void Baud(size_t at, uint32_t& bps) { bps = 100u * in_.Le16(at); }
    void Ip(size_t at, Ip4& ip) { ip = in_.Ip(at); }
    void Four(size_t at, std::array<uint8_t, 4>& b) {
        for (size_t i = 0; i < b.size(); ++i)
            b[i] = in_.U8(at + i);
    }
    void Text(size_t at, size_t width, std::string& text) { text = in_.Text(at, width); }
    void Own(size_t, const Mac&) {}
    void OwnText(size_t, size_t, const std::string&) {}

  private:
    FrameReader in_;
};

}  // namespace vksim
