// Version texts as devices and images write them ("V1.20", "Ver 2.05b") turned into numbers, and the
// gate that keeps an image from a device whose firmware is older than the image requires.
#pragma once

#include <string_view>

namespace torvane {

// The number in a version text: the run of digits and points that starts at the first digit (at most
// 16 characters, the text ending at its first zero byte), read with "." as the decimal point. 0 when
// the text holds no digit or the run is no number (two points: "1.2.3").
double ParseVersion(std::string_view text);

// True when the device's version is at least the image's minimum device version; an image whose
// minimum converts to 0 fits every device.
bool VersionGatePasses(std::string_view minimum_version, std::string_view device_version);

}  // namespace torvane
