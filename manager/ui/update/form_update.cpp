#include "ui/update/form_update.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <optional>

#include "ui/paint_now.h"
#include "ui/params/form_login.h"
#include "ui/qt_ui_port.h"
#include "ui/text_codec.h"

namespace torvane::ui {
namespace {

constexpr int kHeaderBoxChars = 16;  // the version, date-time and minimum version fields

// A channel that reaches nothing: what the window talks through when the program gave it none.
class NoLink final : public UpdateLink {
  public:
    bool Send(std::span<const uint8_t>) override { return false; }
    std::optional<std::vector<uint8_t>> Receive(int, size_t) override { return std::nullopt; }
};

UpdateLinkOpener LinkOrNone(UpdateLinkOpener opener) {
    if (opener) return opener;
    return [](const std::string&) -> std::unique_ptr<UpdateLink> { return std::make_unique<NoLink>(); };
}

QString PathText(const std::string& path) {
    return QString::fromStdString(path);
}

std::string PathOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

// The modal file dialog `name`, started in the folder of the box's path; the chosen file's path, or
// nothing when the operator cancelled.
std::optional<QString> ChooseFile(QWidget* owner, const char* name, const QLineEdit* box,
                                  const QString& filter) {
    QFileDialog dialog(owner);
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!filter.isEmpty()) dialog.setNameFilter(filter);
    const std::string folder = DialogFolder(PathOf(box));
    if (!folder.empty()) dialog.setDirectory(PathText(folder));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

QLineEdit* ReadOnlyBox(QWidget* parent, int max_chars) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    if (max_chars > 0) box->setMaxLength(max_chars);
    return box;
}

QLabel* Caption(QWidget* parent, const char* text, const QRect& where) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(where);
    return label;
}

QToolButton* FolderButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
    return button;
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

TFormUpdate::TFormUpdate(UpdateWindowDeps deps, const UpdateTarget& target, QWidget* owner)
    : QDialog(owner, kFixedDialogFlags) {
    setObjectName(QStringLiteral("FormUpdate"));
    setWindowTitle(QString::fromLatin1(kUpdateCaption));
    setFixedSize(kWidth, kHeight);
    setModal(true);
    port_ = std::make_unique<QtUiPort>(this, nullptr, nullptr, deps.interactive);
    UpdateEnvironment env{deps.library,
                          *port_,
                          deps.files,
                          LinkOrNone(std::move(deps.open_link)),
                          deps.program_folder,
                          deps.program_folder / kBackupFolder,
                          deps.timings,
                          LocalTimeNow,
                          SleepFor};
    logic_ = std::make_unique<UpdateWindow>(std::move(env), target);
    BuildFileGroups();
    BuildInformationGroup();
    BuildTargetGroup();
    BuildOptionGroup();
    edit5_->setText(DisplayText(target.ip));
    button1_->setDefault(true);
}

TFormUpdate::~TFormUpdate() = default;

void TFormUpdate::BuildFileGroups() {
    firmware_group_ = new QGroupBox(QStringLiteral("Firmware File"), this);
    firmware_group_->setGeometry(8, 8, 361, 54);
    edit2_ = Named(new QLineEdit(firmware_group_), "Edit2");
    edit2_->setGeometry(10, 22, 305, 24);
    bitbtn2_ = Named(FolderButton(firmware_group_), "BitBtn2");
    bitbtn2_->setGeometry(321, 21, 30, 26);
    connect(bitbtn2_, &QToolButton::clicked, this, &TFormUpdate::BitBtn2Click);

    web_group_ = new QGroupBox(QStringLiteral("WEB File"), this);
    web_group_->setGeometry(8, 68, 361, 54);
    edit6_ = Named(new QLineEdit(web_group_), "Edit6");
    edit6_->setGeometry(10, 22, 305, 24);
    edit6_->setEnabled(false);
    bitbtn1_ = Named(FolderButton(web_group_), "BitBtn1");
    bitbtn1_->setGeometry(321, 21, 30, 26);
    bitbtn1_->setEnabled(false);
    connect(bitbtn1_, &QToolButton::clicked, this, &TFormUpdate::BitBtn1Click);
}

