// What opening a device from the device list does (a double click, or "Device Information"): a
// DeviceSession logs in (asking for a user name and password when the device refuses the empty ones),
// reads the parameter block and logs out; the block is shown in the parameter window that fits the
// device, and when the operator confirmed changes there the session logs in again, writes the block
// back, logs out, and the result goes to the log pane; after a successful write the list is refreshed
// by one search pass.
//
// A standard device is read with a temporary ARP entry that ties the library's broadcast address to the
// device's MAC address, so that what the library broadcasts reaches the device by its MAC; the entry
// is removed again on every way out of the read.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/device_library.h"
#include "core/device_list.h"
#include "core/device_session.h"
#include "core/ui_port.h"

namespace torvane {

inline constexpr const char* kDeviceOfflineMessage =
    "Device is Offline,Unable to get the information of device.";
inline constexpr const char* kLoginRefusedMessage = "UserName or Password error!";
inline constexpr const char* kDeviceNotFoundMessage =
    "The Device can't finded,Please Search again.Error code is ";
inline constexpr std::chrono::milliseconds kRefreshPause{500};

// The workstation's ARP table as the session uses it. Failures are the implementation's to swallow:
// the session goes on without the entry.
class ArpPort {
  public:
    virtual ~ArpPort() = default;
    virtual void SetArpEntry(const std::string& ip_text, const std::string& arp_mac_text) = 0;
    virtual void DeleteArpEntries(const std::string& ip_text) = 0;
};

// The address that the library broadcasts to: VKCFG_BROADCAST when it is set and not empty, else
// 255.255.255.255. Nothing when VKCFG_BROADCAST holds no dotted address (the library then sends nothing).
std::optional<std::string> LibraryBroadcastAddress();

struct ParamSessionSeams {
    std::function<void(std::chrono::milliseconds)> pause;  // empty: a real sleep
    std::function<void()> local_search_pass;               // refreshes the device list
};

class ParamSession {
  public:
    ParamSession(DeviceLibrary& library, UiPort& ui, ArpPort& arp,
                 const std::vector<std::string>& protocol_names, ParamSessionSeams seams);

    // ListView1DblClick: the session of the selected row (nothing without one). The row's texts and
    // record are copied first: the list may change while the session runs.
    void ListView1DblClick(const DeviceRow* selected);

  private:
    struct Target;
    void ShowDeviceParam(Target& target);
    void ShowDeviceParamEx(Target& target);
    void WriteBack(Target& target);
    void ReportWrite(const Target& target, int result);

    DeviceLibrary& library_;
    UiPort& ui_;
    ArpPort& arp_;
    const std::vector<std::string>& protocol_names_;
    ParamSessionSeams seams_;
};

}  // namespace torvane
