// Runs the vkctl program as a user would, against simulated devices in the test's own process.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "device_list.h"
#include "network.h"

namespace vkctltest {

struct Outcome {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs vkctl with the arguments, stdin from /dev/null (no terminal). The program sees
// VKCFG_BROADCAST=127.255.255.255 and no VKCTL_PASSWORD unless `env` gives them.
Outcome Vkctl(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {});

// Runs vkctl on a pseudo-terminal and answers each prompt that appears with the text given for it,
// in order. `screen` is everything the terminal showed.
struct TerminalOutcome {
    int status = -1;
    std::string screen;
};
TerminalOutcome VkctlOnTerminal(const std::vector<std::string>& args,
                                const std::vector<std::pair<std::string, std::string>>& answers);

// The requests that change a device: parameter writes and SAVE, serial-line commands, and the
// first generation's set commands.
std::vector<vksim::LoggedRequest> ChangeRequests(const vksim::Network& net);
// Login requests of either generation.
size_t LoginRequests(const vksim::Network& net);
size_t RequestsWithCommand(const vksim::Network& net, uint8_t command);
// The same once `expected` of them have been logged, or what has been logged after 2 s. vkctl sends its
// logout without waiting for an answer and may end before the simulator has taken the datagram in.
size_t RequestsWithCommandOnceLogged(const vksim::Network& net, uint8_t command, size_t expected);

// Lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// A failure's report: exactly one line on stderr, "vkctl: ...", holding `containing`.
::testing::AssertionResult OneErrorLine(const Outcome& o, const std::string& containing);

inline vksim::Device Make(const char* model, size_t index) {
    return vksim::MakeDevice(*vksim::FindModel(std::string(model)), index);
}
inline std::string Ip(const vksim::Device& d) {
    return vksim::IpText(d.address);
}
inline std::string Mac(const vksim::Device& d) {
    return vksim::MacDecimalText(d.mac);
}

}  // namespace vkctltest
