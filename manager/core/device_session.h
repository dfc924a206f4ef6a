// A login session with one device, for both faces: log in (with the empty user name and password
// first, asking the operator through the UI port when the device refuses them), read the parameter
// block into the caller's buffer, write it back, log out. The faces decide what happens around it
// (Torvane's ARP entry and parameter windows, vkctl's output); the rules of the conversation are here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/address_text.h"
#include "core/credentials.h"
#include "core/device_library.h"
#include "core/ui_port.h"

namespace torvane {

// The parameter buffer of a session: VkParamRecord on the standard path, the extended device's block on
// the extended path; zero-filled before each read.
inline constexpr size_t kParamBufferSize = VK_PARAM_BUFFER_SIZE;
using ParamBuffer = std::array<uint8_t, kParamBufferSize>;

struct SessionDevice {
    uint8_t model_code = 0;
    MacBytes mac{};
    std::string ip;     // the address text the library is given; empty: by broadcast, chosen by the MAC
    std::string label;  // names the device in the credential question
};

class DeviceSession {
  public:
    // `given`: credentials to use as they are (vkctl's --password); without them the first login is
    // the empty one and the operator is asked when the device refuses it.
    DeviceSession(DeviceLibrary& library, UiPort& ui, SessionDevice device,
                  std::optional<Credentials> given = std::nullopt);

    // Logs in. On a refusal (VK_ERR_PASSWORD) of the empty login, asks the operator once and logs in
    // again with what was typed. A refusal that stands (the second one, one of given credentials, or one
    // with nobody to ask) is followed by a logout, which the second generation needs to end the refused
    // session. Returns the last login's result.
    int LogIn();
    // Logs in with the credentials that the last LogIn ended with, never asking (the write after the
    // parameter window). Returns the library's result.
    int LogInAgain();
    // Zero-fills the buffer and reads the block into it: vk_read_setting, or vk_read_setting_ex for the
    // extended device. A first-generation read ends the device's session itself.
    int Read(std::span<uint8_t, kParamBufferSize> buffer);
    // Writes the block back: vk_write_setting, or vk_write_setting_ex with the block's 438 bytes.
    // VK_ERR_UNEXPECTED means that the device refused the write (its parameter protection).
    int Write(std::span<const uint8_t, kParamBufferSize> buffer);
    void LogOut();

    // Whether the device holds a session that LogOut should end: after a successful login, until the
    // logout or a first-generation read or write (which end it themselves).
    bool open() const { return open_; }
    // Whether the operator answered the credential question (false also when nobody could be asked).
    bool asked() const { return asked_; }
    const LoginRecord& login_record() const { return login_; }
    const SessionDevice& device() const { return device_; }

  private:
    int TryLogin();
    void SetCredentials(const Credentials& credentials);

    DeviceLibrary& library_;
    UiPort& ui_;
    SessionDevice device_;
    bool given_;
    LoginRecord login_{};
    bool open_ = false;
    bool asked_ = false;
};

}  // namespace torvane
