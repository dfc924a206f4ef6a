// What an image file holds and which update variants would take it, for a look at an image before it
// is used (vkctl image).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/update/image.h"

namespace torvane {

struct ImageReport {
    uint64_t size = 0;
    std::optional<ImageHeader> header;     // files longer than 1116 bytes
    std::string magic;                     // the first three bytes as they are
    uint16_t stored_crc = 0;               // the CRC field at offset 1112 ("B32" images)
    std::optional<uint16_t> computed_crc;  // the CRC of the file, when it was small enough to read whole
    struct Verdict {
        UpdateVariant variant;
        std::optional<std::string> refusal;  // the variant's message, or nothing when it takes the image
    };
    std::array<Verdict, 3> variants{
        {{UpdateVariant::kA, {}}, {UpdateVariant::kB, {}}, {UpdateVariant::kC, {}}}};
};

// The report of the file at `path`; nothing when it cannot be read.
std::optional<ImageReport> InspectImage(const std::string& path);

}  // namespace torvane
