#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/instance_lock.h"

namespace torvane {

std::filesystem::path RuntimeFolder() {
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir) return dir;
    const std::filesystem::path folder = "/tmp/torvane-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

InstanceLock InstanceLock::TryAcquire(const std::filesystem::path& lock_file) {
    // Close-on-exec: a program started from the manager must not inherit (and so keep) the lock.
    UniqueFd fd(::open(lock_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd) return {State::kUnavailable, UniqueFd(), lock_file.string() + ": " + std::strerror(errno)};
    for (;;) {
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) return {State::kAcquired, std::move(fd), {}};
        if (errno == EWOULDBLOCK) return {State::kHeldElsewhere, UniqueFd(), {}};
        if (errno != EINTR)
            return {State::kUnavailable, UniqueFd(), lock_file.string() + ": " + std::strerror(errno)};
    }
}

}  // namespace torvane
