// The named fields of the extended (time) device's 438-byte parameter block (offsets in
// ex_param_block.h). Bytes that no field names are carried unchanged from read to write.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/params/field.h"
#include "vkcfg.h"

namespace torvane::params {

inline constexpr size_t kExtendedBlockSize = VK_EX_PARAM_SIZE;

// The block's fields by name, in block order; `protocol_names` name the protocol values.
std::vector<Field> ExtendedFields(const std::vector<std::string>& protocol_names);

}  // namespace torvane::params
