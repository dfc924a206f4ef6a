// Device texts (device names, user names, passwords, URLs, firmware versions) are bytes in the code page
// of the workstations the devices were made for: GBK (code page 936). This is where they meet the
// Unicode texts of the two faces (UTF-8 in vkctl and its JSON, QString in Torvane); nothing else
// decodes or encodes them. The conversion needs no library of the system, so it is the same on every
// platform.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace torvane {

// One character of a device text: its code point, or nothing for a byte that starts no GBK character;
// and the bytes it takes (one or two).
struct DeviceChar {
    std::optional<char32_t> code_point;
    std::string_view bytes;
};

// Calls `each` with the characters of the device bytes in order. A lead byte whose pair is no character
// is handed out alone, and the walk goes on with the byte after it.
void ForEachDeviceChar(std::string_view bytes, const std::function<void(const DeviceChar&)>& each);

// The device text in UTF-8; a byte that starts no GBK character becomes U+FFFD.
std::string DeviceTextToUtf8(std::string_view bytes);

struct DeviceTextEncoding {
    bool ok = false;
    std::string bytes;    // the device bytes, when ok
    std::string refusal;  // why not, e.g. "\"Ü\" (U+00DC) is not a character of the device's code page (GBK)"
};

// The device bytes of a UTF-8 text. Refused, with nothing converted: text that is no well-formed UTF-8,
// and any character that GBK cannot hold.
DeviceTextEncoding Utf8ToDeviceText(std::string_view utf8);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace torvane
