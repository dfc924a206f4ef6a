// A second-generation read answer, decoded into a record of exactly its layout's size (AddressSanitizer
// sees any byte past it), encoded again and decoded once more: the two records are the same.
#include <cstdint>
#include <cstring>
#include <vector>

#include "codec/frame.h"
#include "codec/models.h"
#include "codec/param_record.h"
#include "fuzz_check.h"
#include "support/text_fields.h"

namespace {

using namespace vkcfg::codec;

// The record of a block in a buffer of exactly the layout's size.
std::vector<uint8_t> RecordOf(const std::vector<uint8_t>& block) {
    std::vector<uint8_t> record(RecordLayoutSize(block[0]), 0);
    auto& r = *reinterpret_cast<VkParamRecord*>(record.data());
    FUZZ_CHECK(BinaryBlockToRecord(block, r) == record.size());
    return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto block = BinaryBlockOfFrame(Unscrambled({data, size}));
    if (block.empty()) return 0;
    const uint8_t model = block[0];
    FUZZ_CHECK(block.size() == BinaryBlockSize(model));
    FUZZ_CHECK(size >= block.size() + kWorkBlockFrameOffset + kChecksumSize);
    FUZZ_CHECK(block.size() <= VKB_WORK_BLOCK_MAX);

    const auto record = RecordOf(block);
    const auto& r = *reinterpret_cast<const VkParamRecord*>(record.data());
    if (FamilyOf(model) == Family::kMultiPort) {
        FUZZ_CHECK(vktest::UnterminatedText(&r, record.size(), vktest::kMultiPortTexts).empty());
    } else {
        FUZZ_CHECK(vktest::UnterminatedText(&r, record.size(), vktest::kSinglePortTexts).empty());
    }
    if (FamilyOf(model) == Family::kFirstGeneration) return 0;  // 0x20 is read this way but never written

    const auto again = RecordToBinaryBlock(r);
    FUZZ_CHECK(again.has_value());  // every text the decoder wrote is an address the encoder takes
    FUZZ_CHECK(again->size() == block.size());
    FUZZ_CHECK(RecordOf(*again) == record);
    return 0;
}
