#include "platform/broadcast_setting.h"

#include <cstdlib>

namespace torvane {

std::optional<std::string> EnvironmentBroadcastSetting::Get() const {
    const char* value = std::getenv(kBroadcastVariable);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

void EnvironmentBroadcastSetting::Put(const std::optional<std::string>& address) {
#if defined(_WIN32)
    // An empty value removes the variable.
    ::_putenv_s(kBroadcastVariable, address ? address->c_str() : "");
#else
    if (address) {
        ::setenv(kBroadcastVariable, address->c_str(), 1);
    } else {
        ::unsetenv(kBroadcastVariable);
    }
#endif
}

}  // namespace torvane
