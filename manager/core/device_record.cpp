#include "core/device_record.h"

#include <cstring>

#include "core/model_family.h"

namespace torvane {

static_assert(sizeof(VkSearchRecordEx) < kDeviceRecordSize);

DeviceRecordBytes RecordBytes(const VkSearchRecord& record) {
    DeviceRecordBytes out;
    std::memcpy(out.data(), &record, sizeof record);
    return out;
}

DeviceRecordBytes RecordBytes(const VkSearchRecordEx& record) {
    DeviceRecordBytes out{};
    std::memcpy(out.data(), &record, sizeof record);
    return out;
}

MacBytes MacOfRecord(const DeviceRecordBytes& record) {
    const size_t at = IsExtendedDevice(record[VK_SR_MODEL_CODE]) ? size_t{VK_SRX_MAC} : size_t{VK_SR_MAC};
    MacBytes mac;
    std::memcpy(mac.data(), record.data() + at, mac.size());
    return mac;
}

}  // namespace torvane
