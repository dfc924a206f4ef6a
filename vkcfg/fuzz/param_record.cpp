// A parameter record written as a frame and read back: the write frame has its layout's size and a
// valid checksum, and reading it gives back the block it was made from.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "codec/frame.h"
#include "codec/param_record.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vkcfg::codec;
    VkParamRecord record{};
    std::memcpy(&record, data, std::min(size, sizeof record));
    const auto block = RecordToBinaryBlock(record);
    if (!block) return 0;
    const uint8_t model = record.model_code;
    FUZZ_CHECK(block->size() == BinaryBlockSize(model));

    const auto frame = BuildParameterWriteFrame(*block);
    FUZZ_CHECK(frame.size() == ParameterFrameSize(model));
    FUZZ_CHECK(ChecksumMatches(frame));
    FUZZ_CHECK(HeaderByte(frame, frame::kModelCode) == model);

    const auto back = BinaryBlockOfFrame(Unscrambled(frame));
    FUZZ_CHECK(back.size() == block->size());
    FUZZ_CHECK(back[0] == model);
    // Block byte 1 is the frame's model code byte, which the record does not carry.
    FUZZ_CHECK(std::equal(back.begin() + 2, back.end(), block->begin() + 2));

    VkParamRecord read{};
    FUZZ_CHECK(BinaryBlockToRecord(back, read) == RecordLayoutSize(model));
    const auto rewritten = RecordToBinaryBlock(read);
    FUZZ_CHECK(rewritten && std::equal(rewritten->begin() + 2, rewritten->end(), block->begin() + 2));
    return 0;
}
