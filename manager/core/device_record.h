// The object behind each row of the device list and the fixed-width text fields of the records it
// holds. A row's DeviceRecord is a byte copy of what a search returned (a VkSearchRecord, or a
// VkSearchRecordEx in its first 360 bytes), or zero for an address-book row not yet found.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "vkcfg.h"

namespace torvane {

inline constexpr size_t kDeviceRecordSize = VK_SEARCH_RECORD_SIZE;
using DeviceRecordBytes = std::array<uint8_t, kDeviceRecordSize>;

class TDeviceParam {
  public:
    DeviceRecordBytes DeviceRecord{};  // zero-filled when created

    uint8_t model_code() const { return DeviceRecord[VK_SR_MODEL_CODE]; }
};

// The text of a fixed-width field: its bytes up to the first NUL, or all `width` bytes without one.
std::string FieldText(const void* field, size_t width);

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return FieldText(field, N);
}

// Writes `text` into a field of `width` bytes: at most width - 1 bytes, then zeros to the end.
void PutFieldText(uint8_t* field, size_t width, const std::string& text);

DeviceRecordBytes RecordBytes(const VkSearchRecord& record);
DeviceRecordBytes RecordBytes(const VkSearchRecordEx& record);  // 360 bytes, then zeros

}  // namespace torvane
