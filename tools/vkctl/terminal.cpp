#include "terminal.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "core/text/device_text.h"
#include "exit_status.h"

namespace vkctl {
namespace {

constexpr const char* kDefaultUser = "admin";

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

void TerminalUi::AppendLog(const std::string& line) {
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

}  // namespace vkctl
