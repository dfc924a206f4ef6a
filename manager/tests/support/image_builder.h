// Firmware images for tests, laid out field by field from the image format (not with the core's own
// code), with a bitwise CRC of their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace torvane::test {

struct ImageRecipe {
    std::string magic = "BIN";
    size_t file_size = 4096 + 3000;
    std::string version = "V2.2";
    std::string target_model = "VKA100-S";
    std::string date_time = "2024-05-06 07:08";
    std::string description = "test image";
    std::string minimum_version = "V1.0";
    bool correct_crc = true;  // "B32": the stored CRC matches
};

std::vector<uint8_t> BuildImage(const ImageRecipe& recipe);

// The body bytes an image of this size carries (everything from offset 4096).
std::vector<uint8_t> BodyOf(const std::vector<uint8_t>& image);

// CRC-16/XMODEM bit by bit over `n` bytes.
uint16_t BitwiseCrc(const uint8_t* data, size_t n);

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);

}  // namespace torvane::test
