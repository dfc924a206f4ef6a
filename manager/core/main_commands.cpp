#include "core/main_commands.h"

#include <thread>

namespace torvane {

class MainCommands::BusyScope {
  public:
    explicit BusyScope(bool& busy) : busy_(busy), entered_(!busy) { busy_ = true; }
    ~BusyScope() {
        if (entered_) busy_ = false;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    bool entered() const { return entered_; }

  private:
    bool& busy_;
    bool entered_;
};

MainCommands::MainCommands(DeviceLibrary& library, SharedDeviceTable& shared_table, UiPort& ui,
                           FileWriter& files, std::filesystem::path book_file, MainSeams seams)
    : ui_(ui),
      book_(list_, library, ui, files, std::move(book_file)),
      search_(list_, library, shared_table),
      seams_(std::move(seams)) {
    if (!seams_.pause) seams_.pause = [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); };
    if (!seams_.local_interfaces) seams_.local_interfaces = [] { return std::vector<LocalInterface>(); };
    if (!seams_.show_device_count) seams_.show_device_count = [](size_t) {};
}

bool MainCommands::RunStartupSequence() {
    BusyScope scope(busy_);
    if (!scope.entered()) return false;
    // A book that cannot be read stays empty (and is not written back at exit); the start-up goes on.
    book_loaded_ = book_.LoadAddressBook();

    ui_.ShowWaitWindow();
    ui_.SetWaitRange(0, static_cast<int>(list_.RowCount()));
    ui_.SetWaitPosition(0);
    ui_.SetWaitText(kWaitTextAddressBook);
    book_.StartupPass();

    seams_.pause(kPassPause);
    ui_.SetWaitText(kWaitTextLocalNetwork);
    ui_.ProcessMessages();
    ui_.SetWaitRange(0, 3);
    ui_.SetWaitPosition(0);

    search_.SetLocalInterfaces(seams_.local_interfaces());
    ThreePasses({1, 2, 3});

    seams_.show_device_count(list_.RowCount());
    ui_.HideWaitWindow();
    return true;
}

void MainCommands::RunLocalSearchCommand() {
    BusyScope scope(busy_);
    if (!scope.entered()) return;
    for (size_t i = list_.RowCount(); i-- > 0;) {
        if (list_.Row(i).is_local()) list_.Remove(i);
    }
    ui_.ShowWaitWindow();
    ui_.SetWaitRange(0, 100);
    ui_.SetWaitPosition(0);
    ui_.ProcessMessages();

    ThreePasses({33, 66, 100});
    ui_.HideWaitWindow();
    list_.SetSortColumn(1);
    list_.Sort();
    seams_.show_device_count(list_.RowCount());
}

// Position, pass, pause; position, pass, pause; position, pass.
void MainCommands::ThreePasses(const std::array<int, 3>& positions) {
    for (size_t k = 0; k < positions.size(); ++k) {
        if (k > 0) seams_.pause(kPassPause);
        ui_.SetWaitPosition(positions[k]);
        search_.LocalSearchPass();
    }
}

void MainCommands::RunBookSearchCommand() {
    BusyScope scope(busy_);
    if (scope.entered()) book_.Search();
}

void MainCommands::AddToBook() {
    BusyScope scope(busy_);
    if (scope.entered()) book_.Add();
}

void MainCommands::DeleteFromBook(std::optional<size_t> selected) {
    if (!busy_) book_.Del(selected);
}

void MainCommands::EditBookEntry(std::optional<size_t> selected) {
    BusyScope scope(busy_);
    if (scope.entered()) book_.Edit(selected);
}

std::optional<UpdateTarget> MainCommands::CheckUpdateCommand(std::optional<size_t> selected) {
    if (busy_ || !selected || *selected >= list_.RowCount()) return std::nullopt;
    const DeviceRow& row = list_.Row(*selected);
    if (row.image == kImageBookOffline) {
        ui_.ShowMessage(MessageKind::kInformation, kOfflineUpdateMessage, MessageButtons::kYes);
        return std::nullopt;
    }
    return UpdateTarget{row.param->model_code(), row.sub[kSubIp]};
}

bool MainCommands::SaveAtExit() {
    return book_loaded_ && book_.SaveAddressBook();
}

}  // namespace torvane
