// The library's broadcast address setting as the library reads it: the environment variable
// VKCFG_BROADCAST of this process, read when each of its operations starts. The manager points a search
// at one interface by setting it for the search's length (core's BroadcastScope) and nowhere else.
#pragma once

#include "core/search_route.h"

namespace torvane {

inline constexpr const char* kBroadcastVariable = "VKCFG_BROADCAST";

class EnvironmentBroadcastSetting final : public BroadcastSetting {
  public:
    std::optional<std::string> Get() const override;
    void Put(const std::optional<std::string>& address) override;
};

}  // namespace torvane
