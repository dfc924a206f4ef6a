// A first-generation search answer: whatever the datagram, the record's texts end inside their fields.
#include <cstdint>
#include <memory>

#include "codec/search_answer.h"
#include "fuzz_check.h"
#include "support/text_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto record = std::make_unique<VkSearchRecord>();  // searches parse into a cleared record
    vkcfg::codec::ParseTextSearchAnswer({data, size}, *record);
    FUZZ_CHECK(vktest::UnterminatedText(record.get(), sizeof *record, vktest::kSearchRecordTexts).empty());
    const vktest::TextField names[] = {{"device_name", VK_SR_DEVICE_NAME, 10},
                                       {"firmware_version", VK_SR_FIRMWARE_VERSION, 16}};
    FUZZ_CHECK(vktest::UnterminatedText(record.get(), sizeof *record, names).empty());
    return 0;
}
