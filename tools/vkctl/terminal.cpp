#include "terminal.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "exit_status.h"

namespace vkctl {
namespace {

constexpr const char* kDefaultUser = "admin";
constexpr size_t kMaxChars = 9;

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

std::string ReadLine(const char* what) {
    std::string line;
    if (!std::getline(std::cin, line))
        throw Failure(ExitStatus::kPasswordRefused, std::string("no ") + what + " given on the terminal");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxChars)
        throw Failure(ExitStatus::kUsage, std::string("the ") + what + " is longer than 9 characters");
    return line;
}

}  // namespace

std::optional<Credentials> TerminalPrompt::Ask(const std::string& device_label) {
    if (!isatty(STDIN_FILENO)) return std::nullopt;
    Credentials c;
    std::fprintf(stderr, "%s refused the empty login.\nUser name [%s]: ", device_label.c_str(), kDefaultUser);
    std::fflush(stderr);
    c.user_name = ReadLine("user name");
    if (c.user_name.empty()) c.user_name = kDefaultUser;
    {
        // Echo goes off before the prompt shows, so that nothing typed after it is ever echoed.
        EchoOff quiet;
        std::fputs("Password: ", stderr);
        std::fflush(stderr);
        c.password = ReadLine("password");
    }
    std::fputs("\n", stderr);
    return c;
}

}  // namespace vkctl
