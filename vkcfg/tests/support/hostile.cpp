#include "support/hostile.h"

#include <algorithm>
#include <stdexcept>

namespace vktest {
namespace {

constexpr uint8_t kScrambleMask = 0xF3;

bool Holds(const Bytes& forged, const Bytes& frame, std::initializer_list<size_t> keep) {
    for (size_t at : keep) {
        if (at < forged.size() && forged[at] != frame[at]) return false;
    }
    return true;
}

}  // namespace

Bytes Forged(const Bytes& frame, size_t length, std::initializer_list<size_t> keep) {
    Bytes prefix(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(std::min(length, frame.size())));
    prefix.resize(length, 0);
    if (length < 3) return prefix;
    const size_t body = length - 2;
    for (uint32_t variant = 0; variant <= 0xFFFF; ++variant) {
        Bytes b(prefix.begin(), prefix.begin() + static_cast<std::ptrdiff_t>(body));
        if (body > 1) b[1] = static_cast<uint8_t>(variant);
        if (body > 2) b[2] = static_cast<uint8_t>(variant >> 8);
        Bytes forged = WithChecksum(b);
        if (Holds(forged, frame, keep)) return forged;
    }
    throw std::runtime_error("no forgery of length " + std::to_string(length));
}

Bytes AnswerFrame(size_t size, uint8_t tag, uint8_t command, uint8_t model, uint16_t id) {
    Bytes f(size - 2, 0);
    f[0] = 0xFF;
    f[7] = tag;
    f[8] = command;
    f[9] = model;
    for (size_t i = 12; i < f.size(); ++i)
        f[i] = static_cast<uint8_t>('a' + i % 26);  // texts without a NUL anywhere
    const uint8_t mac[6] = {0x02, 0x00, 0x5E, 0x10, static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)};
    for (size_t i = 0; i < 6 && 12 + i < f.size(); ++i)
        f[12 + i] = mac[i];
    for (size_t i = 12; i < f.size(); ++i)
        f[i] ^= kScrambleMask;
    return WithChecksum(f);
}

}  // namespace vktest
