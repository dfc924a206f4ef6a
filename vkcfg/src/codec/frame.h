// Second-generation binary frames: the 42-byte header, the command codes, the request tag, payload
// scrambling and the trailing checksum (CRC-16 of every byte before it, low byte first).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vkcfg::codec {

inline constexpr size_t kShortFrameSize = 42;  // header with checksum; also the extended payload offset
inline constexpr size_t kChecksumSize = 2;
inline constexpr size_t kPayloadOffset = 12;  // parameter frames are scrambled from here on

// Sizes of the parameter frames, checksum included: the single-port frame, and the multi-port frame's
// head (everything but the channels) and one channel.
inline constexpr size_t kSinglePortFrameSize = 158;
inline constexpr size_t kMultiPortHeadSize = 94;
inline constexpr size_t kChannelFrameSize = 54;
inline constexpr size_t kChannelFrameBase = 92;  // channel i starts at 92 + 54 i

namespace frame {
inline constexpr size_t kMarker = 0;
inline constexpr size_t kTag = 7;
inline constexpr size_t kCommand = 8;
inline constexpr size_t kModelCode = 9;
inline constexpr size_t kChannel = 10;
inline constexpr size_t kMac = 12;
inline constexpr size_t kSerial = 18;
inline constexpr size_t kPassword = 24;
inline constexpr size_t kCrc = 40;
inline constexpr size_t kMacSize = 6;
inline constexpr size_t kSerialSize = 6;
inline constexpr size_t kPasswordSize = 10;
}  // namespace frame

inline constexpr uint8_t kMarkerRequest = 0xFF;
inline constexpr uint8_t kScrambleMask = 0xF3;

enum class Command : uint8_t {
    kSearch = 1,
    kSearchAnswer = 2,
    kWrite = 5,
    kSave = 7,
    kSerialSet = 9,
    kRead = 11,
    kReadByMac = 13,
    kLoginByMac = 15,
    kLogin = 17,
    kLogoutByMac = 19,
    kLogout = 21,
};

// The tag of tagged requests: low byte of the first number drawn from the C library's linear
// congruential generator seeded with 250 (state * 214013 + 2531011, bits 16 to 30). The generator is
// seeded afresh before every tagged request, so the tag is always the same value.
constexpr uint8_t ComputeRequestTag() {
    uint32_t state = 250u * 214013u + 2531011u;
    return static_cast<uint8_t>((state >> 16) & 0x7FFF);
}
inline constexpr uint8_t kRequestTag = ComputeRequestTag();
static_assert(kRequestTag == 0x57);

struct ShortFrame {
    uint8_t marker = 0;
    uint8_t tag = 0;
    Command command = Command::kSearch;
    uint8_t model_code = 0;
    uint8_t channel = 0;
    // The target device's MAC, plain; the builder scrambles it. A request that names no device (the
    // search) leaves the field zero.
    std::optional<std::array<uint8_t, frame::kMacSize>> mac;
    std::array<uint8_t, frame::kSerialSize> serial{};
    std::array<uint8_t, frame::kPasswordSize> password{};
};

// The length of a whole parameter frame of a model, 0 when the model has no second-generation layout:
// 158 bytes for the single-port layout, 94 + 54 * n for the multi-port layout with n channels.
size_t ParameterFrameSize(uint8_t model_code);

// The 42-byte frame of `fields` with the MAC scrambled and the checksum in bytes 40 and 41.
std::array<uint8_t, kShortFrameSize> BuildShortFrame(const ShortFrame& fields);

// The search request: marker 0xFF, command SEARCH, everything else zero, checksum.
std::array<uint8_t, kShortFrameSize> BuildSearchFrame();

// XORs every byte with the scramble mask; scrambling twice gives the bytes back.
void Scramble(std::span<uint8_t> bytes);

// Writes the checksum of all bytes but the last two into the last two, low byte first.
void WriteChecksum(std::span<uint8_t> frame);

// A copy of a received frame with its payload (from byte 12 up to the checksum) unscrambled; a frame
// with no byte between the header's first 12 bytes and the checksum comes back unchanged.
std::vector<uint8_t> Unscrambled(std::span<const uint8_t> frame);

// The header byte at `offset` of a received frame (tag, command, model code); nullopt when the frame
// is too short to hold it.
std::optional<uint8_t> HeaderByte(std::span<const uint8_t> frame, size_t offset);

// The answer a write waits for: any datagram whose checksum matches, whatever its tag and command.
bool IsWriteAcknowledgement(std::span<const uint8_t> datagram);

// The answer to a serial-line frame: at least a whole short frame, with a matching checksum.
bool IsSerialAcknowledgement(std::span<const uint8_t> datagram);

// The payload of an extended frame: the bytes between the 42-byte header and the checksum; nullopt
// for a frame too short to hold header and checksum.
std::optional<std::span<const uint8_t>> ExtendedPayload(std::span<const uint8_t> frame);

// True when the datagram has at least 3 bytes and its last two hold, low byte first, the checksum of
// the bytes before them.
bool ChecksumMatches(std::span<const uint8_t> datagram);

}  // namespace vkcfg::codec
