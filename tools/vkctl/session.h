// vkctl's login session with one device: the core's DeviceSession, with its results turned into the
// failures vkctl reports, and a logout when the run ends while the device still holds the session.
#pragma once

#include <optional>

#include "core/device_session.h"
#include "core/params/field.h"
#include "device_resolution.h"

namespace vkctl {

class Session {
  public:
    // Logs in (the empty login first and the terminal asked on a refusal, unless `given`); throws
    // Failure when the login fails.
    Session(torvane::DeviceLibrary& library, torvane::UiPort& ui, const Device& device,
            const std::optional<torvane::Credentials>& given);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The parameter block: the VkParamRecord's bytes, or the extended device's 438-byte block.
    torvane::params::Block Read();
    // Writes the block back, logging in again first where the read ended the session.
    void Write(const torvane::params::Block& block);

  private:
    void LogInAgainIfEnded();

    torvane::DeviceSession session_;
    bool given_;
};

}  // namespace vkctl
