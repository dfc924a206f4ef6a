// A second-generation search answer: a record is filled only from a whole frame of its model's shape,
// and its address texts end inside their fields.
#include <cstdint>
#include <cstring>
#include <memory>

#include "codec/frame.h"
#include "codec/search_answer.h"
#include "fuzz_check.h"
#include "support/text_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vkcfg::codec;
    auto record = std::make_unique<VkSearchRecord>();
    const auto plain = Unscrambled({data, size});
    FUZZ_CHECK(plain.size() == size);
    const BinaryFill fill = FillFromBinarySearchAnswer(plain, *record);
    if (fill != BinaryFill::kFilled) {
        const VkSearchRecord cleared{};
        FUZZ_CHECK(std::memcmp(record.get(), &cleared, sizeof cleared) == 0);  // untouched
        return 0;
    }
    FUZZ_CHECK(size >= 158 || (size >= 148 && record->model_code >> 4 != 1));
    FUZZ_CHECK(record->model_code == data[9]);
    FUZZ_CHECK(vktest::UnterminatedText(record.get(), sizeof *record, vktest::kSearchRecordTexts).empty());
    return 0;
}
