// A UiPort for tests: records every call as one line of text, in order, so that a test can compare the
// exact texts and the exact sequence, and answers dialogs and message boxes from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/params/ex_param_sheet.h"
#include "core/params/param_sheet.h"
#include "core/ui_port.h"

namespace torvane::test {

class RecordingUi final : public UiPort {
  public:
    // The lines, for example "wait.show", "wait.range 0 3", "wait.text Search...", "messages",
    // "log <line>", "message error OK <text>", "dialog <caption> | <initial text>", "login <device>",
    // "window Setting", "window Setting - VMS450".
    std::vector<std::string> events;

    // Answers of the address dialog, in order; when none is left the dialog is cancelled.
    std::deque<AddressDialogResult> dialog_answers;
    // Answers of the credential question, in order; when none is left nobody answers (nothing).
    std::deque<Credentials> credential_answers;
    // Runs inside ProcessMessages: what the operator does while the window messages run.
    std::function<void()> during_messages;
    // What the operator does in a parameter window once it shows the block; without it, nothing. The
    // window's Modified is returned, so an action that presses the modify button makes it 1.
    std::function<void(ParamSheet&, std::span<uint8_t>)> in_param_window;
    std::function<void(ExParamSheet&, std::span<uint8_t>)> in_ex_param_window;

    std::vector<std::string> Lines(const std::string& prefix) const;  // events with the prefix, without it

    void ShowWaitWindow() override { events.push_back("wait.show"); }
    void HideWaitWindow() override { events.push_back("wait.hide"); }
    void SetWaitText(const std::string& text) override { events.push_back("wait.text " + text); }
    void SetWaitRange(int minimum, int maximum) override;
    void SetWaitPosition(int position) override {
        events.push_back("wait.position " + std::to_string(position));
    }
    void StepWait() override { events.push_back("wait.step"); }
    void ProcessMessages() override;
    void AppendLog(const std::string& line) override { events.push_back("log " + line); }
    MessageResult ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    AddressDialogResult AskAddress(const std::string& caption, const std::string& initial_text) override;
    std::optional<Credentials> AskCredentials(const std::string& device_label) override;
    // "progress.show <label>", "progress.label <label>", "progress.position <n>", "progress.close"
    void ShowProgress(const std::string& label) override { events.push_back("progress.show " + label); }
    void SetProgressLabel(const std::string& label) override { events.push_back("progress.label " + label); }
    void SetProgressPosition(int position) override {
        events.push_back("progress.position " + std::to_string(position));
    }
    void CloseProgress() override { events.push_back("progress.close"); }
    int ShowParamWindow(ParamSheet& sheet, std::span<uint8_t> block) override;
    int ShowExParamWindow(ExParamSheet& sheet, std::span<uint8_t> block) override;
};

}  // namespace torvane::test
