// The single-instance rule's lock: an exclusive advisory lock (flock) on a file named after
// "Torvane is Running" in the user's runtime folder. The running instance holds it for its whole life;
// the kernel drops it with the process, so an instance that crashed or was killed never blocks the next
// start. The file itself may stay behind; only the lock on it counts.
#pragma once

#include <filesystem>
#include <string>

#include "platform/unique_fd.h"

namespace torvane {

inline constexpr const char* kInstanceName = "Torvane is Running";

// $XDG_RUNTIME_DIR when set, else /tmp/torvane-<uid> (created, private to the user).
std::filesystem::path RuntimeFolder();

class InstanceLock {
  public:
    enum class State {
        kAcquired,       // this process is the running instance
        kHeldElsewhere,  // another process holds the lock
        kUnavailable,    // the lock file could not be opened: no single-instance rule this time
    };

    // Tries once, without waiting.
    static InstanceLock TryAcquire(const std::filesystem::path& lock_file);

    State state() const { return state_; }
    const std::string& error() const { return error_; }

  private:
    InstanceLock(State state, UniqueFd fd, std::string error)
        : state_(state), fd_(std::move(fd)), error_(std::move(error)) {}
    State state_;
    UniqueFd fd_;  // open (and locked) for the process's life when acquired
    std::string error_;
};

}  // namespace torvane
