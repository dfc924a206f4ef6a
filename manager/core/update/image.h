// Firmware image files. "BIN" images serve variants A and B, "B32" images variant C. The first 4096
// bytes are the header area, whose first 1116 bytes form the ImageHeader record; the body, the bytes
// sent to the device, starts at offset 4096.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/model_family.h"

namespace torvane {

inline constexpr size_t kImageHeaderSize = 1116;
inline constexpr size_t kImageBodyOffset = 4096;
inline constexpr size_t kMaxImageSizeC = 0x40000;
inline constexpr size_t kMaxBodyA = 0xEC00;
inline constexpr size_t kMaxBodyB = 0xFFFF;

struct ImageHeader {
    std::array<uint8_t, kImageHeaderSize> bytes{};

    // The text fields: their bytes up to the first zero byte, or the whole field.
    std::string Magic() const;           // 3 bytes at 0: "BIN" or "B32"
    std::string Version() const;         // 16 at 8: "Version:"
    std::string TargetModel() const;     // 32 at 24: "Target Dev."
    std::string DateTime() const;        // 16 at 56: "DateTime:"
    std::string Description() const;     // 1024 at 72
    std::string MinimumVersion() const;  // 16 at 1096: "Target Ver."
    uint16_t StoredCrc() const;          // at 1112, little-endian
};

// The header of a file's bytes; nothing when they are not longer than the record.
std::optional<ImageHeader> HeaderOf(std::span<const uint8_t> file);

// The header shown in the update window: read from the file at `path` when the file is longer than
// 1116 bytes; nothing otherwise (also for a file that cannot be read). No magic or CRC is checked.
std::optional<ImageHeader> LoadHeaderForDisplay(const std::string& path);

// The CRC of a "B32" image: over the first (file size modulo 65,536) bytes, with the two bytes at 1112
// and 1113 counted as zero.
uint16_t ImageCrc(std::span<const uint8_t> file);

// True when the stored CRC equals ImageCrc; false for a file too short to hold one.
bool ImageCrcMatches(std::span<const uint8_t> file);

// An image that passed a variant's checks.
struct FirmwareImage {
    ImageHeader header;
    std::vector<uint8_t> body;  // the body bytes the variant sends (A: at most 60,416)
    uint64_t file_size = 0;
};

// The refusal of an image, or nothing when it passes.
std::optional<std::string> RefuseImageBytes(UpdateVariant variant, std::span<const uint8_t> file,
                                            uint64_t file_size);

struct ImageCheck {
    std::optional<FirmwareImage> image;
    std::string refusal;  // the message of the first failing check when `image` is empty
};

// The checks of a variant on the firmware path's text, in their order: an empty path, a missing file,
// the magic, the sizes and (variant C) the CRC.
ImageCheck CheckImage(UpdateVariant variant, const std::string& path);

// Variant C sends the body only when the file is longer than 4096 bytes.
bool BodyLengthFitsC(uint64_t file_size);

// The bytes of the file at `path`, at most `limit` of them, and its size; nothing when it cannot be read.
struct FileBytes {
    std::vector<uint8_t> bytes;
    uint64_t size = 0;
};
std::optional<FileBytes> ReadFileBytes(const std::string& path, uint64_t limit);

}  // namespace torvane
