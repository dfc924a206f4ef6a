#include "core/device_session.h"

#include <algorithm>
#include <cstring>

#include "core/field_text.h"
#include "core/model_family.h"

namespace torvane {

DeviceSession::DeviceSession(DeviceLibrary& library, UiPort& ui, SessionDevice device,
                             std::optional<Credentials> given)
    : library_(library), ui_(ui), device_(std::move(device)), given_(given.has_value()) {
    login_.model_code = device_.model_code;
    if (given) SetCredentials(*given);
}

void DeviceSession::SetCredentials(const Credentials& c) {
    PutFieldText(login_.user_name, c.user_name);
    PutFieldText(login_.password, c.password);
}

int DeviceSession::TryLogin() {
    const int result = library_.vk_login(device_.ip.c_str(), device_.mac.data(), &login_);
    open_ = result == VK_OK;
    return result;
}

int DeviceSession::LogIn() {
    int result = TryLogin();
    if (result == VK_ERR_PASSWORD && !given_) {
        if (const auto typed = ui_.AskCredentials(device_.label)) {
            asked_ = true;
            SetCredentials(*typed);
            result = TryLogin();
        }
    }
    if (result == VK_ERR_PASSWORD) LogOut();
    return result;
}

int DeviceSession::LogInAgain() {
    return TryLogin();
}

int DeviceSession::Read(std::span<uint8_t, kParamBufferSize> buffer) {
    std::fill(buffer.begin(), buffer.end(), uint8_t{0});
    const char* ip = device_.ip.c_str();
    if (IsExtendedDevice(device_.model_code))
        return library_.vk_read_setting_ex(ip, device_.mac.data(), buffer.data(), &login_);
    // The library fills a VkParamRecord; the buffer has no alignment to be taken for one.
    VkParamRecord record;
    std::memcpy(&record, buffer.data(), sizeof record);
    const int result = library_.vk_read_setting(ip, device_.mac.data(), &record, &login_);
    std::memcpy(buffer.data(), &record, sizeof record);
    if (IsFirstGeneration(device_.model_code)) open_ = false;
    return result;
}

int DeviceSession::Write(std::span<const uint8_t, kParamBufferSize> buffer) {
    const char* ip = device_.ip.c_str();
    if (IsExtendedDevice(device_.model_code))
        return library_.vk_write_setting_ex(ip, device_.mac.data(), buffer.data(), VK_EX_PARAM_SIZE, &login_);
    VkParamRecord record;
    std::memcpy(&record, buffer.data(), sizeof record);
    const int result = library_.vk_write_setting(ip, device_.mac.data(), &record, &login_);
    if (IsFirstGeneration(device_.model_code)) open_ = false;
    return result;
}

void DeviceSession::LogOut() {
    library_.vk_logout(device_.ip.c_str(), device_.mac.data(), &login_);
    open_ = false;
}

}  // namespace torvane
