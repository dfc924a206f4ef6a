// The shared device table that another program on the workstation may publish: 512 entries of 140
// bytes in a named shared memory, guarded by a named mutex. The manager only reads it. This file holds
// the entry layout and the seam through which the device list gets the entries; the platform layer
// reads the memory itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/address_text.h"
#include "core/device_record.h"

namespace torvane {

inline constexpr size_t kSharedEntrySize = 140;
inline constexpr size_t kSharedEntryCount = 512;
using SharedEntryBytes = std::array<uint8_t, kSharedEntrySize>;

// Byte offsets of the fields of an entry that the manager reads (texts are NUL-terminated).
enum SharedEntryOffset : size_t {
    kSeInUse = 4,       // 1 byte, non-zero when the entry holds a device
    kSeName = 12,       // 9 bytes
    kSeMac = 21,        // 6 raw bytes
    kSeIpText = 27,     // 16 bytes: the address the list shows
    kSeLocalPort = 44,  // 2 bytes, copied unchanged
    kSeIp = 46,         // 16 bytes each from here on
    kSeNetmask = 62,
    kSeGateway = 78,
    kSeDns1 = 94,
    kSeDns2 = 110,
    kSePeerIp = 126,  // 14 bytes
};

struct SharedDeviceEntry {
    std::string name;     // at most 9 bytes
    MacBytes mac{};       // raw
    std::string ip_text;  // at most 16 bytes
    std::array<uint8_t, 2> local_port{};
    std::string ip, netmask, gateway, dns1, dns2, peer_ip;
};

// The whole entries of a view of the table's memory, at most 512: a smaller view gives the entries that
// fit in it, and the bytes of a last partial entry are not read.
std::vector<SharedEntryBytes> EntriesOfView(std::span<const uint8_t> view);

// The entry's fields; nothing when its in-use byte is 0.
std::optional<SharedDeviceEntry> ParseSharedEntry(const SharedEntryBytes& bytes);

// The record a new row of the entry holds: model code 0, the name, the MAC, the address texts (at most
// 15 bytes each) and the 16-bit value; every other byte zero.
DeviceRecordBytes RecordOfSharedEntry(const SharedDeviceEntry& entry);

enum class SharedTableStatus {
    kRead,    // entries holds every entry that the mapped memory holds whole (at most 512)
    kAbsent,  // no such shared memory, or it cannot be mapped
    kBusy,    // its mutex was not acquired within 1000 ms
};

struct SharedTableSnapshot {
    SharedTableStatus status = SharedTableStatus::kAbsent;
    std::vector<SharedEntryBytes> entries;
};

class SharedDeviceTable {
  public:
    virtual ~SharedDeviceTable() = default;
    // Reads the whole table while holding its mutex.
    virtual SharedTableSnapshot Read() = 0;
};

}  // namespace torvane
