#include "terminal.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "core/text/device_text.h"
#include "exit_status.h"

namespace vkctl {
namespace {

constexpr const char* kDefaultUser = "admin";
constexpr int kBarWidth = 30;

// Restores the terminal's echo however the read ends.
class EchoOff {
  public:
    EchoOff() {
        if (tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        active_ = tcsetattr(STDIN_FILENO, TCSANOW, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    termios saved_{};
    bool active_ = false;
};

// A line typed on the terminal (UTF-8), checked by the credential rule and made device bytes.
std::string ReadCredential(const char* what, const char* if_empty = "") {
    std::string line;
    if (!std::getline(std::cin, line))
        throw Failure(ExitStatus::kPasswordRefused, std::string("no ") + what + " given on the terminal");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) line = if_empty;
    const torvane::CredentialText checked = torvane::CheckCredential(line);
    if (!checked.ok) throw Failure(ExitStatus::kUsage, std::string("the ") + what + ": " + checked.problem);
    return checked.bytes;
}

}  // namespace

TerminalUi::TerminalUi() : terminal_(isatty(STDERR_FILENO) != 0) {}

void TerminalUi::AppendLog(const std::string& line) {
    EndBarLine();
    std::fprintf(stderr, "vkctl: %s\n", torvane::DeviceTextToUtf8(line).c_str());
}

torvane::MessageResult TerminalUi::ShowMessage(torvane::MessageKind, const std::string& text,
                                               torvane::MessageButtons buttons) {
    AppendLog(text);
    return buttons == torvane::MessageButtons::kOk ? torvane::MessageResult::kOk
                                                   : torvane::MessageResult::kNo;
}

std::optional<torvane::Credentials> TerminalUi::AskCredentials(const std::string& device_label) {
    if (!isatty(STDIN_FILENO)) return std::nullopt;
    EndBarLine();
    torvane::Credentials c;
    std::fprintf(stderr, "%s refused the empty login.\nUser name [%s]: ", device_label.c_str(), kDefaultUser);
    std::fflush(stderr);
    c.user_name = ReadCredential("user name", kDefaultUser);
    {
        // Echo goes off before the prompt shows, so that nothing typed after it is ever echoed.
        EchoOff quiet;
        std::fputs("Password: ", stderr);
        std::fflush(stderr);
        c.password = ReadCredential("password");
    }
    std::fputs("\n", stderr);
    return c;
}

void TerminalUi::ShowProgress(const std::string& label) {
    shown_ = true;
    label_ = torvane::DeviceTextToUtf8(label);
    position_ = 0;
    DrawBar();
}

void TerminalUi::SetProgressLabel(const std::string& label) {
    const std::string text = torvane::DeviceTextToUtf8(label);
    if (!shown_ || text == label_) return;
    EndBarLine();  // the finished step keeps its line
    label_ = text;
    DrawBar();
}

void TerminalUi::SetProgressPosition(int position) {
    position = std::clamp(position, 0, 100);
    if (!shown_ || position == position_) return;
    position_ = position;
    DrawBar();
}

void TerminalUi::CloseProgress() {
    EndBarLine();
    shown_ = false;
}

void TerminalUi::DrawBar() {
    if (!terminal_) return;
    const auto filled = static_cast<size_t>(position_ * kBarWidth / 100);
    std::fprintf(stderr, "\r\033[K%s [%s%s] %3d%%", label_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, '.').c_str(), position_);
    std::fflush(stderr);
    drawn_ = true;
}

void TerminalUi::EndBarLine() {
    if (!drawn_) return;
    std::fputc('\n', stderr);
    drawn_ = false;
}

}  // namespace vkctl
