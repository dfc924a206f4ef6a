#include "core/params/param_sheet_rows.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "core/address_text.h"
#include "core/device_record.h"

namespace torvane {
namespace {

// The field's bytes; a binding beyond the block is a fault of the layout tables, not of the device.
std::span<const uint8_t> Bytes(std::span<const uint8_t> block, size_t offset, size_t width) {
    if (offset > block.size() || width > block.size() - offset)
        throw std::out_of_range("parameter field beyond the block");
    return block.subspan(offset, width);
}

std::span<uint8_t> Bytes(std::span<uint8_t> block, size_t offset, size_t width) {
    if (offset > block.size() || width > block.size() - offset)
        throw std::out_of_range("parameter field beyond the block");
    return block.subspan(offset, width);
}

uint32_t GetNumber(const FieldBinding& f, std::span<const uint8_t> block) {
    const auto b = Bytes(block, f.offset, f.width);
    uint32_t value = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        const size_t k = f.big_endian ? i : b.size() - 1 - i;
        value = (value << 8) | b[k];
    }
    return value;
}

// The low bits of the value that the field's width holds.
void PutNumber(const FieldBinding& f, uint32_t value, std::span<uint8_t> block) {
    const auto b = Bytes(block, f.offset, f.width);
    for (size_t i = 0; i < b.size(); ++i) {
        const size_t k = f.big_endian ? b.size() - 1 - i : i;
        b[k] = static_cast<uint8_t>(value >> (8 * i));
    }
}

std::string ShowNamed(const ValueNames& names, uint8_t value) {
    for (const auto& [v, name] : names.names) {
        if (v == value) return name;
    }
    std::string text = names.shown_other;
    if (const size_t at = text.find("%d"); at != std::string::npos)
        text.replace(at, 2, std::to_string(value));
    return text;
}

uint8_t StoredNamed(const ValueNames& names, std::string_view text) {
    for (const auto& [v, name] : names.names) {
        if (name == text) return v;
    }
    return names.stored_other;
}

// 1 when no name equals the text; otherwise the index of the last equal name.
uint8_t StoredProtocol(const std::vector<std::string>& protocol_names, std::string_view text) {
    uint8_t index = 1;
    for (size_t i = 0; i < protocol_names.size(); ++i) {
        if (protocol_names[i] == text) index = static_cast<uint8_t>(i);
    }
    return index;
}

std::string ShowProtocol(const std::vector<std::string>& protocol_names, uint8_t index) {
    return index < protocol_names.size() ? protocol_names[index] : std::to_string(index);
}

std::optional<std::string> StoreText(const FieldBinding& f, std::string_view text, std::span<uint8_t> block) {
    if (f.bar_error && text.find('|') != std::string_view::npos) return f.bar_error;
    const size_t room = f.room ? f.room : f.width;
    const size_t n = std::min(text.size(), room - 1);
    const auto b = Bytes(block, f.offset, n + 1);
    std::memcpy(b.data(), text.data(), n);
    b[n] = 0;
    return std::nullopt;
}

// "9600 bps" -> 9600: the integer of the characters before the first blank.
std::optional<int32_t> BaudOfText(std::string_view text, std::string& number_text) {
    number_text = std::string(text.substr(0, text.find(' ')));
    return IntegerOfText(number_text);
}

std::optional<std::string> StoreNumber(const FieldBinding& f, std::string_view text,
                                       std::span<uint8_t> block) {
    std::string number_text(text);
    std::optional<int32_t> value;
    if (f.conv == FieldConv::kNumber) {
        value = IntegerOfText(number_text);
    } else {
        value = BaudOfText(text, number_text);
        if (value && f.conv == FieldConv::kBaudHundreds) *value /= 100;
    }
    if (!value) return NotAnIntegerMessage(number_text);
    PutNumber(f, static_cast<uint32_t>(*value), block);
    return std::nullopt;
}

}  // namespace

SheetRow& SheetPage::Row(std::string_view name) {
    return const_cast<SheetRow&>(std::as_const(*this).Row(name));
}

const SheetRow& SheetPage::Row(std::string_view name) const {
    for (const auto& row : rows) {
        if (row.caption == name) return row;
    }
    throw std::out_of_range("page \"" + caption + "\" has no row \"" + std::string(name) + "\"");
}

