// What the manager's logic needs from the operator's side: the wait window, letting pending window
// messages run, the log pane, message boxes, the address dialog, the credential question and the
// parameter windows. The Qt program implements it with widgets, the command-line tool on the terminal,
// tests with a recorder.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/credentials.h"

namespace torvane {

enum class MessageKind { kInformation, kWarning, kError, kConfirmation };
enum class MessageButtons { kOk, kYes, kYesNo, kOkCancel };
enum class MessageResult { kOk, kYes, kNo, kCancel };

class ParamSheet;
class ExParamSheet;

struct AddressDialogResult {
    bool accepted = false;  // "OK" pressed
    std::string text;       // the dotted address in the entry control
};

class UiPort {
  public:
    virtual ~UiPort() = default;

    // The wait window: a small window with one text line and a progress bar.
    virtual void ShowWaitWindow() = 0;  // shows it when it is hidden
    virtual void HideWaitWindow() = 0;
    virtual void SetWaitText(const std::string& text) = 0;
    virtual void SetWaitRange(int minimum, int maximum) = 0;
    virtual void SetWaitPosition(int position) = 0;
    virtual void StepWait() = 0;  // position + 1

    // Lets the window messages that are waiting run (repaints, and whatever the operator clicked).
    virtual void ProcessMessages() = 0;

    // Appends one line to the log pane.
    virtual void AppendLog(const std::string& line) = 0;

    virtual MessageResult ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons) = 0;

    // The modal address dialog with its caption and the entry control's initial text.
    virtual AddressDialogResult AskAddress(const std::string& caption, const std::string& initial_text) = 0;

    // Asks for the user name and password of a device that refused the login (Torvane's login dialog,
    // vkctl's terminal prompt). The texts as device bytes, checked by CheckCredential; nothing when
    // there is nobody to ask.
    virtual std::optional<Credentials> AskCredentials(const std::string& device_label) = 0;

    // The progress window of the firmware update and the data write: a window that is not modal, with
    // a label and a bar from 0 to 100. ShowProgress makes it when there is none, shows it with the
    // label and the bar at 0; CloseProgress closes and releases it.
    virtual void ShowProgress(const std::string& label) = 0;
    virtual void SetProgressLabel(const std::string& label) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void CloseProgress() = 0;
    // The modal parameter window of a standard or an extended device over the rows of `sheet`, which
    // shows `block` when the window opens and stores into it on the modify button. The window's
    // Modified afterwards: 1 after a completed modify, else 0.
    virtual int ShowParamWindow(ParamSheet& sheet, std::span<uint8_t> block) = 0;
    virtual int ShowExParamWindow(ExParamSheet& sheet, std::span<uint8_t> block) = 0;
};

}  // namespace torvane
