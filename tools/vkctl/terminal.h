// vkctl's side of the UI port: the credential question asked on the terminal, as Torvane's login dialog
// asks it; messages go to stderr. There is no wait window or address dialog on the command line.
#pragma once

#include "core/ui_port.h"

namespace vkctl {

class TerminalUi final : public torvane::UiPort {
  public:
    void ShowWaitWindow() override {}
    void HideWaitWindow() override {}
    void SetWaitText(const std::string&) override {}
    void SetWaitRange(int, int) override {}
    void SetWaitPosition(int) override {}
    void StepWait() override {}
    void ProcessMessages() override {}
    void AppendLog(const std::string& line) override;
    torvane::MessageResult ShowMessage(torvane::MessageKind kind, const std::string& text,
                                       torvane::MessageButtons buttons) override;
    torvane::AddressDialogResult AskAddress(const std::string&, const std::string&) override { return {}; }
    // Asks on stderr and reads stdin, the password without echo; nothing when stdin is no terminal.
    // Throws Failure (usage) for a text that breaks the credential rule.
    std::optional<torvane::Credentials> AskCredentials(const std::string& device_label) override;
};

}  // namespace vkctl
