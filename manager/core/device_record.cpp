#include "core/device_record.h"

#include <algorithm>
#include <cstring>

namespace torvane {

static_assert(sizeof(VkSearchRecordEx) < kDeviceRecordSize);

std::string FieldText(const void* field, size_t width) {
    const char* p = static_cast<const char*>(field);
    const void* nul = std::memchr(p, 0, width);
    return std::string(p, nul ? static_cast<const char*>(nul) - p : width);
}

void PutFieldText(uint8_t* field, size_t width, const std::string& text) {
    std::memset(field, 0, width);
    if (width == 0) return;
    std::memcpy(field, text.data(), std::min(text.size(), width - 1));
}

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
