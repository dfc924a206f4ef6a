#include "core/address_book.h"

#include <cstring>
#include <vector>

#include "core/address_text.h"
#include "core/book_file.h"

namespace torvane {
namespace {

DeviceRow BookRow(const std::string& ip, const std::string& name) {
    DeviceRow row;
    row.caption = kOffline;
    row.image = kImageBookOffline;
    row.sub = {"", ip, name, "", kLocationAddressBook};
    return row;
}

}  // namespace

AddressBook::AddressBook(DeviceList& list, DeviceLibrary& library, UiPort& ui, FileWriter& files,
                         std::filesystem::path file)
    : list_(list), library_(library), ui_(ui), files_(files), file_(std::move(file)) {}

bool AddressBook::LoadAddressBook() {
    try {
        for (const BookEntry& e : ReadBookFile(file_))
            list_.Append(BookRow(e.ip, e.name));
        return true;
    } catch (const FileError& e) {
        ui_.ShowMessage(MessageKind::kError, e.what(), MessageButtons::kOk);
        return false;
    }
}

std::vector<BookEntry> AddressBook::Entries() const {
    std::vector<BookEntry> entries;
    for (size_t i = 0; i < list_.RowCount(); ++i) {
        const DeviceRow& r = list_.Row(i);
        if (r.is_address_book()) entries.push_back({r.sub[kSubIp], r.sub[kSubName]});
    }
    return entries;
}

bool AddressBook::SaveAddressBook() {
    return Written([this] { WriteBookFile(files_, file_, Entries()); });
}

// The copy is added beside the file and never replaces one: a copy of an earlier run (or of a
// second program closed in the same second) keeps its edits, and this one takes a "-2" name.
bool AddressBook::SaveUnsavedCopy(std::time_t now) {
    char stamp[16];
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", std::localtime(&now));
    const std::string stem = file_.filename().string() + ".unsaved-" + stamp;
    std::filesystem::path copy;
    if (!Written([&] { copy = files_.AddNewFile(file_.parent_path(), stem, "", EncodeBookFile(Entries())); }))
        return false;
    ui_.ShowMessage(MessageKind::kWarning,
                    "The address book could not be read from " + file_.string() +
                        " at start, so that file was left as it is. The address book of this run was "
                        "saved to " +
                        copy.string() + ".",
                    MessageButtons::kOk);
    return true;
}

bool AddressBook::Written(const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const FileError& e) {
        ui_.ShowMessage(MessageKind::kError, e.what(), MessageButtons::kOk);
        return false;
    }
}

void AddressBook::Add() {
    const AddressDialogResult answer = ui_.AskAddress(kAddDialogCaption, kAddDialogInitialText);
    if (!answer.accepted) return;
    const size_t row = list_.Append(BookRow(answer.text, ""));
    VkSearchRecord record;
    if (SearchRow(row, record) == VK_OK) MarkFound(row, record, true);
}

void AddressBook::Del(std::optional<size_t> selected) {
    if (!selected || *selected >= list_.RowCount() || !list_.Row(*selected).is_address_book()) return;
    list_.Remove(*selected);
}

void AddressBook::Edit(std::optional<size_t> selected) {
    if (!selected || *selected >= list_.RowCount() || !list_.Row(*selected).is_address_book()) return;
    const AddressDialogResult answer = ui_.AskAddress(kEditDialogCaption, list_.Row(*selected).sub[kSubIp]);
    if (!answer.accepted) return;
    list_.Update(*selected, [&](DeviceRow& r) { r.sub[kSubIp] = answer.text; });
}

// Both walks address rows by number and read the row count after every pause for window messages:
// a command the operator gave meanwhile may have removed rows.
void AddressBook::StartupPass() {
    for (size_t i = 0; i < list_.RowCount(); ++i) {
        ui_.ShowWaitWindow();
        ui_.ProcessMessages();
        if (i >= list_.RowCount()) break;
        VkSearchRecord record;
        if (SearchRow(i, record) == VK_OK) MarkFound(i, record, true);
        ui_.StepWait();
    }
}

void AddressBook::Search() {
    ui_.SetWaitRange(0, static_cast<int>(list_.RowCount()));
    ui_.SetWaitPosition(0);
    for (size_t i = 0; i < list_.RowCount(); ++i) {
        ui_.ShowWaitWindow();
        ui_.ProcessMessages();
        if (i >= list_.RowCount()) break;
        if (!list_.Row(i).is_address_book()) continue;
        VkSearchRecord record;
        const int result = SearchRow(i, record);
        if (result == VK_OK) {
            MarkFound(i, record, false);
        } else {
            MarkMissing(i);
            ui_.AppendLog("Can't finded the " + list_.Row(i).sub[kSubIp] + " device,error code is " +
                          std::to_string(result));
        }
        ui_.StepWait();
    }
    ui_.HideWaitWindow();
}

int AddressBook::SearchRow(size_t row, VkSearchRecord& record) {
    std::memset(&record, 0, sizeof record);
    const std::string ip = list_.Row(row).sub[kSubIp];
    return library_.vk_search_one(ip.c_str(), &record);
}

void AddressBook::MarkFound(size_t row, const VkSearchRecord& record, bool with_version) {
    list_.Update(row, [&](DeviceRow& r) {
        r.caption = kOnline;
        r.image = kImageBookOnline;
        r.param->DeviceRecord = RecordBytes(record);
        r.sub[kSubMac] = MacToText(record.mac);
        r.sub[kSubName] = FieldText(record.device_name);
        if (with_version) r.sub[kSubVersion] = FieldText(record.firmware_version);
    });
}

void AddressBook::MarkMissing(size_t row) {
    list_.Update(row, [](DeviceRow& r) {
        r.caption = kOffline;
        r.image = kImageBookOffline;
        r.param->DeviceRecord.fill(0);
        r.sub[kSubMac].clear();
        r.sub[kSubName].clear();
    });
}

}  // namespace torvane
