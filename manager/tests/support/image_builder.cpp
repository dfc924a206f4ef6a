#include "support/image_builder.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace torvane::test {
namespace {

void Put(std::vector<uint8_t>& image, size_t at, size_t width, const std::string& text) {
    for (size_t i = 0; i < width && i < text.size() && at + i < image.size(); ++i)
        image[at + i] = static_cast<uint8_t>(text[i]);
}

}  // namespace

uint16_t BitwiseCrc(const uint8_t* data, size_t n) {
    uint16_t crc = 0;
    for (size_t i = 0; i < n; ++i) {
        crc ^= static_cast<uint16_t>(data[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

std::vector<uint8_t> BuildImage(const ImageRecipe& recipe) {
    std::vector<uint8_t> image(recipe.file_size, 0);
    for (size_t i = 4096; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i * 31 + 7) & 0xFF);
    Put(image, 0, 3, recipe.magic);
    Put(image, 8, 16, recipe.version);
    Put(image, 24, 32, recipe.target_model);
    Put(image, 56, 16, recipe.date_time);
    Put(image, 72, 1024, recipe.description);
    Put(image, 1096, 16, recipe.minimum_version);
    if (recipe.magic == "B32" && image.size() > 1113) {
        uint16_t crc = BitwiseCrc(image.data(), image.size() % 65536);
        if (!recipe.correct_crc) crc ^= 0x0101;
        image[1112] = static_cast<uint8_t>(crc & 0xFF);
        image[1113] = static_cast<uint8_t>(crc >> 8);
    }
    return image;
}

std::vector<uint8_t> BodyOf(const std::vector<uint8_t>& image) {
    if (image.size() <= 4096) return {};
    return std::vector<uint8_t>(image.begin() + 4096, image.end());
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace torvane::test
