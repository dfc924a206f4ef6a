// DevInfo.dat: every whole record gives one entry whose texts are at most their field's width, and the
// entries written back and read again are the same.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/book_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvane;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto entries = ParseBookRecords(bytes);
    FUZZ_CHECK(entries.size() == size / kBookRecordSize);
    std::string written;
    for (const auto& e : entries) {
        FUZZ_CHECK(e.ip.size() <= kBookIpWidth && e.name.size() <= kBookNameWidth);
        written += EncodeBookRecord(e);
    }
    const auto again = ParseBookRecords(written);
    FUZZ_CHECK(again.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        // Texts that filled their whole field lose their last byte to the NUL on the way back.
        FUZZ_CHECK(entries[i].ip.rfind(again[i].ip, 0) == 0 && again[i].ip.size() < kBookIpWidth);
        FUZZ_CHECK(entries[i].name.rfind(again[i].name, 0) == 0 && again[i].name.size() < kBookNameWidth);
    }
    return 0;
}
