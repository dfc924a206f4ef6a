// The rows of TParaInfoExForm, the parameter window of an extended (time) device, model code 0x83:
// pages "System Information", "Device Information", "Network", "NTP" and "Channel-0" over the device's
// 438-byte parameter block in the session's buffer. Shows the block in the rows, stores the rows back
// on "Modify" and resets them on "Default". Bytes that no row stores go back as they were read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/device_record.h"
#include "core/params/param_sheet_rows.h"

namespace torvane {

inline constexpr const char* kExDeviceType = "VMS450";
inline constexpr const char* kExCaptionPrefix = "Setting - ";

class ExParamSheet {
  public:
    // Tab order; the six further channel pages follow "Channel-0" and stay hidden.
    enum Page : size_t { kSystemInformation, kDeviceInformation, kNetwork, kNtp, kChannel0 };
    static constexpr size_t kChannelPages = 8;  // channel entry 0 is "NTP", entry 1 "Channel-0"

    // The window's creation: the rows, and the "Protocol" items of every channel page.
    explicit ExParamSheet(std::vector<std::string> protocol_names);

    Sheet& sheet() { return sheet_; }
    const Sheet& sheet() const { return sheet_; }
    const std::string& Text(size_t page, const char* caption) const { return sheet_.Text({page, caption}); }
    const SheetRow& Row(size_t page, const char* caption) const { return sheet_.Row({page, caption}); }
    // The page of channel entry n (0: "NTP", 1: "Channel-0", 2 to 7: the hidden pages).
    static size_t ChannelPage(size_t entry);

    // The session fills the page "System Information" from the row's extended search record and the block.
    void FillSystemInformation(const DeviceRecordBytes& record, std::span<const uint8_t> block);
    // The window is shown: every other row from the block; only the pages "NTP" and "Channel-0" of the
    // channel pages are visible.
    void Show(std::span<const uint8_t> block);
    // "Setting - " and the device type.
    std::string Caption() const;

    // "Modify": stores the rows into the block in their store order. Nothing when every row was stored
    // (Modified is 1 then); else the text of the error box that stopped the store.
    std::optional<std::string> Modify(std::span<uint8_t> block);
    void Cancel() { Modified = 0; }
    void Default();

    int Modified = 0;

  private:
    std::vector<std::string> protocol_names_;
    Sheet sheet_;
};

}  // namespace torvane
