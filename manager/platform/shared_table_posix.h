// The shared device table read from POSIX shared memory under a named semaphore that serves as the
// table's mutex. The memory is opened read-only and mapped whole; the semaphore is created with the
// count 1 when it does not exist yet.
#pragma once

#include <chrono>
#include <string>

#include "core/shared_table.h"

namespace torvane {

struct SharedTableNames {
    std::string memory = "/ARVELTO DEVICE INFOMATION DATA SHARE";
    std::string mutex = "/ARVELTO DATA SHARE MUTEX";
};

class PosixSharedTable final : public SharedDeviceTable {
  public:
    explicit PosixSharedTable(SharedTableNames names = {},
                              std::chrono::milliseconds wait = std::chrono::milliseconds(1000));

    // Every entry that the mapped memory holds whole (at most 512), copied while the semaphore is
    // held; kAbsent without the memory, kBusy when the semaphore is not had within the wait.
    SharedTableSnapshot Read() override;

  private:
    SharedTableNames names_;
    std::chrono::milliseconds wait_;
};

}  // namespace torvane
