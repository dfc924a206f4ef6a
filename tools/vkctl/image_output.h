// What "vkctl image" prints about a firmware image: its header fields, magic and size, the CRC of a
// "B32" image, and which update variants take it.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "core/update/image_report.h"

namespace vkctl {

// "name  value" lines and one line per variant (or only the variant of `model_code`).
std::string FormatImageReport(const std::string& path, const torvane::ImageReport& report,
                              std::optional<uint8_t> model_code);

nlohmann::ordered_json ImageReportJson(const std::string& path, const torvane::ImageReport& report,
                                       std::optional<uint8_t> model_code);

}  // namespace vkctl
