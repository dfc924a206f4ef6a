#include "ui/qt_ui_port.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <cstdio>

#include "ui/ip_edit.h"
#include "ui/ip_form.h"
#include "ui/message_boxes.h"
#include "ui/paint_now.h"
#include "ui/params/form_login.h"
#include "ui/params/para_info_form.h"
#include "ui/text_codec.h"
#include "ui/update/form_rate.h"
#include "ui/wait_form.h"

namespace torvane::ui {

namespace {

// The answer of a box that nobody can click: the one that changes nothing.
MessageResult UnattendedAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::kOk:
            return MessageResult::kOk;
        case MessageButtons::kYes:
            return MessageResult::kYes;
        case MessageButtons::kYesNo:
            return MessageResult::kNo;
        case MessageButtons::kOkCancel:
            return MessageResult::kCancel;
    }
    return MessageResult::kCancel;
}

}  // namespace

QtUiPort::QtUiPort(QWidget* owner, TWaitForm* wait_form, QPlainTextEdit* log_pane, bool interactive)
    : owner_(owner), wait_(wait_form), log_(log_pane), interactive_(interactive) {}

void QtUiPort::ShowWaitWindow() {
    wait_->ShowCentred();
}

void QtUiPort::HideWaitWindow() {
    wait_->hide();
}

// The wait window is painted as soon as it changes: a library call may follow that blocks the
// window thread for a second.
void QtUiPort::SetWaitText(const std::string& text) {
    wait_->SetText(DisplayText(text));
    RepaintIfShown(wait_);
}

void QtUiPort::SetWaitRange(int minimum, int maximum) {
    wait_->ProgressBar()->setRange(minimum, maximum);
    RepaintIfShown(wait_);
}

void QtUiPort::SetWaitPosition(int position) {
    wait_->ProgressBar()->setValue(position);
    RepaintIfShown(wait_);
}

void QtUiPort::StepWait() {
    QProgressBar* bar = wait_->ProgressBar();
    bar->setValue(bar->value() + 1);
    RepaintIfShown(wait_);
}

// Windows shown since the last call (the main window, the wait window) are painted before the
// library call that follows, rather than after it.
void QtUiPort::ProcessMessages() {
    QCoreApplication::processEvents();
    PaintVisibleWindows();
}

void QtUiPort::AppendLog(const std::string& line) {
    log_->appendPlainText(DisplayText(line));
}

MessageResult QtUiPort::ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons) {
    if (interactive_) return ShowMessageBox(owner_, kind, text, buttons);
    std::fprintf(stderr, "torvane: %s\n", text.c_str());
    return UnattendedAnswer(buttons);
}

AddressDialogResult QtUiPort::AskAddress(const std::string& caption, const std::string& initial_text) {
    TIPForm IPForm(owner_);
    IPForm.setWindowTitle(DisplayText(caption));
    IPForm.IPEdit1()->SetText(DisplayText(initial_text));
    AddressDialogResult result;
    result.accepted = IPForm.exec() == QDialog::Accepted;
    if (result.accepted) result.text = DeviceBytes(IPForm.IPEdit1()->Text()).bytes;  // digits and dots
    return result;
}

// The dialog starts with its designed texts every time; however it is closed, its texts are taken.
// Without anybody to click, nobody answers and no window opens.
std::optional<Credentials> QtUiPort::AskCredentials(const std::string&) {
    if (!interactive_) return std::nullopt;
    TFormLogin FormLogin(owner_);
    FormLogin.exec();
    return FormLogin.Typed();
}

int QtUiPort::ShowParamWindow(ParamSheet& sheet, std::span<uint8_t> block) {
    if (!interactive_) return 0;
    TParaInfoForm ParaInfoForm(sheet, block, owner_);
    ParaInfoForm.exec();
    return ParaInfoForm.Modified();
}

int QtUiPort::ShowExParamWindow(ExParamSheet& sheet, std::span<uint8_t> block) {
    if (!interactive_) return 0;
    TParaInfoExForm ParaInfoExForm(sheet, block, owner_);
    ParaInfoExForm.exec();
    return ParaInfoExForm.Modified();
}

void QtUiPort::ShowProgress(const std::string& label) {
    if (!rate_) rate_ = new TFormRate(owner_);
    rate_->Label1()->setText(DisplayText(label));
    rate_->ProgressBar1()->setValue(0);
    rate_->ShowCentred();
}

void QtUiPort::SetProgressLabel(const std::string& label) {
    if (rate_) rate_->Label1()->setText(DisplayText(label));
}

void QtUiPort::SetProgressPosition(int position) {
    if (rate_) rate_->ProgressBar1()->setValue(position);
}

TFormRate* QtUiPort::FormRate() const {
    return rate_.data();
}

// The window is released on close, but only once the window messages run at the outer level; the
// next ShowProgress (the data write right after an update) makes a new one rather than showing again
// the one that is about to go.
void QtUiPort::CloseProgress() {
    if (!rate_) return;
    rate_->close();
    rate_ = nullptr;
}

}  // namespace torvane::ui
