// Device-side encoding: what a device puts on the wire, written from the device's point of view.
// Nothing here is shared with the library, so that a layout mistake on either side shows up as a
// failing test rather than two agreeing mistakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "device.h"

namespace vksim {

using Bytes = std::vector<uint8_t>;

// CRC-16/XMODEM, bit by bit (the library uses a table; the two must agree).
uint16_t Crc16Bitwise(const uint8_t* data, size_t length);

inline constexpr uint8_t kMask = 0xF3;

// Command codes of the binary frames (byte 8).
inline constexpr uint8_t kCmdSearch = 1;
inline constexpr uint8_t kCmdSearchAnswer = 2;
inline constexpr uint8_t kCmdWrite = 5;
inline constexpr uint8_t kCmdSave = 7;
inline constexpr uint8_t kCmdSerialSet = 9;
inline constexpr uint8_t kCmdRead = 11;
inline constexpr uint8_t kCmdReadByMac = 13;
inline constexpr uint8_t kCmdLoginByMac = 15;
inline constexpr uint8_t kCmdLogin = 17;
inline constexpr uint8_t kCmdLogoutByMac = 19;
inline constexpr uint8_t kCmdLogout = 21;

// The 42-byte header every binary frame starts with.
inline constexpr size_t kHeaderSize = 42;
inline constexpr size_t kAtMarker = 0;
inline constexpr size_t kAtTag = 7;
inline constexpr size_t kAtCommand = 8;
inline constexpr size_t kAtModel = 9;
inline constexpr size_t kAtChannel = 10;
inline constexpr size_t kAtMac = 12;       // scrambled in every frame
inline constexpr size_t kAtSerial = 18;    // serial-change block of SERIAL_SET, 6 bytes
inline constexpr size_t kAtPassword = 24;  // login password, plain, 10 bytes

// A frame under construction; writes outside its size are a programming error and throw.
class FrameBuilder {
  public:
    explicit FrameBuilder(size_t size) : bytes_(size, 0) {}
    explicit FrameBuilder(Bytes initial) : bytes_(std::move(initial)) {}
    void U8(size_t at, uint8_t v);
    void Be16(size_t at, uint16_t v);
    void Le16(size_t at, uint16_t v);
    void Ip(size_t at, const Ip4& ip);
    void Raw(size_t at, const uint8_t* data, size_t n);
    void Text(size_t at, size_t width, const std::string& text);  // NUL-padded, cut to width
    std::string TextAt(size_t at, size_t width) const;            // up to the first NUL
    const Bytes& bytes() const { return bytes_; }
    // Scrambles the bytes from `scramble_from` up to the checksum (none when it is kNoScramble), then
    // fills the last two bytes with the checksum of everything before them, low byte first.
    static constexpr size_t kNoScramble = static_cast<size_t>(-1);
    Bytes Finish(size_t scramble_from);

  private:
    Bytes bytes_;
};

// Reads fields of a received frame; reads outside it throw std::out_of_range.
class FrameReader {
  public:
    explicit FrameReader(const Bytes& bytes) : bytes_(bytes) {}
    uint8_t U8(size_t at) const { return bytes_.at(at); }
    uint16_t Be16(size_t at) const { return static_cast<uint16_t>(U8(at) << 8 | U8(at + 1)); }
    uint16_t Le16(size_t at) const { return static_cast<uint16_t>(U8(at) | U8(at + 1) << 8); }
    Ip4 Ip(size_t at) const { return {U8(at), U8(at + 1), U8(at + 2), U8(at + 3)}; }
    std::string Text(size_t at, size_t width) const;  // up to the first NUL within width

  private:
    const Bytes& bytes_;
};

// True when the frame's last two bytes are the checksum of the rest, low byte first.
bool FrameChecksumOk(const Bytes& frame);

// XORs bytes [from, to) with the mask; scrambling and unscrambling are the same operation.
void Scramble(Bytes& bytes, size_t from, size_t to);

// The MAC a frame names (bytes 12 to 17, unscrambled).
Mac FrameMac(const Bytes& frame);

// A 42-byte answer of `d`: tag, command, model code, channel, the device's scrambled MAC, checksum.
Bytes ShortAnswer(const Device& d, uint8_t command, uint8_t tag, uint8_t channel = 0);

// The same frame with another tag in byte 7 and its checksum made right again.
Bytes Retagged(Bytes frame, uint8_t tag);

// The first `length` bytes of a frame (at least 10: tag, command and model code stay), its checksum
// recomputed into the last two: a frame too short for its layout that still looks whole.
Bytes Cut(Bytes frame, size_t length);

// The frame followed by zeros up to `length` bytes, its checksum recomputed into the last two: an
// answer longer than a receiver's buffer that is whole in itself.
Bytes Padded(Bytes frame, size_t length);

// "A" answer of a first-generation device to "X".
Bytes TextSearchAnswer(const Device& d);

}  // namespace vksim
