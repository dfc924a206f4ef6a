#include "core/shared_table.h"

#include <cstring>

#include "checked/reader.h"

namespace torvane {
namespace {

std::string Text(const SharedEntryBytes& b, size_t offset, size_t width) {
    return FieldText(b.data() + offset, width);
}

}  // namespace

std::vector<SharedEntryBytes> EntriesOfView(std::span<const uint8_t> view) {
    checked::Reader in(view);
    std::vector<SharedEntryBytes> entries;
    SharedEntryBytes entry;
    while (entries.size() < kSharedEntryCount && in.FetchCopy(entry))
        entries.push_back(entry);
    return entries;
}

std::optional<SharedDeviceEntry> ParseSharedEntry(const SharedEntryBytes& b) {
    if (b[kSeInUse] == 0) return std::nullopt;
    SharedDeviceEntry e;
    e.name = Text(b, kSeName, 9);
    std::memcpy(e.mac.data(), b.data() + kSeMac, e.mac.size());
    e.ip_text = Text(b, kSeIpText, 16);
    std::memcpy(e.local_port.data(), b.data() + kSeLocalPort, 2);
    e.ip = Text(b, kSeIp, 16);
    e.netmask = Text(b, kSeNetmask, 16);
    e.gateway = Text(b, kSeGateway, 16);
    e.dns1 = Text(b, kSeDns1, 16);
    e.dns2 = Text(b, kSeDns2, 16);
    e.peer_ip = Text(b, kSePeerIp, 14);
    return e;
}

DeviceRecordBytes RecordOfSharedEntry(const SharedDeviceEntry& e) {
    DeviceRecordBytes r{};
    r[VK_SR_MODEL_CODE] = 0;
    PutFieldText(r.data() + VK_SR_DEVICE_NAME, 10, e.name);
    std::memcpy(r.data() + VK_SR_MAC, e.mac.data(), e.mac.size());
    PutFieldText(r.data() + VK_SR_IP, 16, e.ip);
    PutFieldText(r.data() + VK_SR_NETMASK, 16, e.netmask);
    PutFieldText(r.data() + VK_SR_GATEWAY, 16, e.gateway);
    PutFieldText(r.data() + VK_SR_DNS1, 16, e.dns1);
    PutFieldText(r.data() + VK_SR_DNS2, 16, e.dns2);
    PutFieldText(r.data() + VK_SR_PEER_IP, 16, e.peer_ip);
    std::memcpy(r.data() + VK_SR_LOCAL_PORT, e.local_port.data(), 2);
    return r;
}

}  // namespace torvane
