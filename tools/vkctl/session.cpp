#include "session.h"

#include <algorithm>
#include <stdexcept>

#include "core/model_family.h"
#include "core/params/extended_fields.h"
#include "exit_status.h"

namespace vkctl {
namespace {

size_t BlockSizeOf(uint8_t model_code) {
    return torvane::IsExtendedDevice(model_code) ? torvane::params::kExtendedBlockSize
                                                 : sizeof(VkParamRecord);
}

}  // namespace

Session::Session(torvane::DeviceLibrary& library, torvane::UiPort& ui, const Device& device,
                 const std::optional<torvane::Credentials>& given)
    : session_(library, ui, device.session, given), given_(given.has_value()) {
    const std::string what = "login to " + device.session.label;
    int result;
    try {
        result = session_.LogIn();
    } catch (...) {
        session_.LogOut();  // the question failed; the refused session must not stay behind
        throw;
    }
    if (result == VK_ERR_PASSWORD && !given_ && !session_.asked())
        throw Failure(ExitStatus::kPasswordRefused,
                      what + " failed: " + ResultText(result) +
                          "; give --password or VKCTL_PASSWORD (there is no terminal to ask on)");
    if (result != VK_OK) throw Failure::FromResult(what, result);
}

Session::~Session() {
    if (session_.open()) session_.LogOut();
}

// A first-generation read or write ends the device's session; the next one needs a login of its own.
void Session::LogInAgainIfEnded() {
    if (session_.open()) return;
    const int result = session_.LogInAgain();
    if (result != VK_OK) throw Failure::FromResult("login to " + session_.device().label, result);
}

torvane::params::Block Session::Read() {
    const auto& device = session_.device();
    LogInAgainIfEnded();
    torvane::ParamBuffer buffer;
    const int result = session_.Read(buffer);
    if (result != VK_OK) throw Failure::FromResult("reading the parameters of " + device.label, result);
    return torvane::params::Block(buffer.begin(), buffer.begin() + BlockSizeOf(device.model_code));
}

void Session::Write(const torvane::params::Block& block) {
    const auto& device = session_.device();
    if (block.size() != BlockSizeOf(device.model_code))
        throw std::logic_error("a parameter block of " + std::to_string(block.size()) +
                               " bytes cannot be written");
    LogInAgainIfEnded();
    torvane::ParamBuffer buffer{};
    std::copy(block.begin(), block.end(), buffer.begin());
    const int result = session_.Write(buffer);
    const std::string what = "writing the parameters of " + device.label;
    if (result == VK_ERR_UNEXPECTED)
        throw Failure(ExitStatus::kDeviceRefused, what + " failed: " + ResultText(result) +
                                                      "; is the device's parameter protection switch on?");
    if (result != VK_OK) throw Failure::FromResult(what, result);
}

}  // namespace vkctl