void Sheet::SetText(size_t page, size_t row, std::string text) {
    SheetRow& r = pages.at(page).rows.at(row);
    if (r.max_length && text.size() > r.max_length) text.resize(r.max_length);
    r.text = std::move(text);
}

void Sheet::SetText(const RowName& name, std::string text) {
    const auto& rows = pages.at(name.page).rows;
    const auto it =
        std::find_if(rows.begin(), rows.end(), [&](const SheetRow& r) { return r.caption == name.caption; });
    if (it == rows.end()) throw std::out_of_range(std::string("no row ") + name.caption);
    SetText(name.page, static_cast<size_t>(it - rows.begin()), std::move(text));
}

std::string NotAnIntegerMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::optional<int32_t> IntegerOfText(std::string_view text) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
    if (i == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string ShowField(const FieldBinding& f, std::span<const uint8_t> block,
                      const std::vector<std::string>& protocol_names) {
    switch (f.conv) {
        case FieldConv::kNone:
            return {};
        case FieldConv::kText:
        case FieldConv::kTimeServer:
            return FieldText(Bytes(block, f.offset, f.width).data(), f.width);
        case FieldConv::kAddressBytes:
            return IpBytesToText(Bytes(block, f.offset, 4).data());
        case FieldConv::kMac:
            return MacToText(Bytes(block, f.offset, 6).data());
        case FieldConv::kNumber:
            return std::to_string(GetNumber(f, block));
        case FieldConv::kBaud:
            return std::to_string(GetNumber(f, block)) + " bps";
        case FieldConv::kBaudHundreds:
            return std::to_string(GetNumber(f, block) * 100) + " bps";
        case FieldConv::kNamed:
            return ShowNamed(*f.names, Bytes(block, f.offset, 1)[0]);
        case FieldConv::kProtocol:
            return ShowProtocol(protocol_names, Bytes(block, f.offset, 1)[0]);
    }
    return {};
}

std::optional<std::string> StoreField(const FieldBinding& f, std::string_view text, std::span<uint8_t> block,
                                      const std::vector<std::string>& protocol_names) {
    switch (f.conv) {
        case FieldConv::kNone:
        case FieldConv::kMac:
            return std::nullopt;
        case FieldConv::kText:
            return StoreText(f, text, block);
        case FieldConv::kTimeServer:
            // A server name that fills the whole field would leave no NUL: the device keeps its own.
            if (text.size() >= f.width) return std::nullopt;
            return StoreText(f, text, block);
        case FieldConv::kAddressBytes: {
            const Ip4Bytes ip = IPTextToBytes(text);
            std::memcpy(Bytes(block, f.offset, 4).data(), ip.data(), 4);
            return std::nullopt;
        }
        case FieldConv::kNumber:
        case FieldConv::kBaud:
        case FieldConv::kBaudHundreds:
            return StoreNumber(f, text, block);
        case FieldConv::kNamed:
            Bytes(block, f.offset, 1)[0] = StoredNamed(*f.names, text);
            return std::nullopt;
        case FieldConv::kProtocol:
            Bytes(block, f.offset, 1)[0] = StoredProtocol(protocol_names, text);
            return std::nullopt;
    }
    return std::nullopt;
}

void ShowRows(Sheet& sheet, std::span<const uint8_t> block, const std::vector<std::string>& protocol_names) {
    for (auto& page : sheet.pages) {
        for (auto& row : page.rows) {
            if (row.field.conv != FieldConv::kNone) row.text = ShowField(row.field, block, protocol_names);
        }
    }
}

std::optional<std::string> StoreRows(const Sheet& sheet, std::span<const RowName> order,
                                     std::span<uint8_t> block,
                                     const std::vector<std::string>& protocol_names) {
    for (const auto& name : order) {
        const SheetRow& row = sheet.Row(name);
        if (auto error = StoreField(row.field, row.text, block, protocol_names)) return error;
    }
    return std::nullopt;
}

void RequireBlock(std::span<const uint8_t> block, size_t size, const char* what) {
    if (block.size() < size)
        throw std::invalid_argument(std::string(what) + " needs a block of " + std::to_string(size) +
                                    " bytes");
}

std::vector<std::string> ProtocolItems(const std::vector<std::string>& protocol_names) {
    std::vector<std::string> items;
    for (const auto& name : protocol_names) {
        if (!name.empty()) items.push_back(name);
    }
    return items;
}

const std::vector<std::string> kEnableDisableItems{"Enable", "Disable"};
const std::vector<std::string> kDisableEnableItems{"Disable", "Enable"};
const std::vector<std::string> kNetworkModeItems{"Normal Mode", "Busy Mode"};
const std::vector<std::string> kWorkModeItems{"Server Mode", "Auto Mode", "Client Mode", "MultiSocket Mode"};
const std::vector<std::string> kBaudItems{"300 bps",   "600 bps",    "1200 bps",   "2400 bps",  "4800 bps",
                                          "9600 bps",  "14400 bps",  "19200 bps",  "38400 bps", "56000 bps",
                                          "57600 bps", "115200 bps", "128000 bps", "256000 bps"};
const std::vector<std::string> kParityItems{"NONE", "EVEN", "ODD", "MARK", "SPACE", "SPECIAL"};
const std::vector<std::string> kDataBitsItems{"7 bit", "8 bit"};
const std::vector<std::string> kStopBitsItems{"1 bit", "2 bit"};
const std::vector<std::string> kFlowControlItems{"NONE", "CTS/RTS"};

namespace {

// Value i named by items[i].
ValueNames Indexed(const std::vector<std::string>& items, uint8_t stored_other) {
    ValueNames names{{}, "%d", stored_other};
    for (size_t i = 0; i < items.size(); ++i)
        names.names.emplace_back(static_cast<uint8_t>(i), items[i]);
    return names;
}

}  // namespace

const ValueNames kEnabledWhenOne{{{1, "Enable"}, {0, "Disable"}}, "Disable", 0};
const ValueNames kEnabledUnlessZero{{{0, "Disable"}, {1, "Enable"}}, "Enable", 0};
const ValueNames kNetworkModeNames{{{0, "Normal Mode"}, {1, "Busy Mode"}}, "Busy Mode", 0};
const ValueNames kWorkModeNames = Indexed(kWorkModeItems, 3);
const ValueNames kParityNames = Indexed(kParityItems, 0);
const ValueNames kStopBitsNames{{{1, "1 bit"}, {2, "2 bit"}}, "%d", 1};
const ValueNames kFlowControlNames{{{0, "NONE"}, {1, "CTS/RTS"}}, "%d", 0};

FieldBinding TextField(size_t offset, size_t width, const char* bar_error) {
    FieldBinding f = BoundField(FieldConv::kText, offset, width);
    f.bar_error = bar_error;
    return f;
}

FieldBinding NumberField(size_t offset, size_t width, bool big_endian) {
    FieldBinding f = BoundField(FieldConv::kNumber, offset, width);
    f.big_endian = big_endian;
    return f;
}

FieldBinding NamedField(size_t offset, const ValueNames& names) {
    FieldBinding f = BoundField(FieldConv::kNamed, offset, 1);
    f.names = &names;
    return f;
}

FieldBinding BoundField(FieldConv conv, size_t offset, size_t width) {
    FieldBinding f;
    f.conv = conv;
    f.offset = offset;
    f.width = width;
    return f;
}

SheetRow TextRow(std::string caption, FieldBinding field, size_t max_length) {
    SheetRow row;
    row.caption = std::move(caption);
    row.field = field;
    row.max_length = max_length;
    return row;
}

SheetRow AddressRow(std::string caption, FieldBinding field, RowKind kind) {
    SheetRow row = TextRow(std::move(caption), field, kAddressMaxLength);
    row.kind = kind;
    return row;
}

SheetRow PickRow(std::string caption, RowKind kind, std::vector<std::string> items, FieldBinding field) {
    SheetRow row = TextRow(std::move(caption), field);
    row.kind = kind;
    row.items = std::move(items);
    return row;
}

SheetRow SpinRow(std::string caption, int max, FieldBinding field) {
    SheetRow row = TextRow(std::move(caption), field);
    row.kind = RowKind::kSpin;
    row.spin_max = max;
    return row;
}

SheetRow CategoryRow(std::string caption) {
    SheetRow row;
    row.caption = std::move(caption);
    row.kind = RowKind::kCategory;
    row.read_only = true;
    return row;
}

SheetRow Hidden(SheetRow row) {
    row.visible = false;
    return row;
}

SheetRow ReadOnly(SheetRow row) {
    row.read_only = true;
    return row;
}

}  // namespace torvane
