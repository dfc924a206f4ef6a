// TMainForm: the manager's main window. Toolbar, the device list ListView1, the log pane Memo1 and the
// status bar StatusBar1; its handlers carry the names of the commands and forward them to MainCommands,
// which holds the logic. The start-up sequence runs once, right after the window is first shown.
#pragma once

#include <QMainWindow>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/main_commands.h"
#include "core/update/update_engine.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolButton;
class QTreeView;

namespace torvane::ui {

class DeviceListModel;
class QtUiPort;
class TWaitForm;

inline constexpr const char* kMainCaption = "TorvaneV1.1";

struct MainFormDeps {
    DeviceLibrary& library;
    SharedDeviceTable& shared_table;
    FileWriter& files;
    std::filesystem::path program_folder;
    std::function<std::vector<LocalInterface>()> local_interfaces;
    std::function<void(std::chrono::milliseconds)> pause;  // empty: a real sleep
    // False when nobody is there to click (--report, --quit-after-startup): messages go to stderr.
    bool interactive = true;
    std::function<bool()> local_port_busy;  // empty: never
    ArpPort* arp = nullptr;                 // the device session's ARP entries
    // The workstation's IPv4 interface addresses, for "Search Interfaces" and the local search.
    std::function<std::vector<NetworkInterface>()> network_interfaces = {};
    // The library's broadcast address setting; without it no interface can be chosen.
    BroadcastSetting* broadcast = nullptr;
    // The firmware update's own channel to a device (the workstation's UDP socket; empty: the update
    // window reaches no device) and the protocol's waits.
    UpdateLinkOpener open_update_link{};
    UpdateTimings update_timings{};
};

inline constexpr const char* kAllModelsCaption = "All Device Models";
// The user's settings (QSettings) key that remembers the "All Device Models" menu item.
inline constexpr const char* kAllModelsSetting = "Device/AllDeviceModels";
inline constexpr const char* kSearchInterfacesItem = "Search Interfaces...";
// The user's settings key that remembers the interfaces chosen for the local search (a list of names;
// empty or absent: "All").
inline constexpr const char* kSearchInterfacesSetting = "Device/SearchInterfaces";

class TMainForm final : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 599;
    static constexpr int kMemoHeight = 89;

    explicit TMainForm(MainFormDeps deps, QWidget* parent = nullptr);
    ~TMainForm() override;  // FormDestroy

    MainCommands& commands() { return *commands_; }
    const std::vector<std::string>& ProtocolNames() const { return protocol_names_; }
    bool StartupDone() const { return startup_done_; }
    std::optional<size_t> SelectedRow() const;

    QTreeView* ListView1() const { return list_view_; }
    QPlainTextEdit* Memo1() const { return memo_; }
    QLabel* StatusPanel(int i) const { return status_panels_.at(static_cast<size_t>(i)); }
    TWaitForm* WaitForm() const { return wait_form_; }
    QMenu* PopupMenu() const { return popup_; }
    QToolButton* ToolButton(const QString& caption) const;  // by its caption; null when there is none
    QAction* AllModelsItem() const { return all_models_; }
    QAction* SearchInterfacesItem() const { return search_interfaces_; }

  signals:
    void FirstPainted();  // the window has been painted for the first time
    void StartupFinished();
    void RestoreRequested();  // after the window was restored and raised

  public slots:
    void FormShow();
    void BitBtn4Click();       // local search
    void ToolButton2Click();   // address-book search
    void BitBtn5Click();       // add
    void BitBtn6Click();       // del
    void BitBtn7Click();       // edit
    void N7Click();            // update
    void ListView1DblClick();  // device information
    void ToolButton7Click();   // about
    void BitBtn3Click();       // exit
    void RestoreRequest();
    void AllModelsToggled(bool on);  // "Device(&D)" > "All Device Models"
    void SearchInterfacesClick();    // "Device(&D)" > "Search Interfaces..."

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void FormCreate();
    void FormDestroy();
    void BuildCentralArea();
    void SizeColumns();
    void BuildToolBar();
    void BuildMenus();
    void BuildPopupMenu();
    void BuildStatusBar();
    void ShowDeviceCount(size_t count);

    std::filesystem::path program_folder_;
    DeviceLibrary& library_;
    FileWriter& files_;
    UpdateLinkOpener open_update_link_;
    UpdateTimings update_timings_;
    bool interactive_;
    std::vector<std::string> protocol_names_;
    TWaitForm* wait_form_ = nullptr;
    QTreeView* list_view_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* all_models_ = nullptr;
    QAction* search_interfaces_ = nullptr;
    std::function<std::vector<NetworkInterface>()> network_interfaces_;
    bool can_choose_interfaces_ = false;
    std::vector<QLabel*> status_panels_;
    std::map<QString, QToolButton*> tool_buttons_;
    std::unique_ptr<QtUiPort> ui_port_;
    std::unique_ptr<MainCommands> commands_;
    DeviceListModel* model_ = nullptr;
    bool show_seen_ = false;
    bool painted_ = false;
    bool startup_done_ = false;
};

}  // namespace torvane::ui
