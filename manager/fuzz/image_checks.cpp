// Every variant's checks of an image, and its header fields, on any bytes taken as a whole file: what
// a variant takes has its magic, sizes and (B32) CRC right; no field reads past the header.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/update/image.h"
#include "core/update/version.h"
#include "fuzz_check.h"

namespace {

bool HasMagic(std::span<const uint8_t> d, const char* magic) {
    return d.size() >= 3 && std::equal(d.begin(), d.begin() + 3, magic);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvane;
    const std::span<const uint8_t> d(data, size);
    if (!RefuseImageBytes(UpdateVariant::kA, d, size)) FUZZ_CHECK(HasMagic(d, "BIN") && size > 4096);
    if (!RefuseImageBytes(UpdateVariant::kB, d, size))
        FUZZ_CHECK(HasMagic(d, "BIN") && size > 4096 && size - 4096 <= 65535);
    if (!RefuseImageBytes(UpdateVariant::kC, d, size))
        FUZZ_CHECK(HasMagic(d, "B32") && size <= 262144 && ImageCrcMatches(d));

    // The stored CRC's own two bytes never change the computed one.
    std::vector<uint8_t> copy(d.begin(), d.end());
    for (size_t i = 1112; i < 1114 && i < copy.size(); ++i)
        copy[i] ^= 0x5A;
    FUZZ_CHECK(ImageCrc(copy) == ImageCrc(d));

    const auto header = HeaderOf(d);
    FUZZ_CHECK(header.has_value() == (size > kImageHeaderSize));
    if (header) {
        FUZZ_CHECK(header->Magic().size() <= 3 && header->Version().size() <= 16);
        FUZZ_CHECK(header->TargetModel().size() <= 32 && header->DateTime().size() <= 16);
        FUZZ_CHECK(header->Description().size() <= 1024 && header->MinimumVersion().size() <= 16);
        FUZZ_CHECK(header->StoredCrc() == (d[1112] | d[1113] << 8));
    }

    const std::string_view text(reinterpret_cast<const char*>(data), std::min<size_t>(size, 64));
    const double version = ParseVersion(text);
    FUZZ_CHECK(version >= 0 && version == version);  // never negative, never NaN
    FUZZ_CHECK(VersionGatePasses(text, text));
    const std::string_view until_zero = text.substr(0, text.find('\0'));
    if (std::none_of(until_zero.begin(), until_zero.end(), [](char c) { return c >= '0' && c <= '9'; }))
        FUZZ_CHECK(version == 0);
    return 0;
}
