#include "core/device_record.h"

#include <cstring>

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

}  // namespace torvane
