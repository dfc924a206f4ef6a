#include "ui/main_form.h"

#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QTreeView>

#include "core/book_file.h"
#include "core/protocol_names.h"
#include "ui/about_box.h"
#include "ui/device_list_model.h"
#include "ui/paint_now.h"
#include "ui/qt_ui_port.h"
#include "ui/search_interfaces_dialog.h"
#include "ui/update/form_update.h"
#include "ui/wait_form.h"

namespace torvane::ui {

TMainForm::TMainForm(MainFormDeps deps, QWidget* parent)
    : QMainWindow(parent),
      program_folder_(std::move(deps.program_folder)),
      library_(deps.library),
      files_(deps.files),
      open_update_link_(std::move(deps.open_update_link)),
      update_timings_(deps.update_timings),
      interactive_(deps.interactive),
      network_interfaces_(deps.network_interfaces),
      can_choose_interfaces_(deps.broadcast != nullptr) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromLatin1(kMainCaption));
    resize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    wait_form_ = new TWaitForm(this);
    BuildCentralArea();
    ui_port_ = std::make_unique<QtUiPort>(this, wait_form_, memo_, deps.interactive);
    commands_ = std::make_unique<MainCommands>(
        deps.library, deps.shared_table, *ui_port_, deps.files, program_folder_ / kBookFileName,
        MainSeams{std::move(deps.pause), std::move(deps.local_interfaces),
                  [this](size_t n) { ShowDeviceCount(n); }, std::move(deps.local_port_busy), deps.arp,
                  std::move(deps.network_interfaces), deps.broadcast});
    model_ = new DeviceListModel(commands_->list(), this);
    list_view_->setModel(model_);
    SizeColumns();
    BuildToolBar();
    BuildMenus();
    BuildPopupMenu();
    BuildStatusBar();
    FormCreate();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::FormCreate() {
    ConfiguredProtocolNames configured = LoadProtocolNames(program_folder_ / kConfigFileName);
    protocol_names_ = std::move(configured.names);
    if (!configured.problem.empty())
        ui_port_->ShowMessage(MessageKind::kError, configured.problem, MessageButtons::kOk);
}

void TMainForm::FormDestroy() {
    commands_->SaveAtExit();
    list_view_->setModel(nullptr);
    delete model_;  // stops observing the list before the list goes
    model_ = nullptr;
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (show_seen_) return;
    show_seen_ = true;
    // After the window is on the screen, so that the wait window appears over it.
    QMetaObject::invokeMethod(this, &TMainForm::FormShow, Qt::QueuedConnection);
}

void TMainForm::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    emit FirstPainted();
}

void TMainForm::FormShow() {
    PaintVisibleWindows();  // the window is on the screen, painted, before the searches block
    commands_->RunStartupSequence();
    startup_done_ = true;
    emit StartupFinished();
}

std::optional<size_t> TMainForm::SelectedRow() const {
    const QModelIndexList rows = list_view_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return static_cast<size_t>(rows.first().row());
}

void TMainForm::ShowDeviceCount(size_t count) {
    status_panels_[1]->setText(QString::number(count));
}

void TMainForm::BitBtn4Click() {
    commands_->RunLocalSearchCommand();
}

void TMainForm::ToolButton2Click() {
    commands_->RunBookSearchCommand();
}

void TMainForm::BitBtn5Click() {
    commands_->AddToBook();
}

void TMainForm::BitBtn6Click() {
    commands_->DeleteFromBook(SelectedRow());
}

void TMainForm::BitBtn7Click() {
    commands_->EditBookEntry(SelectedRow());
}

void TMainForm::N7Click() {
    const auto target = commands_->CheckUpdateCommand(SelectedRow());
    if (!target) return;
    TFormUpdate FormUpdate(
        UpdateWindowDeps{library_, files_, open_update_link_, program_folder_, update_timings_, interactive_},
        *target, this);
    FormUpdate.exec();
}

void TMainForm::ListView1DblClick() {
    commands_->DeviceInformation(SelectedRow(), protocol_names_);
}

void TMainForm::ToolButton7Click() {
    TAboutBox AboutBox(program_folder_, this);
    AboutBox.exec();
}

void TMainForm::BitBtn3Click() {
    close();
}

void TMainForm::AllModelsToggled(bool on) {
    commands_->local_search().SetAllModels(on);
    QSettings().setValue(QString::fromLatin1(kAllModelsSetting), on);
}

void TMainForm::RestoreRequest() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    emit RestoreRequested();
}

// The choice holds for the searches from now on and in later runs.
void TMainForm::SearchInterfacesClick() {
    if (commands_->busy()) return;
    SearchInterfacesDialog dialog(
        network_interfaces_ ? network_interfaces_() : std::vector<NetworkInterface>(),
        commands_->SearchInterfaces(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::vector<std::string> names = dialog.Chosen();
    commands_->SetSearchInterfaces(names);
    QStringList remembered;
    for (const auto& name : names)
        remembered << QString::fromStdString(name);
    QSettings().setValue(QString::fromLatin1(kSearchInterfacesSetting), remembered);
}

}  // namespace torvane::ui
