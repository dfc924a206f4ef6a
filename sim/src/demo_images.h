// Firmware images for trying the update against the simulator by hand: one per model, made the way the
// device family's images are laid out, that the simulated device of that model takes.
#pragma once

#include <filesystem>
#include <vector>

#include "device.h"

namespace vksim {

// The image file for the devices of `model`: "BIN" for the first family and VKB200, "B32" (with its
// CRC) for the others, the model text their identify answer reports as the target model.
std::vector<uint8_t> DemoImage(const ModelInfo& model);

// Writes DIR/<MODEL>.bin for every model; the paths written. Throws std::runtime_error on a write error.
std::vector<std::filesystem::path> WriteDemoImages(const std::filesystem::path& dir);

}  // namespace vksim
