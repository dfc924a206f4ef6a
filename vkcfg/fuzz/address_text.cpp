// Address and MAC texts: whatever parses converts back to a text that parses to the same bytes, and
// bytes written as text read back unchanged.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "codec/addr_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vkcfg::codec;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    if (auto ip = ParseDottedQuad(text)) {
        FUZZ_CHECK(AddrTextToBytes(text) == *ip);
        FUZZ_CHECK(ParseDottedQuad(AddrBytesToText(*ip)) == ip);
    } else {
        FUZZ_CHECK(AddrTextToBytes(text) == kBroadcastBytes);
    }

    MacBytes mac{1, 2, 3, 4, 5, 6};
    MacTextToBytes(text, mac);
    MacBytes back{};
    MacTextToBytes(MacText(mac), back);
    FUZZ_CHECK(back == mac);

    Ipv4Bytes raw{};
    std::copy_n(data, std::min(size, raw.size()), raw.begin());
    const auto raw_text = AddrBytesToText(raw);
    FUZZ_CHECK(raw_text.size() <= 15);
    FUZZ_CHECK(ParseDottedQuad(raw_text) == raw);
    return 0;
}