void TFormUpdate::BuildInformationGroup() {
    auto* group = new QGroupBox(QStringLiteral("Firmware File Information"), this);
    group->setGeometry(8, 128, 361, 281);
    Caption(group, "Version:", {10, 26, 74, 20});
    edit3_ = Named(ReadOnlyBox(group, kHeaderBoxChars), "Edit3");
    edit3_->setGeometry(86, 24, 92, 24);
    Caption(group, "Target Ver.", {188, 26, 70, 20});
    edit7_ = Named(ReadOnlyBox(group, kHeaderBoxChars), "Edit7");
    edit7_->setGeometry(259, 24, 92, 24);
    Caption(group, "DateTime:", {10, 58, 74, 20});
    edit4_ = Named(ReadOnlyBox(group, kHeaderBoxChars), "Edit4");
    edit4_->setGeometry(86, 56, 265, 24);
    Caption(group, "Target Dev.", {10, 90, 74, 20});
    edit1_ = Named(ReadOnlyBox(group, 0), "Edit1");
    edit1_->setGeometry(86, 88, 265, 24);
    Caption(group, "descriptions", {10, 120, 120, 20});
    memo1_ = Named(new QPlainTextEdit(group), "Memo1");
    memo1_->setGeometry(10, 142, 341, 129);
    memo1_->setReadOnly(true);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TFormUpdate::BuildTargetGroup() {
    auto* group = new QGroupBox(QStringLiteral("Target Device"), this);
    group->setGeometry(377, 8, 180, 150);
    // Each answer under its caption: the group is too narrow for "Unknown Version" beside one.
    Caption(group, "Device Type", {10, 22, 160, 18});
    label12_ = Named(new QLabel(group), "Label12");
    label12_->setGeometry(22, 40, 150, 18);
    Caption(group, "Version", {10, 60, 160, 18});
    label10_ = Named(new QLabel(group), "Label10");
    label10_->setGeometry(22, 78, 150, 18);
    Caption(group, "IP Address", {10, 98, 72, 18});
    edit5_ = Named(new QLineEdit(group), "Edit5");
    edit5_->setGeometry(10, 118, 160, 24);
}

void TFormUpdate::BuildOptionGroup() {
    option_group_ = new QGroupBox(QStringLiteral("Option"), this);
    option_group_->setGeometry(377, 164, 180, 245);
    checkbox1_ = Named(new QCheckBox(QStringLiteral("Firmware"), option_group_), "CheckBox1");
    checkbox1_->setGeometry(20, 30, 140, 22);
    checkbox1_->setChecked(true);
    checkbox2_ = Named(new QCheckBox(QStringLiteral("WEB"), option_group_), "CheckBox2");
    checkbox2_->setGeometry(20, 62, 140, 22);
    button1_ = Named(new QPushButton(QStringLiteral("Updating"), option_group_), "Button1");
    button1_->setGeometry(30, 120, 120, 32);
    button2_ = Named(new QPushButton(QStringLiteral("Quit"), option_group_), "Button2");
    button2_->setGeometry(30, 176, 120, 32);
    connect(checkbox1_, &QCheckBox::toggled, this, &TFormUpdate::CheckBox1Click);
    connect(checkbox2_, &QCheckBox::toggled, this, &TFormUpdate::CheckBox2Click);
    connect(button1_, &QPushButton::clicked, this, &TFormUpdate::Button1Click);
    connect(button2_, &QPushButton::clicked, this, &TFormUpdate::Button2Click);
}

bool TFormUpdate::Running() const {
    return logic_->running();
}

void TFormUpdate::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // After the window is on the screen: the identify request blocks for up to a second.
    QMetaObject::invokeMethod(this, &TFormUpdate::FormShow, Qt::QueuedConnection);
}

void TFormUpdate::FormShow() {
    PaintVisibleWindows();
    const WindowOpening opening = logic_->FormShow(PathOf(edit5_));
    if (opening.paths) {
        edit2_->setText(PathText(opening.paths->firmware));
        edit6_->setText(PathText(opening.paths->web));
    }
    ShowHeader();
    label12_->setText(DisplayText(opening.device_type));
    label10_->setText(DisplayText(opening.device_version));
    opened_ = true;
    emit FormShown();
}

void TFormUpdate::ShowHeader() {
    const HeaderTexts texts = logic_->ShownHeader();
    edit3_->setText(DisplayText(texts.version));
    edit4_->setText(DisplayText(texts.date_time));
    edit1_->setText(DisplayText(texts.target_model));
    edit7_->setText(DisplayText(texts.minimum_version));
    memo1_->setPlainText(DisplayText(texts.description));
}

void TFormUpdate::BitBtn2Click() {
    const auto chosen = ChooseFile(this, "OpenDialog1", edit2_, QString::fromLatin1(kImageFilter));
    if (!chosen) return;
    edit2_->setText(*chosen);
    logic_->LoadHeader(chosen->toStdString());
    ShowHeader();
}

void TFormUpdate::BitBtn1Click() {
    if (const auto chosen = ChooseFile(this, "OpenDialog2", edit6_, {})) edit6_->setText(*chosen);
}

void TFormUpdate::CheckBox1Click() {
    const bool on = checkbox1_->isChecked();
    edit2_->setEnabled(on);
    bitbtn2_->setEnabled(on);
}

void TFormUpdate::CheckBox2Click() {
    const bool on = checkbox2_->isChecked();
    edit6_->setEnabled(on);
    bitbtn1_->setEnabled(on);
}

void TFormUpdate::Button1Click() {
    if (logic_->running()) return;
    SetRunning(true);
    logic_->Button1Click(PathOf(edit5_), PathOf(edit2_), PathOf(edit6_),
                         {checkbox1_->isChecked(), checkbox2_->isChecked()});
    SetRunning(false);
}

void TFormUpdate::Button2Click() {
    close();
}

// A half-done update keeps its window (and with it the channel and the progress window).
void TFormUpdate::reject() {
    if (!logic_->running()) QDialog::reject();
}

void TFormUpdate::closeEvent(QCloseEvent* event) {
    if (logic_->running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// Disabling a group disables its controls; enabling it again gives back each control's own state
// (the WEB path and its button stay off while "WEB" is not checked). The device's labels stay as they
// are; its address box is disabled alone.
void TFormUpdate::SetRunning(bool running) {
    for (QGroupBox* group : {firmware_group_, web_group_, option_group_})
        group->setEnabled(!running);
    edit5_->setEnabled(!running);
}

}  // namespace torvane::ui
