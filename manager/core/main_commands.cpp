#include "core/main_commands.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace torvane {

std::string LocalPortBusyHint() {
    return "The local search could not use local UDP port " + std::to_string(VK_LOCAL_PORT) +
           ": it is in use, another Torvane or vkctl may be running.";
}

std::string BroadcastAddressInUse() {
    const char* configured = std::getenv("VKCFG_BROADCAST");
    return configured && *configured ? configured : "255.255.255.255";
}

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
    : library_(library),
      ui_(ui),
      book_(list_, library, ui, files, std::move(book_file)),
      search_(list_, library, shared_table),
      seams_(std::move(seams)) {
    if (!seams_.pause) seams_.pause = [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); };
    if (!seams_.local_interfaces) seams_.local_interfaces = [] { return std::vector<LocalInterface>(); };
    if (!seams_.show_device_count) seams_.show_device_count = [](size_t) {};
    if (!seams_.local_port_busy) seams_.local_port_busy = [] { return false; };
    if (!seams_.network_interfaces)
        seams_.network_interfaces = [] { return std::vector<NetworkInterface>(); };
}

bool MainCommands::RunStartupSequence() {
    BusyScope scope(busy_);
    if (!scope.entered()) return false;
    // A book that cannot be read stays empty (it is not written back at exit, only a changed copy of
    // it beside it); the start-up goes on.
    book_loaded_ = book_.LoadAddressBook();
    book_load_tried_ = true;
    book_as_loaded_ = book_.Entries();

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
    ChooseRoutes();
    std::array<PassOutcome, 3> outcomes;
    for (size_t k = 0; k < positions.size(); ++k) {
        if (k > 0) seams_.pause(kPassPause);
        ui_.SetWaitPosition(positions[k]);
        outcomes[k] = search_.LocalSearchPass();
    }
    ReportSilentSearch(outcomes);
}

// The chosen interfaces as they are now; one that is not up is reported and left out. With none left
// the search takes the library's own broadcast address.
void MainCommands::ChooseRoutes() {
    if (!seams_.broadcast) return;
    RouteChoice choice;
    if (!search_interfaces_.empty())
        choice = RoutesThroughNamed(seams_.network_interfaces(), search_interfaces_);
    for (const auto& name : choice.missing)
        ui_.AppendLog(InterfaceNotUpHint(name));
    search_.SetRoutes(std::move(choice.routes), *seams_.broadcast);
}

// The passes themselves never report; a search that heard nothing at all would otherwise leave the
// operator with an empty list and no clue. A search through chosen interfaces names the addresses it
// used and each interface through which nothing answered.
void MainCommands::ReportSilentSearch(const std::array<PassOutcome, 3>& outcomes) {
    const std::vector<SearchRoute>& routes = search_.Routes();
    const bool chosen =
        std::any_of(routes.begin(), routes.end(), [](const SearchRoute& r) { return r.through_interface(); });
    if (chosen) ui_.AppendLog(SearchRoutesLine(routes, BroadcastAddressInUse()));
    const bool heard =
        std::any_of(outcomes.begin(), outcomes.end(), [](const PassOutcome& o) { return o.answers > 0; });
    const bool network_error = std::any_of(outcomes.begin(), outcomes.end(), [](const PassOutcome& o) {
        return o.search_result == VK_ERR_NETWORK;
    });
    if (!heard && network_error && seams_.local_port_busy()) {
        ui_.AppendLog(LocalPortBusyHint());
    } else if (!chosen) {
        if (!heard) ui_.AppendLog(NoDeviceAnsweredHint(BroadcastAddressInUse()));
    } else {
        std::vector<RouteTally> tallies;
        for (size_t r = 0; r < routes.size(); ++r) {
            size_t answers = 0;
            for (const auto& o : outcomes)
                answers += r < o.route_answers.size() ? o.route_answers[r] : 0;
            tallies.push_back({routes[r], answers});
        }
        for (const auto& hint : SilentRouteHints(tallies, BroadcastAddressInUse()))
            ui_.AppendLog(hint);
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

namespace {

// A workstation without ARP entries to make (tests, and programs that do not give one).
class NoArp final : public ArpPort {
  public:
    void SetArpEntry(const std::string&, const std::string&) override {}
    void DeleteArpEntries(const std::string&) override {}
};

}  // namespace

void MainCommands::DeviceInformation(std::optional<size_t> selected,
                                     const std::vector<std::string>& protocol_names) {
    BusyScope scope(busy_);
    if (!scope.entered() || !selected || *selected >= list_.RowCount()) return;
    NoArp no_arp;
    ParamSession session(library_, ui_, seams_.arp ? *seams_.arp : no_arp, protocol_names,
                         {seams_.pause, [this] { search_.LocalSearchPass(); }});
    session.ListView1DblClick(&list_.Row(*selected));
}

std::optional<UpdateTarget> MainCommands::CheckUpdateCommand(std::optional<size_t> selected) {
    if (busy_ || !selected || *selected >= list_.RowCount()) return std::nullopt;
    const DeviceRow& row = list_.Row(*selected);
    if (row.image == kImageBookOffline) {
        ui_.ShowMessage(MessageKind::kInformation, kOfflineUpdateMessage, MessageButtons::kYes);
        return std::nullopt;
    }
    return UpdateTarget{row.param->model_code(), row.sub[kSubIp], MacOfRecord(row.param->DeviceRecord)};
}

bool MainCommands::SaveAtExit() {
    if (book_loaded_) return book_.SaveAddressBook();
    if (book_load_tried_ && book_.Entries() != book_as_loaded_) book_.SaveUnsavedCopy(std::time(nullptr));
    return false;
}

}  // namespace torvane
