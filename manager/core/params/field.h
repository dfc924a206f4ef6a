// One named field of a device's parameter block: where its value sits in the block's bytes, how to read
// and store it, and which values it takes. The field tables of the layouts are lists of these; vkctl
// shows and sets fields by these names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace torvane::params {

using Block = std::vector<uint8_t>;

// A field's value: a number, a text (device bytes, GBK, as the device holds them; addresses as dotted
// text), or a list of raw bytes.
using FieldValue = std::variant<int64_t, std::string, std::vector<int64_t>>;

// How the value sits in the block.
enum class Codec {
    kText,          // NUL-padded text of `width` bytes (it may fill them)
    kU8,            // one byte
    kI8,            // one byte, signed
    kHost16,        // 16 bits in host order (the library's records)
    kHost32,        // 32 bits in host order
    kLe16,          // 16 bits, low byte first
    kBe16,          // 16 bits, high byte first
    kBaudLe16,      // bit/s divided by 100, 16 bits low byte first
    kAddressText,   // dotted address text in a 16-byte field
    kAddressBytes,  // four address bytes, first octet first
    kMac,           // six bytes, shown as the decimal MAC text
    kBytes,         // `width` raw bytes
};

// Which values a field takes from the command line.
enum class RuleKind {
    kReadOnly,
    kText,          // at most `max` device bytes, no "|", no control characters, nothing GBK cannot hold
    kNumber,        // decimal integer from `min` to `max`, or one of `names` (the name of value min + i)
    kAddress,       // an IPv4 address of exactly four groups (ParseStrictIP)
    kBaudTable,     // one of the first generation's eight speeds
    kBaudHundreds,  // a multiple of 100 that the 16-bit hundreds field carries
};

struct Field {
    std::string name;
    Codec codec = Codec::kU8;
    size_t offset = 0;
    size_t width = 0;  // kText and kBytes
    RuleKind rule = RuleKind::kReadOnly;
    int64_t min = 0;
    int64_t max = 0;
    std::vector<std::string> names;  // kNumber: names of min, min + 1, ...; an empty name is none
    bool secret = false;             // shown masked
    std::string read_only_why;       // kReadOnly: why the field cannot be set
};

// Field makers for the layout tables.
Field ReadOnlyField(std::string name, Codec codec, size_t offset, std::string why, size_t width = 0);
Field TextField(std::string name, size_t offset, size_t width, size_t max_bytes);
Field NumberField(std::string name, Codec codec, size_t offset, int64_t min, int64_t max,
                  std::vector<std::string> names = {});
Field AddressField(std::string name, Codec codec, size_t offset);
Field BaudField(std::string name, Codec codec, size_t offset, RuleKind rule);
// 0 or 1, named "off" and "on".
Field SwitchField(std::string name, size_t offset);

// The field's value in the block (which must hold offset + the codec's width bytes).
FieldValue GetValue(const Field& field, const Block& block);

// Stores a value that ParseValue gave for the field; only the field's own bytes change.
void PutValue(const Field& field, const FieldValue& value, Block& block);

// A value text (UTF-8, as typed) checked against the field's rule: the value to store, or why it is
// refused.
struct Parsed {
    bool ok = false;
    FieldValue value;
    std::string error;  // "is out of range 0 to 65535"...
};
Parsed ParseValue(const Field& field, std::string_view text);

// The first generation's serial speeds (bit/s).
const std::vector<int64_t>& FirstGenerationBauds();

}  // namespace torvane::params
