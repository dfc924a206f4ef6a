// The main window's logic without widgets: the start-up sequence that fills the device list when the
// window is first shown, the local search, address-book and update commands, and the save at exit.
// The window forwards its handlers (FormShow, BitBtn4Click, ...) here and shows what the list holds.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/address_book.h"
#include "core/book_file.h"
#include "core/device_library.h"
#include "core/device_list.h"
#include "core/discovery_hints.h"
#include "core/local_search.h"
#include "core/params/param_session.h"
#include "core/shared_table.h"
#include "core/subnet.h"
#include "core/ui_port.h"
#include "core/update/update_window.h"

namespace torvane {

inline constexpr const char* kWaitTextAddressBook = "Search Device in the AddressBook...";
inline constexpr const char* kWaitTextLocalNetwork = "Search Device In Local Network...";
inline constexpr const char* kOfflineUpdateMessage =
    "The device is offline,Firmware Updating firmware is abort!";
inline constexpr std::chrono::milliseconds kPassPause{100};

// The log pane's line after a local search whose port another program holds.
std::string LocalPortBusyHint();
// The address the library broadcasts to: VKCFG_BROADCAST when set, else 255.255.255.255.
std::string BroadcastAddressInUse();

// What the logic needs from the workstation and the window besides the UI port.
struct MainSeams {
    // Blocks the window thread between search passes (a real sleep; tests record it instead).
    std::function<void(std::chrono::milliseconds)> pause;
    // The workstation's interfaces, asked once during the start-up sequence.
    std::function<std::vector<LocalInterface>()> local_interfaces;
    // Shows the number of rows in the status bar.
    std::function<void(size_t)> show_device_count;
    // Whether another program holds the library's local UDP port (asked after a search failed).
    std::function<bool()> local_port_busy;
    // The workstation's ARP table, for the device session's temporary entry (null: no entries).
    ArpPort* arp = nullptr;
    // The workstation's IPv4 interface addresses, asked before each local search through chosen
    // interfaces (their addresses may have changed since they were chosen).
    std::function<std::vector<NetworkInterface>()> network_interfaces = {};
    // The library's broadcast address setting, pointed at each chosen interface in turn (null: the
    // local search uses the library's own broadcast address only).
    BroadcastSetting* broadcast = nullptr;
};

class MainCommands {
  public:
    MainCommands(DeviceLibrary& library, SharedDeviceTable& shared_table, UiPort& ui, FileWriter& files,
                 std::filesystem::path book_file, MainSeams seams);

    DeviceList& list() { return list_; }
    const DeviceList& list() const { return list_; }
    LocalSearch& local_search() { return search_; }

    // The start-up sequence: load the address book, look its devices up, three local search passes.
    // An address book that cannot be read is reported and left empty, and the sequence goes on. False
    // only when another command is running.
    bool RunStartupSequence();
    // Removes the "Local" rows, runs three passes, sorts by MAC text and shows the count.
    void RunLocalSearchCommand();
    // The interfaces (by name) through whose directed broadcast addresses the local search broadcasts,
    // one after another; none: the library's own broadcast address, as before any was chosen.
    void SetSearchInterfaces(std::vector<std::string> names) { search_interfaces_ = std::move(names); }
    const std::vector<std::string>& SearchInterfaces() const { return search_interfaces_; }
    void RunBookSearchCommand();
    void AddToBook();
    void DeleteFromBook(std::optional<size_t> selected);
    void EditBookEntry(std::optional<size_t> selected);
    // ListView1DblClick and "Device Information": the device session of the selected row, with the
    // protocol names that the parameter windows offer.
    void DeviceInformation(std::optional<size_t> selected, const std::vector<std::string>& protocol_names);
    // The update command's check: nothing without a selection; the offline message for a row that never
    // answered (image 0); otherwise what the update window needs.
    std::optional<UpdateTarget> CheckUpdateCommand(std::optional<size_t> selected);

    // Writes the address book at exit. When the book was not read at start (a file that could not be
    // read, or no start-up sequence), what is at the path is left as it is rather than replaced; false
    // then, or on a write error. When the book could not be read and the address-book rows differ from
    // what was read (Add, Edit, Del), they are written to a new file beside it
    // (AddressBook::SaveUnsavedCopy) rather than lost.
    bool SaveAtExit();

    // True while a command runs its searches: window messages are processed inside them, and a command
    // the operator gives meanwhile is ignored rather than run inside the running one.
    bool busy() const { return busy_; }

  private:
    class BusyScope;
    // Three passes with a pause between two of them; the log pane's hint when none heard a device.
    void ThreePasses(const std::array<int, 3>& positions);
    void ReportSilentSearch(const std::array<PassOutcome, 3>& outcomes);
    void ChooseRoutes();

    DeviceList list_;
    DeviceLibrary& library_;
    UiPort& ui_;
    AddressBook book_;
    LocalSearch search_;
    MainSeams seams_;
    bool book_loaded_ = false;
    bool book_load_tried_ = false;
    std::vector<BookEntry> book_as_loaded_;
    bool busy_ = false;
    std::vector<std::string> search_interfaces_;
};

}  // namespace torvane
