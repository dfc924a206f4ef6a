#include "platform/shared_table_posix.h"

#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/unique_fd.h"

namespace torvane {
namespace {

class Mapping {
  public:
    Mapping(int fd, size_t size) : size_(size) {
        void* p = size > 0 ? ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0) : MAP_FAILED;
        data_ = p == MAP_FAILED ? nullptr : static_cast<const uint8_t*>(p);
    }
    ~Mapping() {
        if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
    }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    const uint8_t* data_ = nullptr;
    size_t size_;
};

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
    const Mapping view(fd.get(), static_cast<size_t>(st.st_size));
    if (!view.data()) return out;

    NamedSemaphore mutex(names_.mutex);
    if (!mutex.Acquire(wait_)) {
        out.status = SharedTableStatus::kBusy;
        return out;
    }
    const size_t count = std::min(kSharedEntryCount, view.size() / kSharedEntrySize);
    out.entries.resize(count);
    for (size_t i = 0; i < count; ++i)
        std::memcpy(out.entries[i].data(), view.data() + i * kSharedEntrySize, kSharedEntrySize);
    out.status = SharedTableStatus::kRead;
    return out;
}

}  // namespace torvane
