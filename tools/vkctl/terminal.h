// Asking for a user name and password on the terminal, as the manager's login dialog does.
#pragma once

#include "session.h"

namespace vkctl {

// Asks on stderr and reads stdin, the password without echo; only when stdin is a terminal.
class TerminalPrompt final : public CredentialPrompt {
  public:
    std::optional<Credentials> Ask(const std::string& device_label) override;
};

}  // namespace vkctl
