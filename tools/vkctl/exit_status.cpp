#include "exit_status.h"

#include "platform/local_port.h"
#include "vkcfg.h"

namespace vkctl {
namespace {

// No default case: a result code added to VkResult without a meaning here draws a compiler warning.
const char* Meaning(VkResult result) {
    switch (result) {
        case VK_OK:
            return "success";
        case VK_ERR_NETWORK:
            return "network error: socket, bind, broadcast or receive failure, or another program holds "
                   "local UDP port 65281";
        case VK_ERR_UNEXPECTED:
            return "unexpected answer: the device refused the request, or its answer was malformed";
        case VK_ERR_NO_ANSWER:
            return "no answer from the device";
        case VK_ERR_WRITE_PROTECTED:
            return "the device's parameters are write-protected";
        case VK_ERR_ARGUMENT:
            return "bad argument to the library";
        case VK_ERR_PASSWORD:
            return "user name or password refused";
        case VK_SECOND_GENERATION:
            return "the device is second-generation";
    }
    return nullptr;
}

}  // namespace

std::string ResultText(int result) {
    // Only values within the enumeration's range may be converted to it.
    const bool in_range = result >= VK_ERR_PASSWORD && result <= VK_SECOND_GENERATION;
    const char* meaning = in_range ? Meaning(static_cast<VkResult>(result)) : nullptr;
    return std::to_string(result) + " (" + (meaning ? meaning : "unknown result code") + ")";
}

ExitStatus StatusForResult(int result) {
    switch (result) {
        case VK_OK:
            return ExitStatus::kOk;
        case VK_ERR_NETWORK:
            return ExitStatus::kNetworkError;
        case VK_ERR_UNEXPECTED:
        case VK_ERR_WRITE_PROTECTED:
            return ExitStatus::kDeviceRefused;
        case VK_ERR_NO_ANSWER:
            return ExitStatus::kNoAnswer;
        case VK_ERR_PASSWORD:
            return ExitStatus::kPasswordRefused;
        default:
            return ExitStatus::kFailure;
    }
}

Failure::Failure(ExitStatus status, const std::string& message)
    : std::runtime_error(message), status_(status) {}

Failure Failure::FromResult(const std::string& what, int result) {
    // The library cannot bind a port that another program holds, and says only "network error": the
    // step that failed is then not what the operator needs to hear.
    if (result == VK_ERR_NETWORK && torvane::LocalUdpPortInUse(VK_LOCAL_PORT))
        return Failure(ExitStatus::kNetworkError, "local UDP port " + std::to_string(VK_LOCAL_PORT) +
                                                      " is in use: another Torvane or vkctl may be running");
    return Failure(StatusForResult(result), what + " failed: " + ResultText(result));
}

}  // namespace vkctl
