#include "platform/shared_table_posix.h"

#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/unique_fd.h"

namespace torvane {
namespace {

class NamedSemaphore {
  public:
    explicit NamedSemaphore(const std::string& name) : sem_(::sem_open(name.c_str(), O_CREAT, 0666, 1)) {}
    ~NamedSemaphore() {
        if (held_) ::sem_post(sem_);
        if (sem_ != SEM_FAILED) ::sem_close(sem_);
    }
    NamedSemaphore(const NamedSemaphore&) = delete;
    NamedSemaphore& operator=(const NamedSemaphore&) = delete;

    bool Acquire(std::chrono::milliseconds wait) {
        if (sem_ == SEM_FAILED) return false;
        timespec deadline{};
        ::clock_gettime(CLOCK_MONOTONIC, &deadline);
        const auto ns = deadline.tv_nsec + std::chrono::nanoseconds(wait).count();
        deadline.tv_sec += static_cast<time_t>(ns / 1'000'000'000);
        deadline.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        int r;
        while ((r = ::sem_clockwait(sem_, CLOCK_MONOTONIC, &deadline)) != 0 && errno == EINTR) {
        }
        held_ = r == 0;
        return held_;
    }

  private:
    sem_t* sem_;
    bool held_ = false;
};

}  // namespace

PosixSharedTable::PosixSharedTable(SharedTableNames names, std::chrono::milliseconds wait)
    : names_(std::move(names)), wait_(wait) {}

SharedTableSnapshot PosixSharedTable::Read() {
    SharedTableSnapshot out;
    UniqueFd fd(::shm_open(names_.memory.c_str(), O_RDONLY | O_CLOEXEC, 0));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || st.st_size <= 0) return out;

    NamedSemaphore mutex(names_.mutex);
    if (!mutex.Acquire(wait_)) {
        out.status = SharedTableStatus::kBusy;
        return out;
    }
    // Read rather than mapped: a publisher that shrinks the memory meanwhile gives a short read here,
    // where a mapping would end the process with a bus error.
    std::vector<uint8_t> view(
        std::min(static_cast<size_t>(st.st_size), kSharedEntryCount * kSharedEntrySize));
    const ssize_t n = ::pread(fd.get(), view.data(), view.size(), 0);
    if (n < 0) return out;
    view.resize(static_cast<size_t>(n));
    out.entries = EntriesOfView(view);
    out.status = SharedTableStatus::kRead;
    return out;
}

}  // namespace torvane
