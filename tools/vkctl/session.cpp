#include "session.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "exit_status.h"
#include "extended_block.h"

namespace vkctl {
namespace {

template <size_t N>
void Put(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

DeviceSession::DeviceSession(const Device& device, const std::optional<Credentials>& given,
                             CredentialPrompt& prompt)
    : device_(device), credentials_given_(given.has_value()), prompt_(prompt) {
    login_.model_code = device.model_code;
    if (given) {
        Put(login_.user_name, given->user_name);
        Put(login_.password, given->password);
    }
    LogIn(true);
}

DeviceSession::~DeviceSession() {
    if (open_) vk_logout(device_.address.c_str(), device_.mac.data(), &login_);
}

bool DeviceSession::FirstGeneration() const {
    return device_.model_code == VK_MODEL_VKA100 || device_.model_code == VK_MODEL_VKB220;
}

bool DeviceSession::Extended() const {
    return device_.model_code == VK_MODEL_EXTENDED;
}

int DeviceSession::TryLogin() {
    const int result = vk_login(device_.address.c_str(), device_.mac.data(), &login_);
    if (result == VK_ERR_PASSWORD) AfterRefusedLogin();
    return result;
}

// A first-generation device ends the session of a refused login itself; a second-generation device
// keeps it until it is told to end it.
void DeviceSession::AfterRefusedLogin() {
    if (!FirstGeneration()) vk_logout(device_.address.c_str(), device_.mac.data(), &login_);
}

void DeviceSession::LogIn(bool may_ask) {
    int result = TryLogin();
    if (result == VK_ERR_PASSWORD && may_ask && !credentials_given_) {
        const auto asked = prompt_.Ask(device_.label);
        if (!asked)
            throw Failure(ExitStatus::kPasswordRefused,
                          "login to " + device_.label + " failed: " + ResultText(result) +
                              "; give --password or VKCTL_PASSWORD (there is no terminal to ask on)");
        Put(login_.user_name, asked->user_name);
        Put(login_.password, asked->password);
        result = TryLogin();
    }
    if (result != VK_OK) throw Failure::FromResult("login to " + device_.label, result);
    open_ = true;
}

Block DeviceSession::Read() {
    if (!open_) LogIn(false);
    const std::string what = "reading the parameters of " + device_.label;
    if (Extended()) {
        std::vector<uint8_t> payload(VK_EX_PAYLOAD_MAX, 0);
        const int result =
            vk_read_setting_ex(device_.address.c_str(), device_.mac.data(), payload.data(), &login_);
        if (result != VK_OK) throw Failure::FromResult(what, result);
        return Block(payload.begin(), payload.begin() + kExtendedBlockSize);
    }
    VkParamRecord record;
    std::memset(&record, 0, sizeof record);
    const int result = vk_read_setting(device_.address.c_str(), device_.mac.data(), &record, &login_);
    if (FirstGeneration()) open_ = false;  // the read itself ended the session
    if (result != VK_OK) throw Failure::FromResult(what, result);
    Block block(sizeof record);
    std::memcpy(block.data(), &record, sizeof record);
    return block;
}

void DeviceSession::Write(const Block& block) {
    if (block.size() != (Extended() ? kExtendedBlockSize : sizeof(VkParamRecord)))
        throw std::logic_error("a parameter block of " + std::to_string(block.size()) +
                               " bytes cannot be written");
    if (!open_) LogIn(false);
    const std::string what = "writing the parameters of " + device_.label;
    int result;
    if (Extended()) {
        result = vk_write_setting_ex(device_.address.c_str(), device_.mac.data(), block.data(),
                                     static_cast<int>(kExtendedBlockSize), &login_);
    } else {
        VkParamRecord record;
        std::memcpy(&record, block.data(), sizeof record);
        result = vk_write_setting(device_.address.c_str(), device_.mac.data(), &record, &login_);
        if (FirstGeneration()) open_ = false;
    }
    if (result == VK_ERR_UNEXPECTED)
        throw Failure(ExitStatus::kDeviceRefused, what + " failed: " + ResultText(result) +
                                                      "; is the device's parameter protection switch on?");
    if (result != VK_OK) throw Failure::FromResult(what, result);
}

}  // namespace vkctl
