// The object behind each row of the device list. A row's DeviceRecord is a byte copy of what a search
// returned (a VkSearchRecord, or a VkSearchRecordEx in its first 360 bytes), or zero for an
// address-book row not yet found. Its text fields are read with FieldText.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/address_text.h"
#include "core/field_text.h"
#include "vkcfg.h"

namespace torvane {

inline constexpr size_t kDeviceRecordSize = VK_SEARCH_RECORD_SIZE;
using DeviceRecordBytes = std::array<uint8_t, kDeviceRecordSize>;

class TDeviceParam {
  public:
    DeviceRecordBytes DeviceRecord{};  // zero-filled when created

    uint8_t model_code() const { return DeviceRecord[VK_SR_MODEL_CODE]; }
};

DeviceRecordBytes RecordBytes(const VkSearchRecord& record);
DeviceRecordBytes RecordBytes(const VkSearchRecordEx& record);  // 360 bytes, then zeros

// The device's MAC as its record holds it: an extended device's record (code 0x83) keeps it at another
// offset than a search record.
MacBytes MacOfRecord(const DeviceRecordBytes& record);

}  // namespace torvane
