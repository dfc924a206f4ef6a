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
    explicit FieldCursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    std::string_view Next() {
        size_t start = pos_;
        while (!ended_ && pos_ < bytes_.size() && bytes_[pos_] != '/' && bytes_[pos_] != 0)
            ++pos_;
        std::string_view field(reinterpret_cast<const char*>(bytes_.data()) + start, pos_ - start);
        if (pos_ < bytes_.size() && bytes_[pos_] == '/') {
            ++pos_;
        } else {
            ended_ = true;
        }
        return field;
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
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
constexpr size_t kDeviceNameSize = 10;
constexpr size_t kFirmwareSize = 16;

template <size_t N>
void SetAddress(char (&field)[N], const ByteReader& in, size_t offset) {
    Ipv4Bytes b{in.U8(offset), in.U8(offset + 1), in.U8(offset + 2), in.U8(offset + 3)};
    SetText(field, AddrBytesToText(b));
}

}  // namespace

TextAnswer ParseTextSearchAnswer(std::span<const uint8_t> datagram, VkSearchRecord& record) {
    if (datagram.size() >= 2 && datagram[0] == 'V' && datagram[1] == 'B') {
        record.model_code = VK_MODEL_VKB200;
        return TextAnswer::kSecondGeneration;
    }
    if (datagram.empty() || datagram[0] != 'A') {
        record.model_code = 0xFF;
        return TextAnswer::kNotDevice;
    }
    record.model_code = VK_MODEL_VKA100;

    FieldCursor one(datagram.subspan(1));
    MacBytes mac{};
    std::memcpy(mac.data(), record.mac, mac.size());
    MacTextToBytes(one.Next(), mac);
    std::memcpy(record.mac, mac.data(), mac.size());
    record.local_port = DecimalPrefix16(one.Next());
    for (int skipped = 0; skipped < 3; ++skipped)
        one.Next();
    SetText(record.device_name, one.Next(), kNameChars);

    auto nul = std::find(datagram.begin(), datagram.end(), uint8_t{0});
    size_t part_two = static_cast<size_t>(nul - datagram.begin()) + 2;
    // No NUL, or a NUL with nothing after the byte that follows it: part one is all there is, and the
    // sender's address stays in `ip`.
    if (nul == datagram.end() || part_two >= datagram.size()) return TextAnswer::kDevice;

    FieldCursor two(datagram.subspan(part_two));
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
    ByteReader in(plain_frame);
    const uint8_t model = in.U8(frame::kModelCode);
    const Family family = FamilyOf(model);
    if (family != Family::kSinglePort && family != Family::kMultiPort) return BinaryFill::kNoShape;
    const size_t channels = ChannelCount(model);
    // Channel 0 is read even for a multi-port code that the model table does not know.
    const size_t needed = family == Family::kSinglePort
                              ? kSinglePortFrameSize
                              : kMultiPortHeadSize + kChannelFrameSize * std::max<size_t>(channels, 1);
    if (in.size() < needed) return BinaryFill::kTooShort;

    const SearchShape& s = family == Family::kSinglePort ? kSinglePortShape : kMultiPortShape;
    record.model_code = model;
    SetBytes(record.firmware_version, in.Bytes(s.firmware_version, kFirmwareSize));
    SetBytes(record.device_name, in.Bytes(kDeviceNameOffset, kDeviceNameSize));
    auto mac = in.Bytes(frame::kMac, frame::kMacSize);
    std::memcpy(record.mac, mac.data(), mac.size());
    SetAddress(record.ip, in, s.ip);
    SetAddress(record.netmask, in, s.netmask);
    SetAddress(record.gateway, in, s.gateway);
    record.local_port = in.U16Be(s.local_port);
    SetAddress(record.peer_ip, in, s.peer_ip);
    SetAddress(record.dns1, in, s.dns1);
    SetAddress(record.dns2, in, s.dns2);
    if (family == Family::kMultiPort) {
        for (size_t k = 1; k < channels && k < VK_MAX_CHANNELS; ++k) {
            SetAddress(record.channel_peer_ip[k - 1], in, kMultiPortShape.peer_ip + kChannelFrameSize * k);
        }
    }
    return BinaryFill::kFilled;
}

}  // namespace vkcfg::codec
