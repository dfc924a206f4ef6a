#include "codec/search_answer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "codec/addr_text.h"
#include "codec/byte_io.h"
#include "codec/frame.h"
#include "codec/models.h"

namespace vkcfg::codec {
namespace {

// Walks "/"-separated fields of a text answer. A field ends at "/", at a NUL or at the end of the
// bytes; after a NUL or the end every further field is empty.
class FieldCursor {
  public:
    explicit FieldCursor(std::span<const uint8_t> bytes) : in_(bytes) {}

    std::string_view Next() {
        if (ended_) return {};
        auto field = in_.FetchUntil([](uint8_t c) { return c == '/' || c == 0; });
        if (!in_.FetchIf('/')) ended_ = true;
        return Reader::TextOf(field);
    }

  private:
    Reader in_;
    bool ended_ = false;
};

uint16_t DecimalPrefix16(std::string_view text) {
    uint16_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = static_cast<uint16_t>(value * 10 + (c - '0'));
    }
    return value;
}

constexpr size_t kAddressTextChars = 15;
constexpr size_t kNameChars = 9;

// Byte offsets of the fields that a search reads from a parameter frame.
struct SearchShape {
    size_t firmware_version;
    size_t ip, netmask, gateway, dns1, dns2;
    size_t local_port;  // big-endian
    size_t peer_ip;
};
constexpr SearchShape kSinglePortShape{36, 52, 56, 60, 80, 84, 64, 68};
constexpr SearchShape kMultiPortShape{52, 68, 72, 76, 84, 88, 92, 94};
constexpr size_t kDeviceNameOffset = 20;

// An address of four bytes at `offset` as dotted text; false (field untouched) when the frame does not
// hold the four bytes.
template <size_t N>
bool SetAddress(char (&field)[N], const Reader& in, size_t offset) {
    Ipv4Bytes b;
    if (!in.CopyAt(offset, b)) return false;
    SetText(field, AddrBytesToText(b));
    return true;
}

// The bytes a search shape reads: a single-port frame, or a multi-port frame with its channels (at
// least channel 0, which is read even for a multi-port code the model table does not know).
size_t SearchShapeSize(Family family, size_t channels) {
    if (family == Family::kSinglePort) return kSinglePortFrameSize;
    return kMultiPortHeadSize + kChannelFrameSize * std::max<size_t>(channels, 1);
}

bool FillShape(const Reader& in, const SearchShape& s, VkSearchRecord& r) {
    return CopyField(r.firmware_version, in, s.firmware_version) &&
           CopyField(r.device_name, in, kDeviceNameOffset) && CopyField(r.mac, in, frame::kMac) &&
           SetAddress(r.ip, in, s.ip) && SetAddress(r.netmask, in, s.netmask) &&
           SetAddress(r.gateway, in, s.gateway) && in.U16BeAt(s.local_port, r.local_port) &&
           SetAddress(r.peer_ip, in, s.peer_ip) && SetAddress(r.dns1, in, s.dns1) &&
           SetAddress(r.dns2, in, s.dns2);
}

}  // namespace

TextAnswer ParseTextSearchAnswer(std::span<const uint8_t> datagram, VkSearchRecord& record) {
    Reader in(datagram);
    uint8_t status = 0;
    uint8_t second = 0;
    if (in.U8At(0, status) && in.U8At(1, second) && status == 'V' && second == 'B') {
        record.model_code = VK_MODEL_VKB200;
        return TextAnswer::kSecondGeneration;
    }
    if (!in.FetchIf('A')) {
        record.model_code = 0xFF;
        return TextAnswer::kNotDevice;
    }
    record.model_code = VK_MODEL_VKA100;

    FieldCursor one(in.Rest());
    MacBytes mac{};
    std::memcpy(mac.data(), record.mac, mac.size());
    MacTextToBytes(one.Next(), mac);
    std::memcpy(record.mac, mac.data(), mac.size());
    record.local_port = DecimalPrefix16(one.Next());
    for (int skipped = 0; skipped < 3; ++skipped)
        one.Next();
    SetText(record.device_name, one.Next(), kNameChars);

    // Part two starts two bytes after the first NUL. Without a NUL, or with nothing after the byte that
    // follows it, part one is all there is, and the sender's address stays in `ip`.
    in.Seek(0);
    in.FetchUntil([](uint8_t c) { return c == 0; });
    if (!in.Skip(2) || in.AtEnd()) return TextAnswer::kDevice;

    FieldCursor two(in.Rest());
    SetText(record.ip, two.Next(), kAddressTextChars);
    SetText(record.netmask, two.Next(), kAddressTextChars);
    SetText(record.gateway, two.Next(), kAddressTextChars);
    SetText(record.dns1, two.Next(), kAddressTextChars);
    SetText(record.dns2, two.Next(), kAddressTextChars);
    SetText(record.peer_ip, two.Next(), kAddressTextChars);
    std::string_view model_text = two.Next();
    if (model_text.find("VKB22") != std::string_view::npos) record.model_code = VK_MODEL_VKB220;
    SetText(record.firmware_version, two.Next(), kAddressTextChars);
    return TextAnswer::kDevice;
}

BinaryFill FillFromBinarySearchAnswer(std::span<const uint8_t> plain_frame, VkSearchRecord& record) {
    const Reader in(plain_frame);
    uint8_t model = 0;
    if (!in.U8At(frame::kModelCode, model)) return BinaryFill::kTooShort;
    const Family family = FamilyOf(model);
    if (family != Family::kSinglePort && family != Family::kMultiPort) return BinaryFill::kNoShape;
    const size_t channels = std::min<size_t>(ChannelCount(model), VK_MAX_CHANNELS);
    if (!in.Has(0, SearchShapeSize(family, channels))) return BinaryFill::kTooShort;

    // Filled in a copy, so that the caller's record is untouched unless every field was there.
    VkSearchRecord filled = record;
    filled.model_code = model;
    bool whole = FillShape(in, family == Family::kSinglePort ? kSinglePortShape : kMultiPortShape, filled);
    for (size_t k = 1; whole && family == Family::kMultiPort && k < channels; ++k) {
        whole =
            SetAddress(filled.channel_peer_ip[k - 1], in, kMultiPortShape.peer_ip + kChannelFrameSize * k);
    }
    if (!whole) return BinaryFill::kTooShort;
    record = filled;
    return BinaryFill::kFilled;
}

}  // namespace vkcfg::codec
