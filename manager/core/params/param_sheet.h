// The rows of TParaInfoForm, the parameter window of a standard device (model codes 1, 0x10, 0x20):
// pages "System", "Device", "Network", "Interface" and "Serial" over the single-port VkParamRecord in
// the session's buffer. Shows the block in the rows, checks addresses after each edit, stores the rows
// back on "Modity" and resets them on "Default".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/device_record.h"
#include "core/params/param_sheet_rows.h"

namespace torvane {

inline constexpr const char* kParaInfoCaption = "Setting";

// Messages of the address check.
inline constexpr const char* kIpFormatError = "IP format error!";
inline constexpr const char* kNetmaskFormatError = "Netmask format error!";
inline constexpr const char* kGatewayFormatError = "Gateway ip format error!";
inline constexpr const char* kFirstDnsFormatError = "First DNS IP format error!";
inline constexpr const char* kSecondDnsFormatError = "Secondd DNS IP format error!";
inline constexpr const char* kPeerIpFormatError = "Peer IP foramt error!";

class ParamSheet {
  public:
    enum Page : size_t { kSystem, kDevice, kNetwork, kInterface, kSerial };

    // The window's creation: the rows, and the "Protocol" items from the protocol names.
    explicit ParamSheet(std::vector<std::string> protocol_names);

    Sheet& sheet() { return sheet_; }
    const Sheet& sheet() const { return sheet_; }
    const std::string& Text(Page page, const char* caption) const { return sheet_.Text({page, caption}); }
    const SheetRow& Row(Page page, const char* caption) const { return sheet_.Row({page, caption}); }

    // The session fills the page "System" from the row's search record and the block read.
    void FillSystemPage(const DeviceRecordBytes& record, std::span<const uint8_t> block);
    // The window is shown: every other row from the block, and the inactive marks.
    void Show(std::span<const uint8_t> block);
    // After an edit of a row on `page`: the texts of the error boxes to show, in order (the text stays
    // in the row), and the inactive marks set from the rows' current texts.
    std::vector<std::string> AfterEdit(size_t page);
    // A page was brought to the front.
    void PageShown(size_t page);

    // "Modity": stores the rows into the block in their store order. Nothing when every row was stored
    // (Modified is 1 then); else the text of the error box that stopped the store, the rows stored
    // before it keeping their new values in the block.
    std::optional<std::string> Modity(std::span<uint8_t> block);
    void Cancel() { Modified = 0; }
    // "Default": the rows' default texts; the block and the marks stay as they are.
    void Default();

    int Modified = 0;

  private:
    void SetNetworkMarks(bool dhcp_on);
    void SetInterfaceMarks();

    std::vector<std::string> protocol_names_;
    Sheet sheet_;
};

}  // namespace torvane
