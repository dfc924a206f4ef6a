// The rows of a parameter window, without widgets: tabbed pages of property-grid rows, each row a
// caption and a text, and the conversion between a row's text and its field in the parameter block.
// The windows show what the rows hold and hand typed texts back; they never convert a field themselves.
// Texts are device bytes (the workstation's code page), as the block holds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torvane {

enum class RowKind {
    kText,        // free text, optionally limited in length
    kMaskedText,  // address entry
    kPickList,    // drop-down list; only its items can be chosen
    kPickText,    // drop-down list; free text is taken as well
    kSpin,        // integer with up and down buttons, from 0 to the row's maximum
    kCategory,    // a group heading: no value, groups the rows below it
};

// Names of the values of a one-byte field. Shown: the name of the value, or `shown_other` for any other
// value ("%d" in it stands for the value in decimal). Stored: the value whose name equals the text
// exactly, or `stored_other` for any other text.
struct ValueNames {
    std::vector<std::pair<uint8_t, std::string>> names;
    std::string shown_other;
    uint8_t stored_other = 0;
};

// How a row's text and its field convert into each other.
enum class FieldConv {
    kNone,          // the row has no field of the block (the window or the session fills it)
    kText,          // text up to the first NUL; stored as the text and one NUL
    kTimeServer,    // as kText, but a text that fills the whole field leaves the field unchanged
    kAddressBytes,  // four bytes in dotted decimal; stored through IPTextToBytes
    kMac,           // six bytes in the decimal MAC form (never stored)
    kNumber,        // the integer in decimal; stored: the integer of the whole text, low bits
    kBaud,          // 32-bit bit/s as "N bps"; stored: the integer before the first blank
    kBaudHundreds,  // 16-bit bit/s divided by 100 as "N bps"; stored: that integer divided by 100
    kNamed,         // one byte through ValueNames
    kProtocol,      // one byte indexing the protocol names
};

struct FieldBinding {
    FieldConv conv = FieldConv::kNone;
    size_t offset = 0;
    size_t width = 0;  // bytes of the field (numbers: 1, 2 or 4)
    // Texts: bytes the store may write, its NUL included (the field's width unless the NUL may land in
    // an unused byte after it).
    size_t room = 0;
    bool big_endian = false;
    const ValueNames* names = nullptr;
    // Texts that must not contain "|" (the device's field separator): the error text that refuses them.
    const char* bar_error = nullptr;
};

struct SheetRow {
    std::string caption;
    RowKind kind = RowKind::kText;
    std::vector<std::string> items;  // pick rows
    size_t max_length = 0;           // text rows: most bytes the editor takes; 0 for no limit
    int spin_max = 0;                // spin rows (the minimum is 0)
    bool visible = true;
    bool read_only = false;
    bool secret = false;    // the editor shows "*" for every character
    bool inactive = false;  // drawn in grey on pages that grey their inactive rows
    FieldBinding field;
    std::string text;
};

struct SheetPage {
    std::string caption;
    bool visible = true;
    bool greys_inactive = true;
    bool wide_captions = false;
    std::vector<SheetRow> rows;  // in display order, hidden rows last

    // The row of that caption; throws std::out_of_range when the page has none.
    SheetRow& Row(std::string_view caption);
    const SheetRow& Row(std::string_view caption) const;
};

// A row named by its page (index into the window's pages) and its caption.
struct RowName {
    size_t page;
    const char* caption;
};

class Sheet {
  public:
    std::vector<SheetPage> pages;

    SheetRow& Row(const RowName& name) { return pages.at(name.page).Row(name.caption); }
    const SheetRow& Row(const RowName& name) const { return pages.at(name.page).Row(name.caption); }
    const std::string& Text(const RowName& name) const { return Row(name).text; }

    // What an editor hands back: the text, cut to the row's maximum length as the editor cuts it.
    void SetText(size_t page, size_t row, std::string text);
    void SetText(const RowName& name, std::string text);
};

// The framework's box for a text that is no integer: "'<text>' is not a valid integer value".
std::string NotAnIntegerMessage(std::string_view text);

// The integer of a whole text: an optional sign and decimal digits, within the range of a 32-bit int.
std::optional<int32_t> IntegerOfText(std::string_view text);

