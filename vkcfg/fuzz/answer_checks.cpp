// The checks every binary answer goes through (checksum, header bytes, acknowledgements, the extended
// payload), and the extended frame built around a payload and taken apart again.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "codec/addr_text.h"
#include "codec/frame.h"
#include "codec/param_record.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vkcfg::codec;
    const std::span<const uint8_t> d(data, size);
    const bool sealed = ChecksumMatches(d);
    FUZZ_CHECK(IsWriteAcknowledgement(d) == sealed);
    FUZZ_CHECK(IsSerialAcknowledgement(d) == (sealed && size >= kShortFrameSize));
    for (size_t at : {frame::kTag, frame::kCommand, frame::kModelCode})
        FUZZ_CHECK(HeaderByte(d, at).has_value() == (at < size));

    if (auto payload = ExtendedPayload(d)) {
        FUZZ_CHECK(size >= kShortFrameSize + kChecksumSize);
        FUZZ_CHECK(payload->data() == data + kShortFrameSize);
        FUZZ_CHECK(payload->size() == size - kShortFrameSize - kChecksumSize);
    } else {
        FUZZ_CHECK(size < kShortFrameSize + kChecksumSize);
    }

    auto plain = Unscrambled(d);
    FUZZ_CHECK(Unscrambled(plain) == std::vector<uint8_t>(data, data + size));

    MacBytes mac{};
    std::copy_n(data, std::min(size, mac.size()), mac.begin());
    const auto frame = BuildExtendedWriteFrame(mac, d);
    FUZZ_CHECK(ChecksumMatches(frame));
    const auto payload = ExtendedPayload(frame);
    FUZZ_CHECK(payload && std::equal(payload->begin(), payload->end(), data, data + size));
    return 0;
}
