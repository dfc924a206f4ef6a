#include "core/text/device_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "core/text/gbk_table.h"

namespace torvane {
namespace {

constexpr uint8_t kEuroByte = 0x80;  // the code page's one one-byte character above ASCII
constexpr char32_t kEuro = 0x20AC;
constexpr char32_t kReplacement = 0xFFFD;

char32_t PairCodePoint(uint8_t lead, uint8_t trail) {
    if (lead < gbk::kFirstLead || lead == 0xFF || trail < gbk::kFirstTrail || trail == 0xFF) return 0;
    return gbk::kTwoByteTable[(lead - gbk::kFirstLead) * gbk::kTrailCount + (trail - gbk::kFirstTrail)];
}

// Code point -> the two bytes (lead high), sorted by code point; built once from the decoding table.
const std::vector<std::pair<char32_t, uint16_t>>& EncodingTable() {
    static const auto table = [] {
        std::vector<std::pair<char32_t, uint16_t>> t;
        for (size_t lead = 0; lead < gbk::kLeadCount; ++lead) {
            for (size_t trail = 0; trail < gbk::kTrailCount; ++trail) {
                const char32_t cp = gbk::kTwoByteTable[lead * gbk::kTrailCount + trail];
                if (cp != 0)
                    t.emplace_back(cp, static_cast<uint16_t>((lead + gbk::kFirstLead) << 8 |
                                                             (trail + gbk::kFirstTrail)));
            }
        }
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

// The device bytes of one code point, or nothing.
std::optional<std::string> EncodeChar(char32_t cp) {
    if (cp < 0x80) return std::string(1, static_cast<char>(cp));
    if (cp == kEuro) return std::string(1, static_cast<char>(kEuroByte));
    const auto& table = EncodingTable();
    const auto it = std::lower_bound(table.begin(), table.end(), std::make_pair(cp, uint16_t{0}));
    if (it == table.end() || it->first != cp) return std::nullopt;
    return std::string{static_cast<char>(it->second >> 8), static_cast<char>(it->second & 0xFF)};
}

// The code point of the well-formed UTF-8 sequence at text[pos] (advancing pos past it), or nothing.
std::optional<char32_t> NextUtf8(std::string_view text, size_t& pos) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(pos);
    size_t length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (pos + length > text.size()) return std::nullopt;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(pos + k) & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (byte(pos + k) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    pos += length;
    return cp;
}

std::string CodePointName(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

DeviceTextEncoding Refused(std::string why) {
    return DeviceTextEncoding{false, {}, std::move(why)};
}

}  // namespace

void ForEachDeviceChar(std::string_view bytes, const std::function<void(const DeviceChar&)>& each) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<uint8_t>(bytes[i]);
        if (lead < 0x80) {
            each({lead, bytes.substr(i, 1)});
            ++i;
        } else if (lead == kEuroByte) {
            each({kEuro, bytes.substr(i, 1)});
            ++i;
        } else if (const char32_t cp =
                       i + 1 < bytes.size() ? PairCodePoint(lead, static_cast<uint8_t>(bytes[i + 1])) : 0) {
            each({cp, bytes.substr(i, 2)});
            i += 2;
        } else {
            each({std::nullopt, bytes.substr(i, 1)});
            ++i;
        }
    }
}

std::string DeviceTextToUtf8(std::string_view bytes) {
    std::string out;
    ForEachDeviceChar(bytes,
                      [&](const DeviceChar& c) { AppendUtf8(out, c.code_point.value_or(kReplacement)); });
    return out;
}

DeviceTextEncoding Utf8ToDeviceText(std::string_view utf8) {
    DeviceTextEncoding result;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t start = pos;
        const auto cp = NextUtf8(utf8, pos);
        if (!cp) return Refused("is not UTF-8 text (byte " + std::to_string(start + 1) + ")");
        const auto encoded = EncodeChar(*cp);
        if (!encoded)
            return Refused("\"" + std::string(utf8.substr(start, pos - start)) + "\" (" + CodePointName(*cp) +
                           ") is not a character of the device's code page (GBK)");
        result.bytes += *encoded;
    }
    result.ok = true;
    return result;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace torvane
