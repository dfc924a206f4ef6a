// The checks of the update's answers on any bytes, and answers built around the bytes taken apart
// again: what a check accepts it accepts for its stated reasons only, and its data is the answer's own.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/update/checksums.h"
#include "core/update/update_frames.h"
#include "fuzz_check.h"

namespace {

using torvane::Frame;

void CheckIdentify(std::span<const uint8_t> d) {
    const auto id = torvane::ParseIdentifyAnswer(d);
    FUZZ_CHECK(id.has_value() == (d.size() > 8));
    if (!id) return;
    FUZZ_CHECK(id->size == d.size());
    FUZZ_CHECK(id->model.size() <= 16 && id->version.size() <= 16);
    FUZZ_CHECK(id->model.find('\0') == std::string::npos && id->version.find('\0') == std::string::npos);
    FUZZ_CHECK(std::memcmp(id->model.data(), d.data() + 1, id->model.size()) == 0);
    const uint32_t n4 =
        d.size() >= 49 ? static_cast<uint32_t>(d[45] | d[46] << 8 | d[47] << 16 | uint32_t{d[48]} << 24) : 0;
    FUZZ_CHECK(id->n4 == n4);
}

void CheckStatus(std::span<const uint8_t> d) {
    const auto status = torvane::CheckStatusAnswer(d);
    FUZZ_CHECK((status == torvane::AnswerCheck::kAccepted) == (d.size() == 5 && d[2] == 0));
    FUZZ_CHECK((status == torvane::AnswerCheck::kRefused) == (d.size() == 5 && d[2] != 0));
}

void CheckRead(std::span<const uint8_t> d) {
    const auto read = torvane::CheckReadAnswer(d, 0x80, 128);
    if (read.check == torvane::ReadCheck::kInvalid) return;
    FUZZ_CHECK(d.size() >= 6 && d[2] == 0);
    const uint16_t sum = torvane::Sum16(d.first(d.size() - 2));
    FUZZ_CHECK(d[d.size() - 2] == sum >> 8 && d[d.size() - 1] == (sum & 0xFF));
    if (read.check == torvane::ReadCheck::kDamaged) {
        FUZZ_CHECK(d[3] == 0);
        return;
    }
    FUZZ_CHECK(d[3] == 0x80 && d.size() >= 4 + 128 + 2);
    FUZZ_CHECK(read.data.data() == d.data() + 4 && read.data.size() == 128);
}

// A read answer, a B read answer and a B write echo made around the input are accepted with its bytes.
void RoundTrips(std::span<const uint8_t> d) {
    const size_t n = std::min<size_t>(d.size(), 512);
    Frame read{0xFA, 0xF9, 0x00, 0x04};
    read.insert(read.end(), d.begin(), d.begin() + static_cast<long>(n));
    const uint16_t sum = torvane::Sum16(read);
    read.push_back(static_cast<uint8_t>(sum >> 8));
    read.push_back(static_cast<uint8_t>(sum & 0xFF));
    const auto answer = torvane::CheckReadAnswer(read, 0x04, n);
    FUZZ_CHECK(n == 0 || answer.check == torvane::ReadCheck::kData);
    FUZZ_CHECK(std::equal(answer.data.begin(), answer.data.end(), d.begin()));

    const uint16_t address = d.size() >= 2 ? static_cast<uint16_t>(d[0] << 8 | d[1]) : 0;
    const Frame write = torvane::BWriteRequest(address, d.first(n));
    FUZZ_CHECK(write.size() == n + 6);
    FUZZ_CHECK(torvane::CheckBWriteAnswer(std::span(write).first(4), write));
    Frame b_read(write.begin(), write.end() - 2);
    b_read[0] = 0xF9;
    const uint16_t crc = torvane::Crc16(b_read.data(), static_cast<uint16_t>(b_read.size()));
    b_read.push_back(static_cast<uint8_t>(crc >> 8));
    b_read.push_back(static_cast<uint8_t>(crc & 0xFF));
    const auto data = torvane::CheckBReadAnswer(b_read, n);
    FUZZ_CHECK(data && std::equal(data->begin(), data->end(), d.begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> d(data, size);
    CheckIdentify(d);
    CheckStatus(d);
    CheckRead(d);
    FUZZ_CHECK(!torvane::CheckBReadAnswer(d, 512) || size == 518);
    RoundTrips(d);
    return 0;
}
