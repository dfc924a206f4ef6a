// First-generation answers to the parameter read: the first byte picks the request, the rest is the
// datagram. Whatever is stored, every text of the work block but the URL ends inside its field, and the
// block converts to the record and back unchanged.
#include <cstdint>
#include <cstring>
#include <string>

#include "codec/param_record.h"
#include "codec/text_commands.h"
#include "fuzz_check.h"
#include "support/text_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vkcfg::codec;
    if (size == 0) return 0;
    static const auto requests = ReadRequests("0.26.43.60.77.94");
    const std::string& request = requests[data[0] % requests.size()];
    // The receive buffer ends every datagram with a NUL; the answer is its text up to the first NUL.
    std::string datagram(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string answer = TakeAnswer(request, AnswerText({data + 1, size - 1}));
    FUZZ_CHECK(answer.size() <= datagram.size() + TagOf(request).size());
    FUZZ_CHECK(AnswerValue(answer).size() <= answer.size());
    FUZZ_CHECK(AnswerTag(answer).size() <= 2);

    VkaWorkBlock block{};
    StoreAnswer(answer, block);
    FUZZ_CHECK(vktest::UnterminatedText(&block, sizeof block, vktest::kWorkBlockTexts).empty());

    VkParamSinglePort record{};
    TextBlockToRecord(block, record);
    FUZZ_CHECK(record.stop_bits == 1);
    const VkaWorkBlock back = RecordToTextBlock(record);
    FUZZ_CHECK(std::memcmp(&back, &block, sizeof block) == 0);
    return 0;
}
