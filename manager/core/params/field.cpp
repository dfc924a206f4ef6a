#include "core/params/field.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "core/address_text.h"
#include "core/field_text.h"
#include "core/text/device_text.h"

namespace torvane::params {
namespace {

constexpr size_t kAddressTextWidth = 16;
constexpr const char* kBarRefusal = "contains \"|\", which the device's text commands use as a separator";
constexpr int64_t kLowestBaud = 300;
constexpr int64_t kHighestHundredsBaud = 6553400;  // 65534 hundreds: 0xFFFF means "unchanged" elsewhere

size_t WidthOf(const Field& f) {
    switch (f.codec) {
        case Codec::kText:
        case Codec::kBytes:
            return f.width;
        case Codec::kU8:
        case Codec::kI8:
            return 1;
        case Codec::kHost16:
        case Codec::kLe16:
        case Codec::kBe16:
        case Codec::kBaudLe16:
            return 2;
        case Codec::kHost32:
        case Codec::kAddressBytes:
            return 4;
        case Codec::kAddressText:
            return kAddressTextWidth;
        case Codec::kMac:
            return 6;
    }
    return 0;
}

const uint8_t* At(const Field& f, const Block& block) {
    if (f.offset + WidthOf(f) > block.size())
        throw std::logic_error("field " + f.name + " lies past the block");
    return block.data() + f.offset;
}

uint8_t* At(const Field& f, Block& block) {
    return const_cast<uint8_t*>(At(f, std::as_const(block)));
}

template <typename T>
T HostAt(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void PutHost(uint8_t* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

Parsed Refused(std::string error) {
    return Parsed{false, {}, std::move(error)};
}

Parsed Accepted(FieldValue value) {
    return Parsed{true, std::move(value), {}};
}

// A whole decimal integer, with a sign only where negative values are allowed.
bool Decimal(std::string_view text, bool allow_sign, int64_t& out) {
    if (text.empty()) return false;
    if (!allow_sign && text[0] == '-') return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

std::string Range(int64_t min, int64_t max) {
    return "from " + std::to_string(min) + " to " + std::to_string(max);
}

Parsed ParseNumber(const Field& f, std::string_view text) {
    std::string named;
    // Only names of values in the range count.
    const size_t named_values = static_cast<size_t>(std::max<int64_t>(f.max - f.min + 1, 0));
    for (size_t i = 0; i < std::min(f.names.size(), named_values); ++i) {
        if (f.names[i].empty()) continue;
        if (SameLetters(text, f.names[i])) return Accepted(f.min + static_cast<int64_t>(i));
        named += " " + f.names[i];
    }
    int64_t v = 0;
    std::string expected = "a number " + Range(f.min, f.max);
    if (!named.empty()) expected += " or one of" + named;
    if (!Decimal(text, f.min < 0, v)) return Refused("is not " + expected);
    if (v < f.min || v > f.max) return Refused("is out of range: " + expected);
    return Accepted(v);
}

// The text is checked as typed, then as the device bytes it becomes: their count is what the field
// holds, and a two-byte character may carry the separator "|" as its second byte.
Parsed ParseText(const Field& f, std::string_view text) {
    if (text.find('|') != std::string_view::npos) return Refused(kBarRefusal);
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) return Refused("contains a control character");
    }
    const DeviceTextEncoding encoded = Utf8ToDeviceText(text);
    if (!encoded.ok) return Refused("cannot be written: " + encoded.refusal);
    const auto max = static_cast<size_t>(f.max);
    if (encoded.bytes.size() > max) {
        if (encoded.bytes.size() == text.size())
            return Refused("is longer than " + std::to_string(max) + " characters");
        return Refused("takes " + std::to_string(encoded.bytes.size()) +
                       " bytes in the device's code page (GBK); the field holds " + std::to_string(max));
    }
    if (encoded.bytes.find('|') != std::string::npos) return Refused(kBarRefusal);
    return Accepted(encoded.bytes);
}

Parsed ParseBaud(const Field& f, std::string_view text) {
    int64_t v = 0;
    if (f.rule == RuleKind::kBaudTable) {
        const auto& table = FirstGenerationBauds();
        if (Decimal(text, false, v) && std::find(table.begin(), table.end(), v) != table.end())
            return Accepted(v);
        std::string list;
        for (auto b : table)
            list += " " + std::to_string(b);
        return Refused("is not a speed this device takes (bit/s:" + list + ")");
    }
    if (Decimal(text, false, v) && v >= kLowestBaud && v <= kHighestHundredsBaud && v % 100 == 0)
        return Accepted(v);
    return Refused("is not a speed this device takes (a multiple of 100 bit/s " +
                   Range(kLowestBaud, kHighestHundredsBaud) + ")");
}

Field PlainField(std::string name, Codec codec, size_t offset, size_t width = 0) {
    Field f;
    f.name = std::move(name);
    f.codec = codec;
    f.offset = offset;
    f.width = width;
    return f;
}

}  // namespace

const std::vector<int64_t>& FirstGenerationBauds() {
    static const std::vector<int64_t> bauds{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    return bauds;
}

Field ReadOnlyField(std::string name, Codec codec, size_t offset, std::string why, size_t width) {
    Field f = PlainField(std::move(name), codec, offset, width);
    f.read_only_why = std::move(why);
    return f;
}

Field TextField(std::string name, size_t offset, size_t width, size_t max_bytes) {
    Field f = PlainField(std::move(name), Codec::kText, offset, width);
    f.rule = RuleKind::kText;
    f.max = static_cast<int64_t>(max_bytes);
    return f;
}

Field NumberField(std::string name, Codec codec, size_t offset, int64_t min, int64_t max,
                  std::vector<std::string> names) {
    Field f = PlainField(std::move(name), codec, offset);
    f.rule = RuleKind::kNumber;
    f.min = min;
    f.max = max;
    f.names = std::move(names);
    return f;
}

Field AddressField(std::string name, Codec codec, size_t offset) {
    Field f = PlainField(std::move(name), codec, offset);
    f.rule = RuleKind::kAddress;
    return f;
}

Field BaudField(std::string name, Codec codec, size_t offset, RuleKind rule) {
    Field f = PlainField(std::move(name), codec, offset);
    f.rule = rule;
    return f;
}

Field SwitchField(std::string name, size_t offset) {
    return NumberField(std::move(name), Codec::kU8, offset, 0, 1, {"off", "on"});
}

FieldValue GetValue(const Field& f, const Block& block) {
    const uint8_t* p = At(f, block);
    switch (f.codec) {
        case Codec::kText:
            return FieldText(p, f.width);
        case Codec::kAddressText:
            return FieldText(p, kAddressTextWidth);
        case Codec::kU8:
            return int64_t{p[0]};
        case Codec::kI8:
            return int64_t{static_cast<int8_t>(p[0])};
        case Codec::kHost16:
            return int64_t{HostAt<uint16_t>(p)};
        case Codec::kHost32:
            return int64_t{HostAt<uint32_t>(p)};
        case Codec::kLe16:
            return int64_t{p[0] | (p[1] << 8)};
        case Codec::kBe16:
            return int64_t{(p[0] << 8) | p[1]};
        case Codec::kBaudLe16:
            return int64_t{p[0] | (p[1] << 8)} * 100;
        case Codec::kAddressBytes:
            return IpBytesToText(p);
        case Codec::kMac:
            return MacToText(p);
        case Codec::kBytes:
            return std::vector<int64_t>(p, p + f.width);
    }
    throw std::logic_error("field " + f.name + " has no codec");
}

void PutValue(const Field& f, const FieldValue& value, Block& block) {
    uint8_t* p = At(f, block);
    if (f.codec == Codec::kText || f.codec == Codec::kAddressText) {
        const auto& text = std::get<std::string>(value);
        const size_t width = WidthOf(f);
        if (text.size() > width) throw std::logic_error("text too long for field " + f.name);
        PutFieldText(p, width, text, TextEnd::kMayFill);
        return;
    }
    if (f.codec == Codec::kAddressBytes) {
        const auto ip = IPTextToBytes(std::get<std::string>(value));
        std::memcpy(p, ip.data(), ip.size());
        return;
    }
    const int64_t v = std::get<int64_t>(value);
    switch (f.codec) {
        case Codec::kU8:
        case Codec::kI8:
            p[0] = static_cast<uint8_t>(v);
            return;
        case Codec::kHost16:
            PutHost(p, static_cast<uint16_t>(v));
            return;
        case Codec::kHost32:
            PutHost(p, static_cast<uint32_t>(v));
            return;
        case Codec::kLe16:
            p[0] = static_cast<uint8_t>(v);
            p[1] = static_cast<uint8_t>(v >> 8);
            return;
        case Codec::kBe16:
            p[0] = static_cast<uint8_t>(v >> 8);
            p[1] = static_cast<uint8_t>(v);
            return;
        case Codec::kBaudLe16:
            p[0] = static_cast<uint8_t>(v / 100);
            p[1] = static_cast<uint8_t>((v / 100) >> 8);
            return;
        default:
            throw std::logic_error("field " + f.name + " cannot be stored");
    }
}

Parsed ParseValue(const Field& f, std::string_view text) {
    switch (f.rule) {
        case RuleKind::kReadOnly:
            return Refused("is read-only" + (f.read_only_why.empty() ? "" : ": " + f.read_only_why));
        case RuleKind::kText:
            return ParseText(f, text);
        case RuleKind::kNumber:
            return ParseNumber(f, text);
        case RuleKind::kAddress:
            if (auto ip = ParseStrictIP(text)) return Accepted(IpBytesToText(*ip));
            return Refused("is not an IPv4 address (four numbers from 0 to 255 joined by \".\")");
        case RuleKind::kBaudTable:
        case RuleKind::kBaudHundreds:
            return ParseBaud(f, text);
    }
    return Refused("cannot be set");
}

}  // namespace torvane::params
