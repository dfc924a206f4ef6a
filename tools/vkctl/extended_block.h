// The extended (time) device's 438-byte parameter block, which the library moves unchanged: where its
// fields lie. Addresses are four bytes, first octet first; ports are 16 bits high byte first; the other
// 16-bit numbers low byte first; serial speeds are bit/s divided by 100. Bytes that no field names (the
// model code's neighbour, everything from offset 406 on...) are carried unchanged from read to write.
#pragma once

#include <cstddef>
#include <vector>

#include "core/params/ex_param_block.h"
#include "field.h"

namespace vkctl {

inline constexpr size_t kExtendedBlockSize = 438;

namespace extended = torvane::extended;

// The block's fields by name, in block order.
std::vector<Field> ExtendedFields();

}  // namespace vkctl
