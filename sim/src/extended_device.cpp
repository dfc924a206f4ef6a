// The extended device's parameter write: header with marker 0xFF and the scrambled MAC, the whole
// parameter block plain from byte 42, checksum. Like the other devices it keeps the block until SAVE.
#include "handlers.h"
#include "layouts.h"

namespace vksim {

std::vector<Bytes> ExtendedWrite(Device& d, const Bytes& f) {
    constexpr uint8_t kMarker = 0xFF;
    if (f.size() != kHeaderSize + kExtendedBlockSize + 2 || f[kAtMarker] != kMarker) return {};
    if (d.faults.refuse_writes || !ParametersOpen(d)) return {WriteRefusal()};
    d.pending_write.assign(f.begin() + kHeaderSize, f.end() - 2);
    return {ShortAnswer(d, kCmdWrite, 0)};
}

}  // namespace vksim
