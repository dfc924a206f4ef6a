// A publisher of the shared device table, as the other program on the workstation keeps it: a named
// shared memory of 512 entries of 140 bytes guarded by a named mutex (here a POSIX semaphore). The
// manager only reads the table; vksim publishes one for tests and demos. The entry layout is written
// here from the publisher's side, apart from the manager's reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device.h"

namespace vksim {

struct TableNames {
    std::string memory = "/ARVELTO DEVICE INFOMATION DATA SHARE";
    std::string mutex = "/ARVELTO DATA SHARE MUTEX";
};

struct TableEntry {
    bool in_use = true;
    std::string name;  // texts are cut to their fields; a text that fills its field has no NUL
    Mac mac{};
    std::string ip_text;  // the address the list shows
    uint16_t port = 0;    // written in the publisher's byte order
    std::string ip, netmask, gateway, dns1, dns2, peer_ip;
};

// The entry a simulated device gets: its name, MAC, addresses and the data port of channel 0.
TableEntry EntryOf(const Device& device);

// An extra entry from "key=value" words separated by blanks or commas: name, mac, ip (the shown
// address and the IP setting), port, netmask, gateway, dns1, dns2, peer, inuse (0 or 1). Throws
// std::invalid_argument naming the bad word.
TableEntry ParseTableEntry(const std::string& words);

class SharedTablePublisher {
  public:
    static constexpr size_t kEntrySize = 140;
    static constexpr size_t kEntryCount = 512;

    // Creates the memory (`size` bytes, zero-filled) and a fresh mutex with the count 1; throws
    // std::runtime_error when either cannot be made. Both names are removed again by the destructor.
    explicit SharedTablePublisher(TableNames names = {}, size_t size = kEntrySize * kEntryCount);
    ~SharedTablePublisher();
    SharedTablePublisher(const SharedTablePublisher&) = delete;
    SharedTablePublisher& operator=(const SharedTablePublisher&) = delete;

    // Writes entry `index` under the mutex (an entry past the memory's end is not written).
    void Put(size_t index, const TableEntry& entry);
    // Entries 0 .. n-1 hold `entries`, every later entry is cleared.
    void Publish(const std::vector<TableEntry>& entries);

    const TableNames& names() const { return names_; }

  private:
    void Lock();
    void Unlock();
    void Write(size_t index, const TableEntry& entry);

    TableNames names_;
    size_t size_;
    uint8_t* memory_ = nullptr;
    void* mutex_ = nullptr;  // sem_t*
};

// Publishes the devices and then the extra entries (written as ParseTableEntry takes them) under the
// default names, for as long as the returned publisher lives.
std::unique_ptr<SharedTablePublisher> PublishTable(const std::vector<Device>& devices,
                                                   const std::vector<std::string>& extra_entries);

}  // namespace vksim
