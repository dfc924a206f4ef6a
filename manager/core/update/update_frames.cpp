#include "core/update/update_frames.h"

#include <algorithm>
#include <array>

#include "checked/reader.h"
#include "core/update/checksums.h"

namespace torvane {
namespace {

constexpr uint8_t kLead = 0xFA;
constexpr uint8_t kRead = 0xF9;
constexpr uint8_t kFirmwareBlock = 0xF8;
constexpr uint8_t kRestart = 0xF7;
constexpr uint8_t kDataBlock = 0xF6;
constexpr uint8_t kPrepare = 0xF5;
constexpr std::array<uint8_t, 6> kRestartKey{0x11, 0x22, 0x33, 0x44, 0x55, 0x66};

constexpr size_t kStatusSize = 5;
constexpr size_t kStatusAt = 2;
constexpr size_t kLengthCodeAt = 3;
constexpr size_t kDataAt = 4;
constexpr size_t kCheckSize = 2;
constexpr size_t kTextWidth = 16;
constexpr size_t kModelAt = 1;
constexpr size_t kVersionAt = 17;
constexpr size_t kN4At = 45;
constexpr size_t kMinIdentify = 9;
constexpr size_t kBWriteEchoSize = 4;

void AppendBe16(Frame& f, uint16_t v) {
    f.push_back(static_cast<uint8_t>(v >> 8));
    f.push_back(static_cast<uint8_t>(v & 0xFF));
}

Frame Summed(Frame f) {
    AppendBe16(f, Sum16(f));
    return f;
}

Frame CrcSealed(Frame f) {
    AppendBe16(f, Crc16(f.data(), static_cast<uint16_t>(f.size())));
    return f;
}

// Command, 16-bit field, data: the shape of every block request of both families.
Frame Addressed(std::initializer_list<uint8_t> head, uint16_t field, std::span<const uint8_t> data) {
    Frame f(head);
    AppendBe16(f, field);
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

// The trailing 16-bit check value, high byte first, and the bytes it covers.
struct Sealed {
    std::span<const uint8_t> body;
    uint16_t check = 0;
};

std::optional<Sealed> SplitCheck(const checked::Reader& r) {
    if (r.size() < kCheckSize) return std::nullopt;
    Sealed s;
    if (!r.U16BeAt(r.size() - kCheckSize, s.check) || !r.SpanAt(0, r.size() - kCheckSize, s.body))
        return std::nullopt;
    return s;
}

// The text of a zero-padded field; bytes past the end of the answer count as zero.
std::string FieldText(const checked::Reader& r, size_t offset) {
    std::span<const uint8_t> field;
    const size_t available = r.size() > offset ? std::min(kTextWidth, r.size() - offset) : 0;
    if (!r.SpanAt(offset, available, field)) return {};
    return std::string(checked::Reader::TextOf(field));
}

}  // namespace

Frame IdentifyRequest() {
    return Summed({kLead, kLead});
}
Frame ReadBlockRequest(uint16_t field) {
    return Summed(Addressed({kLead, kRead}, field, {}));
}
Frame PrepareRequest() {
    return Summed({kLead, kPrepare});
}
Frame RestartRequest() {
    Frame f{kLead, kRestart};
    f.insert(f.end(), kRestartKey.begin(), kRestartKey.end());
    return Summed(std::move(f));
}
Frame FirmwareBlockRequest(uint16_t field, std::span<const uint8_t> data) {
    return Summed(Addressed({kLead, kFirmwareBlock}, field, data));
}
Frame DataBlockRequest(uint16_t field, std::span<const uint8_t> data) {
    return Summed(Addressed({kLead, kDataBlock}, field, data));
}

Frame BReadRequest(uint16_t address) {
    return CrcSealed(Addressed({kRead, 0x00}, address, {}));
}
Frame BWriteRequest(uint16_t address, std::span<const uint8_t> data) {
    return CrcSealed(Addressed({kFirmwareBlock, 0x00}, address, data));
}
Frame BRestartRequest() {
    Frame f{kRestart};
    f.insert(f.end(), kRestartKey.begin(), kRestartKey.end());
    return CrcSealed(std::move(f));
}
Frame BPollRequest() {
    return {kLead};
}

std::optional<IdentifyAnswer> ParseIdentifyAnswer(std::span<const uint8_t> answer) {
    const checked::Reader r(answer);
    if (r.size() < kMinIdentify) return std::nullopt;
    IdentifyAnswer a;
    a.size = r.size();
    a.model = FieldText(r, kModelAt);
    a.version = FieldText(r, kVersionAt);
    if (!r.U32LeAt(kN4At, a.n4)) a.n4 = 0;
    return a;
}

AnswerCheck CheckStatusAnswer(std::span<const uint8_t> answer) {
    const checked::Reader r(answer);
    uint8_t status = 0;
    if (r.size() != kStatusSize || !r.U8At(kStatusAt, status)) return AnswerCheck::kInvalid;
    return status == 0 ? AnswerCheck::kAccepted : AnswerCheck::kRefused;
}

ReadAnswer CheckReadAnswer(std::span<const uint8_t> answer, uint8_t length_code, size_t data_size) {
    const checked::Reader r(answer);
    const auto sealed = SplitCheck(r);
    uint8_t status = 0, code = 0;
    if (r.size() < kDataAt + kCheckSize || !sealed || sealed->check != Sum16(sealed->body) ||
        !r.U8At(kStatusAt, status) || !r.U8At(kLengthCodeAt, code) || status != 0)
        return {};
    if (code == 0) return {ReadCheck::kDamaged, {}};
    ReadAnswer out;
    if (code != length_code || !checked::Reader(sealed->body).SpanAt(kDataAt, data_size, out.data)) return {};
    out.check = ReadCheck::kData;
    return out;
}

std::optional<std::span<const uint8_t>> CheckBReadAnswer(std::span<const uint8_t> answer, size_t data_size) {
    const checked::Reader r(answer);
    const auto sealed = SplitCheck(r);
    std::span<const uint8_t> data;
    if (r.size() != data_size + kDataAt + kCheckSize || !sealed ||
        sealed->check != Crc16(sealed->body.data(), static_cast<uint16_t>(sealed->body.size())) ||
        !r.SpanAt(kDataAt, data_size, data))
        return std::nullopt;
    return data;
}

bool CheckBWriteAnswer(std::span<const uint8_t> answer, std::span<const uint8_t> request) {
    const checked::Reader r(answer), q(request);
    std::span<const uint8_t> echo, expected;
    return r.size() == kBWriteEchoSize && r.SpanAt(0, kBWriteEchoSize, echo) &&
           q.SpanAt(0, kBWriteEchoSize, expected) && std::equal(echo.begin(), echo.end(), expected.begin());
}

}  // namespace torvane
