// The address book: devices that the operator reaches by address rather than by broadcast. Its entries
// are the device list's "AddressBook" rows; they come from DevInfo.dat at start, are looked up one by
// one with vk_search_one, changed by the Add, Del and Edit commands, and written back at exit.
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/book_file.h"
#include "core/device_library.h"
#include "core/device_list.h"
#include "core/replace_file.h"
#include "core/ui_port.h"

namespace torvane {

inline constexpr const char* kAddDialogCaption = "Add IP to AddressBook";
inline constexpr const char* kEditDialogCaption = "Modify the ip address in book";
inline constexpr const char* kAddDialogInitialText = "0.0.0.0";

class AddressBook {
  public:
    AddressBook(DeviceList& list, DeviceLibrary& library, UiPort& ui, FileWriter& files,
                std::filesystem::path file);

    const std::filesystem::path& file() const { return file_; }

    // Appends an "Offline" row for every record of the file (a missing file is created empty). When
    // the file cannot be read (a directory, a link to nothing, no permission, a size beyond reason) or
    // a missing one cannot be created, shows the path and the reason in an error box, appends nothing
    // and returns false.
    bool LoadAddressBook();
    // Writes the "AddressBook" rows in list order. On an error shows it in an error box, leaves the
    // old file as it was and returns false.
    bool SaveAddressBook();
    // The "AddressBook" rows in list order, as the file holds them.
    std::vector<BookEntry> Entries() const;
    // For a file that could not be read, and so must not be replaced: writes the rows to a new file
    // beside it, "<file>.unsaved-YYYYMMDDHHMMSS" (local time `now`; "-2", "-3", ... appended when that
    // name is taken, for no file is ever replaced), and says so in a box that names both files. A
    // write error is shown in an error box; false then.
    bool SaveUnsavedCopy(std::time_t now);

    // Asks for an address, appends its row and looks the device up; silent when it does not answer.
    void Add();
    // Remove, or ask for a new address of, the selected row when it is an address-book row; nothing
    // for a local row or without a selection.
    void Del(std::optional<size_t> selected);
    void Edit(std::optional<size_t> selected);

    // Looks up every row (at start-up all rows are address-book rows), stepping the wait window per
    // row; a device that does not answer stays "Offline" and nothing is logged.
    void StartupPass();
    // The address-book search command: looks up every address-book row; one that does not answer
    // becomes "Offline" with its MAC, name and record cleared, and the log pane says so.
    void Search();

  private:
    bool Written(const std::function<void()>& write);  // false, after an error box, on a FileError
    // vk_search_one of the row's address into `record` (zeroed first).
    int SearchRow(size_t row, VkSearchRecord& record);
    void MarkFound(size_t row, const VkSearchRecord& record, bool with_version);
    void MarkMissing(size_t row);

    DeviceList& list_;
    DeviceLibrary& library_;
    UiPort& ui_;
    FileWriter& files_;
    std::filesystem::path file_;
};

}  // namespace torvane
