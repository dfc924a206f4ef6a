#include "support/sandbox.h"

#include <linux/capability.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace torvane::test {
namespace {

std::string RunOnThread(const std::function<std::string()>& prepare, const std::function<void()>& body) {
    std::string why_not;
    std::thread t([&] {
        why_not = prepare();
        if (why_not.empty()) body();
    });
    t.join();
    return why_not;
}

}  // namespace

std::string RunInPrivateNetwork(const std::function<void()>& body) {
    return RunOnThread(
        [] {
            if (::unshare(CLONE_NEWNET) != 0)
                return std::string("no private network namespace (unshare: ") + std::strerror(errno) + ")";
            if (!Shell("ip link set lo up")) return std::string("the command ip cannot set up loopback");
            return std::string();
        },
        body);
}

std::string RunWithoutFilePrivilege(const std::function<void()>& body) {
    return RunOnThread(
        [] {
            if (::geteuid() != 0) return std::string();
            // Capabilities belong to the thread: dropping these leaves the rest of the process as it was.
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct data[2] = {};
            if (::syscall(SYS_capget, &header, data) != 0) return std::string("capget failed");
            data[0].effective &=
                ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
            if (::syscall(SYS_capset, &header, data) != 0)
                return std::string("cannot drop the file-override capabilities: ") + std::strerror(errno);
            return std::string();
        },
        body);
}

bool Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "torvane-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ec);
    std::filesystem::remove_all(path_, ec);
}

}  // namespace torvane::test
