#include "core/update/image_report.h"

#include <algorithm>

namespace torvane {
namespace {

// Enough of a file for every variant's checks: a larger file is refused by its size alone.
constexpr uint64_t kInspectLimit = kMaxImageSizeC + 1;

}  // namespace

std::optional<ImageReport> InspectImage(const std::string& path) {
    const auto file = ReadFileBytes(path, kInspectLimit);
    if (!file) return std::nullopt;
    ImageReport report;
    report.size = file->size;
    report.header = HeaderOf(file->bytes);
    const size_t magic_size = std::min<size_t>(3, file->bytes.size());
    report.magic.assign(file->bytes.begin(), file->bytes.begin() + static_cast<long>(magic_size));
    if (report.header) report.stored_crc = report.header->StoredCrc();
    if (file->bytes.size() == file->size) report.computed_crc = ImageCrc(file->bytes);
    for (auto& verdict : report.variants)
        verdict.refusal = RefuseImageBytes(verdict.variant, file->bytes, file->size);
    return report;
}

}  // namespace torvane
