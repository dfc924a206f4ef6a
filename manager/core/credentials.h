// The user name and password of a device login, and the rule that both faces check them by: at most 9
// bytes in the device's code page (the LoginRecord's fields hold 10 with the closing NUL, and the first
// generation sends the password as a C text) and no "|", which ends the value of the first generation's
// text commands.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace torvane {

inline constexpr size_t kMaxCredentialBytes = 9;
inline constexpr const char* kCredentialRule =
    "user names and passwords have at most 9 characters and no \"|\"";

// Device bytes (GBK), ready for the LoginRecord.
struct Credentials {
    std::string user_name;
    std::string password;
};

struct CredentialText {
    bool ok = false;
    std::string bytes;    // the device bytes, when ok
    std::string problem;  // otherwise why not: kCredentialRule, or why the code page cannot hold the text
};

// A user name or password as the operator typed it (UTF-8), checked and converted to device bytes.
CredentialText CheckCredential(std::string_view typed);

}  // namespace torvane