// The row text of a field of the block.
std::string ShowField(const FieldBinding& field, std::span<const uint8_t> block,
                      const std::vector<std::string>& protocol_names);

// Stores a row text into its field. Nothing on success, else the text of the error box; a refused
// text leaves the block as it was.
std::optional<std::string> StoreField(const FieldBinding& field, std::string_view text,
                                      std::span<uint8_t> block,
                                      const std::vector<std::string>& protocol_names);

// Every row with a field takes the field's text; the others keep theirs.
void ShowRows(Sheet& sheet, std::span<const uint8_t> block, const std::vector<std::string>& protocol_names);
// Stores the named rows in this order, stopping at the first refusal, whose error text it returns.
std::optional<std::string> StoreRows(const Sheet& sheet, std::span<const RowName> order,
                                     std::span<uint8_t> block,
                                     const std::vector<std::string>& protocol_names);

// "Enable" or "Disable".
inline std::string EnableText(bool on) {
    return on ? "Enable" : "Disable";
}

// Throws std::invalid_argument unless the block holds `size` bytes.
void RequireBlock(std::span<const uint8_t> block, size_t size, const char* what);

// The non-empty protocol names in list order: the items of the "Protocol" rows.
std::vector<std::string> ProtocolItems(const std::vector<std::string>& protocol_names);

// ---- Building blocks of the two windows' row tables ---------------------------------------------

// Address texts: 15 characters and the NUL fill the block's 16-byte fields, so the editor takes no more.
inline constexpr size_t kAddressMaxLength = 15;
inline constexpr size_t kNameMaxLength = 9;  // device name, user name, password
inline constexpr size_t kUrlMaxLength = 30;
inline constexpr int kPortMax = 65535;

// The store refuses names with the device's field separator "|" in them, with these boxes.
inline constexpr const char* kDeviceNameBarError = "Devicename can't include charcter of '|'";
inline constexpr const char* kUserNameBarError = "Username can't include charcter of '|'";
inline constexpr const char* kPasswordBarError = "Password can't include character of '|'";

// Pick items shared by both windows.
extern const std::vector<std::string> kEnableDisableItems;  // "Enable", "Disable"
extern const std::vector<std::string> kDisableEnableItems;  // "Disable", "Enable"
extern const std::vector<std::string> kNetworkModeItems;
extern const std::vector<std::string> kWorkModeItems;
extern const std::vector<std::string> kBaudItems;  // "300 bps" to "256000 bps"
extern const std::vector<std::string> kParityItems;
extern const std::vector<std::string> kDataBitsItems;
extern const std::vector<std::string> kStopBitsItems;
extern const std::vector<std::string> kFlowControlItems;

// Value names shared by both windows.
extern const ValueNames kEnabledWhenOne;     // 1: "Enable", else "Disable"; stored "Enable": 1, else 0
extern const ValueNames kEnabledUnlessZero;  // 0: "Disable", else "Enable"; stored as above
extern const ValueNames kNetworkModeNames;   // 0: "Normal Mode", else "Busy Mode"; "Busy Mode": 1, else 0
extern const ValueNames kWorkModeNames;      // items by index, else the number; any other text 3
extern const ValueNames kParityNames;        // items by index, else the number; any other text 0
extern const ValueNames kStopBitsNames;      // "1 bit", "2 bit", else the number; any other text 1
extern const ValueNames kFlowControlNames;   // "NONE", "CTS/RTS", else the number; any other text 0

FieldBinding TextField(size_t offset, size_t width, const char* bar_error = nullptr);
FieldBinding NumberField(size_t offset, size_t width, bool big_endian = false);
FieldBinding NamedField(size_t offset, const ValueNames& names);
FieldBinding BoundField(FieldConv conv, size_t offset, size_t width = 0);

SheetRow TextRow(std::string caption, FieldBinding field, size_t max_length = 0);
SheetRow AddressRow(std::string caption, FieldBinding field, RowKind kind = RowKind::kMaskedText);
SheetRow PickRow(std::string caption, RowKind kind, std::vector<std::string> items, FieldBinding field);
SheetRow SpinRow(std::string caption, int max, FieldBinding field);
SheetRow CategoryRow(std::string caption);
SheetRow Hidden(SheetRow row);
SheetRow ReadOnly(SheetRow row);

}  // namespace torvane
