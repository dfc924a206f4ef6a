// How vkctl ends: one exit status per class of failure, and the English meaning of the library's result
// codes (the library's own texts are GBK, for its C callers).
#pragma once

#include <stdexcept>
#include <string>

namespace vkctl {

enum class ExitStatus : int {
    kOk = 0,
    kFailure = 1,          // anything else, e.g. a model without a parameter layout
    kUsage = 2,            // bad command line, unknown field, value out of range, bad address text
    kNotFound = 3,         // no device answers at the address or with the MAC
    kPasswordRefused = 4,  // the device refused the user name and password
    kDeviceRefused = 5,    // the device refused the request or answered unexpectedly (write protection)
    kNoAnswer = 6,         // the device did not answer in time
    kNetworkError = 7,     // socket, bind, broadcast or receive failure (also: local port 65281 in use)
    kUpdateStopped = 8,  // update or data write stopped with the device unchanged (image refused, offline...)
    kUpdateInterrupted = 9,  // stopped after the backup: the device may hold incomplete firmware
    kDataWriteFailed = 10,   // the firmware was updated (or nothing was), but the data write failed
};

// The library's result code with its meaning: "-3 (no answer from the device)".
std::string ResultText(int result);

// The exit status of the failure class a library result belongs to.
ExitStatus StatusForResult(int result);

// A failure that ends the run: the line for stderr (without the program name) and the exit status.
class Failure : public std::runtime_error {
  public:
    Failure(ExitStatus status, const std::string& message);
    ExitStatus status() const { return status_; }

    // "<what> failed: -3 (no answer from the device)", with the status of the result's class; a
    // network error while another program holds the library's local port says that instead.
    static Failure FromResult(const std::string& what, int result);

  private:
    ExitStatus status_;
};

}  // namespace vkctl
