// vkctl's side of the UI port: the credential question asked on the terminal, as Torvane's login dialog
// asks it; messages go to stderr, and the progress window of the firmware update is a bar on stderr
// when that is a terminal. There is no wait window or address dialog on the command line.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/ui_port.h"

namespace vkctl {

class TerminalUi final : public torvane::UiPort {
  public:
    TerminalUi();

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
    // "label [#####.....]  50%", redrawn in place; a new label or a message starts a new line.
    void ShowProgress(const std::string& label) override;
    void SetProgressLabel(const std::string& label) override;
    void SetProgressPosition(int position) override;
    void CloseProgress() override;
    // vkctl changes parameters through its own commands ("set"); it opens no parameter window.
    int ShowParamWindow(torvane::ParamSheet&, std::span<uint8_t>) override { return 0; }
    int ShowExParamWindow(torvane::ExParamSheet&, std::span<uint8_t>) override { return 0; }

  private:
    void DrawBar();
    void EndBarLine();

    bool terminal_;       // stderr is a terminal: the bar is drawn
    bool shown_ = false;  // the progress window is open
    bool drawn_ = false;  // the bar's line is on the screen and not yet ended
    std::string label_;
    int position_ = 0;
};

}  // namespace vkctl
