// The UI port on Qt widgets: the wait window, the log pane, message boxes and the address dialog;
// "let the waiting window messages run" is QCoreApplication::processEvents().
#pragma once

#include <QPointer>

#include "core/ui_port.h"

class QPlainTextEdit;
class QWidget;

namespace torvane::ui {

class TFormRate;
class TWaitForm;

class QtUiPort final : public UiPort {
  public:
    // `owner` parents the dialogs and boxes; the widgets must outlive the port's use. A port that is not
    // `interactive` writes messages to stderr instead of waiting for a click on a box, and takes the
    // answer that changes nothing (OK, Yes of a box without No, No, Cancel).
    QtUiPort(QWidget* owner, TWaitForm* wait_form, QPlainTextEdit* log_pane, bool interactive = true);

    void ShowWaitWindow() override;
    void HideWaitWindow() override;
    void SetWaitText(const std::string& text) override;
    void SetWaitRange(int minimum, int maximum) override;
    void SetWaitPosition(int position) override;
    void StepWait() override;
    void ProcessMessages() override;
    void AppendLog(const std::string& line) override;
    MessageResult ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    AddressDialogResult AskAddress(const std::string& caption, const std::string& initial_text) override;
    std::optional<Credentials> AskCredentials(const std::string& device_label) override;
    // The progress window TFormRate, made on demand with the port's owner as its owner.
    void ShowProgress(const std::string& label) override;
    void SetProgressLabel(const std::string& label) override;
    void SetProgressPosition(int position) override;
    void CloseProgress() override;
    TFormRate* FormRate() const;  // nullptr when there is none
    int ShowParamWindow(ParamSheet& sheet, std::span<uint8_t> block) override;
    int ShowExParamWindow(ExParamSheet& sheet, std::span<uint8_t> block) override;

  private:
    QWidget* owner_;
    TWaitForm* wait_;
    QPlainTextEdit* log_;
    bool interactive_;
    QPointer<TFormRate> rate_;  // cleared when the window is released
};

}  // namespace torvane::ui
