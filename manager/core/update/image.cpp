#include "core/update/image.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "checked/reader.h"
#include "core/update/checksums.h"

namespace torvane {
namespace {

constexpr size_t kCrcAt = 1112;
constexpr size_t kCoverageModulus = 0x10000;

struct ImageMessages {
    const char* empty_path;
    const char* missing_file;
    const char* wrong_magic;
    const char* magic;
};

const ImageMessages& MessagesOf(UpdateVariant v) {
    static const ImageMessages kA{"Please load the firmware file first", "The fireware file don't exist!",
                                  "The format of firmware file is error,Updating abort!", "BIN"};
    static const ImageMessages kB{"Pleas load the firmware file first",
                                  "The firmware file is not exist,Process is abort.",
                                  "The format of firmware file is error,Process is abort.", "BIN"};
    static const ImageMessages kC{"The firmware file must be load first",
                                  "The firmware file is not exist,Process is abort.",
                                  "The format of firmware is error,the updating Process is abort.", "B32"};
    switch (v) {
        case UpdateVariant::kA:
            return kA;
        case UpdateVariant::kB:
            return kB;
        case UpdateVariant::kC:
            return kC;
    }
    return kC;
}

constexpr const char* kTooLargeC = "the firmware size if too large,the updating is abort.";
constexpr const char* kCrcErrorC = "The crc of firmware is error,the upating process is abort.";
constexpr const char* kNoBody =
    "The firmware file holds no firmware after its 4096-byte header,Process is abort.";
constexpr const char* kBodyTooLongB = "The firmware body is longer than 65535 bytes,Process is abort.";

std::string TextField(const ImageHeader& h, size_t offset, size_t width) {
    std::string_view text;
    if (!checked::Reader(h.bytes).FieldTextAt(offset, width, text)) return {};
    return std::string(text);
}

// How many bytes of the file a variant needs: the header and the body it can send, and one byte more
// than a size check allows, so that an oversized file is never read whole.
uint64_t ReadLimit(UpdateVariant v) {
    switch (v) {
        case UpdateVariant::kA:
            return kImageBodyOffset + kMaxBodyA;
        case UpdateVariant::kB:
            return kImageBodyOffset + kMaxBodyB;
        case UpdateVariant::kC:
            return kMaxImageSizeC;
    }
    return 0;
}

std::vector<uint8_t> BodyOf(UpdateVariant v, std::span<const uint8_t> file) {
    if (file.size() <= kImageBodyOffset) return {};
    auto body = file.subspan(kImageBodyOffset);
    if (v == UpdateVariant::kA) body = body.first(std::min(body.size(), kMaxBodyA));
    return {body.begin(), body.end()};
}

}  // namespace

std::string ImageHeader::Magic() const {
    return TextField(*this, 0, 3);
}
std::string ImageHeader::Version() const {
    return TextField(*this, 8, 16);
}
std::string ImageHeader::TargetModel() const {
    return TextField(*this, 24, 32);
}
std::string ImageHeader::DateTime() const {
    return TextField(*this, 56, 16);
}
std::string ImageHeader::Description() const {
    return TextField(*this, 72, 1024);
}
std::string ImageHeader::MinimumVersion() const {
    return TextField(*this, 1096, 16);
}
uint16_t ImageHeader::StoredCrc() const {
    uint16_t crc = 0;
    checked::Reader(bytes).U16LeAt(kCrcAt, crc);
    return crc;
}

std::optional<ImageHeader> HeaderOf(std::span<const uint8_t> file) {
    ImageHeader h;
    if (file.size() <= kImageHeaderSize || !checked::Reader(file).CopyAt(0, h.bytes)) return std::nullopt;
    return h;
}

std::optional<ImageHeader> LoadHeaderForDisplay(const std::string& path) {
    const auto file = ReadFileBytes(path, kImageHeaderSize + 1);
    if (!file) return std::nullopt;
    return HeaderOf(file->bytes);
}

uint16_t ImageCrc(std::span<const uint8_t> file) {
    std::vector<uint8_t> covered(file.begin(),
                                 file.begin() + static_cast<long>(file.size() % kCoverageModulus));
    for (size_t i = kCrcAt; i < kCrcAt + 2 && i < covered.size(); ++i)
        covered[i] = 0;
    return Crc16(covered.data(), static_cast<uint16_t>(covered.size()));
}

bool ImageCrcMatches(std::span<const uint8_t> file) {
    uint16_t stored = 0;
    return checked::Reader(file).U16LeAt(kCrcAt, stored) && stored == ImageCrc(file);
}

bool BodyLengthFitsC(uint64_t file_size) {
    return file_size > kImageBodyOffset && file_size - kImageBodyOffset <= kMaxImageSizeC;
}

std::optional<std::string> RefuseImageBytes(UpdateVariant v, std::span<const uint8_t> file,
                                            uint64_t file_size) {
    const ImageMessages& m = MessagesOf(v);
    std::span<const uint8_t> magic;
    if (!checked::Reader(file).SpanAt(0, 3, magic) || !std::equal(magic.begin(), magic.end(), m.magic))
        return m.wrong_magic;
    if (v == UpdateVariant::kC) {
        if (file_size > kMaxImageSizeC) return kTooLargeC;
        if (!ImageCrcMatches(file)) return kCrcErrorC;
        return std::nullopt;
    }
    if (file_size <= kImageBodyOffset) return kNoBody;
    if (v == UpdateVariant::kB && file_size - kImageBodyOffset > kMaxBodyB) return kBodyTooLongB;
    return std::nullopt;
}

ImageCheck CheckImage(UpdateVariant v, const std::string& path) {
    const ImageMessages& m = MessagesOf(v);
    if (path.empty()) return {std::nullopt, m.empty_path};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec))
        return {std::nullopt, m.missing_file};
    auto file = ReadFileBytes(path, ReadLimit(v));
    if (!file) return {std::nullopt, m.missing_file};
    if (auto refusal = RefuseImageBytes(v, file->bytes, file->size)) return {std::nullopt, *refusal};
    FirmwareImage image;
    image.header = HeaderOf(file->bytes).value_or(ImageHeader{});
    image.body = BodyOf(v, file->bytes);
    image.file_size = file->size;
    return {std::move(image), {}};
}

std::optional<FileBytes> ReadFileBytes(const std::string& path, uint64_t limit) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    if (end < 0) return std::nullopt;
    in.seekg(0);
    FileBytes out;
    out.size = static_cast<uint64_t>(end);
    out.bytes.resize(static_cast<size_t>(std::min(out.size, limit)));
    in.read(reinterpret_cast<char*>(out.bytes.data()), static_cast<std::streamsize>(out.bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(out.bytes.size())) return std::nullopt;
    return out;
}

}  // namespace torvane
