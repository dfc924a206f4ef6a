#include "demo_images.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "wire.h"

namespace vksim {
namespace {

// The header's text fields: offset and width.
constexpr size_t kAtVersion = 8, kVersionWidth = 16;
constexpr size_t kAtTarget = 24, kTargetWidth = 32;
constexpr size_t kAtDate = 56, kDateWidth = 16;
constexpr size_t kAtDescription = 72, kDescriptionWidth = 1024;
constexpr size_t kAtMinimum = 1096, kMinimumWidth = 16;
constexpr size_t kAtCrc = 1112;
constexpr size_t kBodyAt = 4096;
constexpr size_t kBodySize = 12000;

void PutText(std::vector<uint8_t>& image, size_t at, size_t width, const std::string& text) {
    for (size_t i = 0; i < width && i < text.size(); ++i)
        image[at + i] = static_cast<uint8_t>(text[i]);
}

bool TakesBinImages(const ModelInfo& model) {
    return model.code == 0x01 || model.code == 0x10;
}

}  // namespace

std::vector<uint8_t> DemoImage(const ModelInfo& model) {
    std::vector<uint8_t> image(kBodyAt + kBodySize, 0);
    const std::string name = model.name;
    PutText(image, 0, 3, TakesBinImages(model) ? "BIN" : "B32");
    PutText(image, kAtVersion, kVersionWidth, "V2.2");
    PutText(image, kAtTarget, kTargetWidth, model.code == 0x01 ? name + "-S" : name);
    PutText(image, kAtDate, kDateWidth, "2026-01-01 08:00");
    PutText(image, kAtDescription, kDescriptionWidth,
            "Demo firmware for the simulated " + name + " (written by vksim --write-images).");
    PutText(image, kAtMinimum, kMinimumWidth, "V1.0");
    for (size_t i = kBodyAt; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i * 7 + 3) & 0xFF);
    if (!TakesBinImages(model)) {
        // Over the whole file (shorter than 64 KiB) with the CRC field still zero; stored low byte first.
        const uint16_t crc = Crc16Bitwise(image.data(), image.size());
        image[kAtCrc] = static_cast<uint8_t>(crc & 0xFF);
        image[kAtCrc + 1] = static_cast<uint8_t>(crc >> 8);
    }
    return image;
}

std::vector<std::filesystem::path> WriteDemoImages(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    std::vector<std::filesystem::path> written;
    for (const ModelInfo& model : AllModels()) {
        const auto path = dir / (std::string(model.name) + ".bin");
        const std::vector<uint8_t> image = DemoImage(model);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        if (!out) throw std::runtime_error("cannot write " + path.string());
        written.push_back(path);
    }
    return written;
}

}  // namespace vksim
