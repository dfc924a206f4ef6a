// A login session with one device: login (asking for a user name and password when the device refuses
// the empty ones and there is someone to ask), parameter reads and writes, logout.
#pragma once

#include <optional>
#include <string>

#include "device_resolution.h"
#include "field.h"
#include "vkcfg.h"

namespace vkctl {

struct Credentials {
    std::string user_name;
    std::string password;
};

// Asks the operator for credentials; nullopt when there is nobody to ask.
class CredentialPrompt {
  public:
    virtual ~CredentialPrompt() = default;
    virtual std::optional<Credentials> Ask(const std::string& device_label) = 0;
};

class DeviceSession {
  public:
    // Logs in. `given`: credentials from the command line or the environment, used as they are; without
    // them the empty login comes first and the prompt is asked when the device refuses it.
    DeviceSession(const Device& device, const std::optional<Credentials>& given, CredentialPrompt& prompt);
    ~DeviceSession();  // logs out when the device still holds the session
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // The parameter block: the VkParamRecord's bytes, or the extended device's 438-byte block.
    Block Read();
    // Writes the block back, logging in again first where the read ended the session.
    void Write(const Block& block);

  private:
    bool FirstGeneration() const;
    bool Extended() const;
    int TryLogin();
    void LogIn(bool may_ask);
    void AfterRefusedLogin();

    const Device& device_;
    LoginRecord login_{};
    bool credentials_given_;
    CredentialPrompt& prompt_;
    bool open_ = false;
};

}  // namespace vkctl
