// A UiPort for tests: records every call as one line of text, in order, so that a test can compare the
// exact texts and the exact sequence, and answers dialogs and message boxes from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/ui_port.h"

namespace torvane::test {

class RecordingUi final : public UiPort {
  public:
    // The lines, for example "wait.show", "wait.range 0 3", "wait.text Search...", "messages",
    // "log <line>", "message error OK <text>", "dialog <caption> | <initial text>", "login <device>".
    std::vector<std::string> events;

    // Answers of the address dialog, in order; when none is left the dialog is cancelled.
    std::deque<AddressDialogResult> dialog_answers;
    // Answers of the credential question, in order; when none is left nobody answers (nothing).
    std::deque<Credentials> credential_answers;
    // Runs inside ProcessMessages: what the operator does while the window messages run.
    std::function<void()> during_messages;

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
};

}  // namespace torvane::test
