// Device-side encoding: what a device puts on the wire, written from the device's point of view.
// Nothing here is shared with the library, so that a layout mistake on either side shows up as a
// failing test rather than two agreeing mistakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device.h"

namespace vksim {

using Bytes = std::vector<uint8_t>;

// CRC-16/XMODEM, bit by bit (the library uses a table; the two must agree).
uint16_t Crc16Bitwise(const uint8_t* data, size_t length);

inline constexpr uint8_t kMask = 0xF3;
inline constexpr uint8_t kCmdSearch = 1;
inline constexpr uint8_t kCmdSearchAnswer = 2;

// A frame under construction; writes outside its size are a programming error and throw.
class FrameBuilder {
  public:
    explicit FrameBuilder(size_t size) : bytes_(size, 0) {}
    void U8(size_t at, uint8_t v);
    void Be16(size_t at, uint16_t v);
    void Le16(size_t at, uint16_t v);
    void Ip(size_t at, const Ip4& ip);
    void Raw(size_t at, const uint8_t* data, size_t n);
    void Text(size_t at, size_t width, const std::string& text);  // NUL-padded, cut to width
    // Scrambles the bytes from `scramble_from` up to the checksum (none when it is kNoScramble), then
    // fills the last two bytes with the checksum of everything before them, low byte first.
    static constexpr size_t kNoScramble = static_cast<size_t>(-1);
    Bytes Finish(size_t scramble_from);

  private:
    Bytes bytes_;
};

// True when the frame's last two bytes are the checksum of the rest, low byte first.
bool FrameChecksumOk(const Bytes& frame);

// "A" answer of a first-generation device to "X".
Bytes TextSearchAnswer(const Device& d);

// The parameter frame of a second-generation device (single-port: 158 bytes; multi-port: 94 + 54 n),
// scrambled from byte 12, with `command` and `tag` in the header.
Bytes ParameterFrame(const Device& d, uint8_t command, uint8_t tag);

// The extended device's search answer: 42-byte header, 360-byte plain payload, checksum.
Bytes ExtendedSearchAnswer(const Device& d);

}  // namespace vksim
