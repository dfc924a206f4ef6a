// The shared device table as another program may leave it: any bytes, any size. Only whole entries are
// read, and the record of a new row holds NUL-terminated texts and the entry's own MAC.
#include <cstdint>
#include <cstring>

#include "core/shared_table.h"
#include "fuzz_check.h"
#include "vkcfg.h"

namespace {

bool Terminated(const torvane::DeviceRecordBytes& r, size_t offset, size_t width) {
    return std::memchr(r.data() + offset, 0, width) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvane;
    const auto entries = EntriesOfView({data, size});
    FUZZ_CHECK(entries.size() == std::min(kSharedEntryCount, size / kSharedEntrySize));
    for (const auto& bytes : entries) {
        const auto entry = ParseSharedEntry(bytes);
        if (!entry) continue;
        FUZZ_CHECK(entry->name.size() <= 9 && entry->ip_text.size() <= 16 && entry->peer_ip.size() <= 14);
        const auto record = RecordOfSharedEntry(*entry);
        for (size_t offset : {VK_SR_DEVICE_NAME})
            FUZZ_CHECK(Terminated(record, offset, 10));
        for (size_t offset : {VK_SR_IP, VK_SR_NETMASK, VK_SR_GATEWAY, VK_SR_DNS1, VK_SR_DNS2, VK_SR_PEER_IP})
            FUZZ_CHECK(Terminated(record, offset, 16));
        FUZZ_CHECK(std::memcmp(record.data() + VK_SR_MAC, bytes.data() + kSeMac, 6) == 0);
    }
    return 0;
}
