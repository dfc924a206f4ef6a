#include "codec/param_record.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "codec/byte_io.h"
#include "codec/frame.h"
#include "codec/models.h"

namespace vkcfg::codec {
namespace {

template <typename T, size_t N>
void CopyField(T (&dst)[N], const T (&src)[N]) {
    std::memcpy(dst, src, N);
}

// ---- Field maps of the second-generation parameter frames ---------------------------------------
// Each entry ties a frame offset (from the frame's start) to a record offset; reading and writing walk
// the same table, so the two directions can never disagree.

enum class Kind {
    kBytes,    // copied unchanged, `width` bytes
    kAddress,  // four bytes in the frame, dotted text (16-byte field) in the record
    kU8,       // one byte
    kPortBe,   // 16 bits, big-endian in the frame
    kWordLe,   // 16 bits, little-endian in the frame
    kBaud100,  // 16 bits little-endian in the frame (bit/s / 100), 32-bit bit/s in the record
};

struct FieldMap {
    size_t frame;
    Kind kind;
    size_t record;
    size_t width = 0;
};

#define SP(field) offsetof(VkParamSinglePort, field)
constexpr FieldMap kSinglePort[] = {
    {12, Kind::kBytes, SP(mac), 6},
    {20, Kind::kBytes, SP(device_name), 10},
    {36, Kind::kBytes, SP(firmware_version), 16},
    {52, Kind::kAddress, SP(ip)},
    {56, Kind::kAddress, SP(netmask)},
    {60, Kind::kAddress, SP(gateway)},
    {64, Kind::kPortBe, SP(local_port)},
    {66, Kind::kU8, SP(work_mode)},
    {67, Kind::kU8, SP(dhcp)},
    {68, Kind::kAddress, SP(peer_ip)},
    {72, Kind::kPortBe, SP(peer_port)},
    {74, Kind::kU8, SP(protocol)},
    {75, Kind::kU8, SP(url_switch)},
    {76, Kind::kU8, SP(auto_dns)},
    {80, Kind::kAddress, SP(dns1)},
    {84, Kind::kAddress, SP(dns2)},
    {88, Kind::kBytes, SP(url), 30},
    {124, Kind::kWordLe, SP(max_length)},
    {126, Kind::kU8, SP(max_interval)},
    {127, Kind::kU8, SP(keep_alive)},
    {128, Kind::kBaud100, SP(baud_rate)},
    {132, Kind::kU8, SP(data_bits)},
    {133, Kind::kU8, SP(parity)},
    {134, Kind::kU8, SP(stop_bits)},
    {135, Kind::kU8, SP(flow_control)},
    {136, Kind::kBytes, SP(user_name), 10},
    {146, Kind::kBytes, SP(password), 10},
};
#undef SP

#define MP(field) offsetof(VkParamMultiPort, field)
constexpr FieldMap kMultiPortHead[] = {
    {12, Kind::kBytes, MP(mac), 6},
    {20, Kind::kBytes, MP(device_name), 10},
    {30, Kind::kBytes, MP(user_name), 10},
    {40, Kind::kBytes, MP(password), 10},
    {52, Kind::kBytes, MP(firmware_version), 16},
    {68, Kind::kAddress, MP(ip)},
    {72, Kind::kAddress, MP(netmask)},
    {76, Kind::kAddress, MP(gateway)},
    {80, Kind::kU8, MP(option_a)},
    {81, Kind::kU8, MP(option_b)},
    {84, Kind::kAddress, MP(dns1)},
    {88, Kind::kAddress, MP(dns2)},
};
#undef MP

// Channel i: frame offsets from 92 + 54 i, record offsets from 156 + 68 i.
#define CH(field) offsetof(VkParamChannel, field)
constexpr FieldMap kChannel[] = {
    {0, Kind::kPortBe, CH(local_port)},        {2, Kind::kAddress, CH(peer_ip)},
    {6, Kind::kPortBe, CH(peer_port)},         {8, Kind::kBytes, CH(channel_options), 4},
    {12, Kind::kBytes, CH(url), 30},           {44, Kind::kBaud100, CH(baud_rate)},
    {46, Kind::kBytes, CH(channel_serial), 4}, {50, Kind::kWordLe, CH(channel_word)},
    {52, Kind::kU8, CH(channel_byte)},
};
#undef CH

constexpr size_t kAddressField = 16;

// The VKB220 answers a second-generation read in the single-port frame, though it has no
// second-generation write.
size_t FrameSizeOf(uint8_t model) {
    return model == VK_MODEL_VKB220 ? kSinglePortFrameSize : ParameterFrameSize(model);
}

// Frame bytes -> record bytes. `frame` is indexed by frame offset (a block shifted by 8 bytes). False
// when a field is missing from the frame; the fields before it have been written then.
bool ReadFields(std::span<const FieldMap> map, const Reader& frame, size_t frame_base, uint8_t* record,
                size_t record_base) {
    for (const auto& f : map) {
        const size_t at = frame_base + f.frame;
        uint8_t* dst = record + record_base + f.record;
        switch (f.kind) {
            case Kind::kBytes:
                if (!frame.CopyAt(at, std::span(dst, f.width))) return false;
                break;
            case Kind::kAddress: {
                Ipv4Bytes a;
                if (!frame.CopyAt(at, a)) return false;
                std::string text = AddrBytesToText(a);
                std::memset(dst, 0, kAddressField);
                std::memcpy(dst, text.data(), std::min(text.size(), kAddressField - 1));
                break;
            }
            case Kind::kU8:
                if (!frame.U8At(at, *dst)) return false;
                break;
            case Kind::kPortBe:
            case Kind::kWordLe: {
                uint16_t v;
                if (!(f.kind == Kind::kPortBe ? frame.U16BeAt(at, v) : frame.U16LeAt(at, v))) return false;
                std::memcpy(dst, &v, 2);
                break;
            }
            case Kind::kBaud100: {
                uint16_t hundreds;
                if (!frame.U16LeAt(at, hundreds)) return false;
                uint32_t v = static_cast<uint32_t>(hundreds) * 100u;
                std::memcpy(dst, &v, 4);
                break;
            }
        }
    }
    return true;
}

// Record bytes -> frame bytes; false when an address text does not parse.
bool WriteFields(std::span<const FieldMap> map, const uint8_t* record, size_t record_base, Writer& frame,
                 size_t frame_base) {
    for (const auto& f : map) {
        const size_t at = frame_base + f.frame;
        const uint8_t* src = record + record_base + f.record;
        switch (f.kind) {
            case Kind::kBytes:
                if (!frame.BytesAt(at, std::span(src, f.width))) return false;
                break;
            case Kind::kAddress: {
                std::string_view text(reinterpret_cast<const char*>(src),
                                      strnlen(reinterpret_cast<const char*>(src), kAddressField));
                Ipv4Bytes a{};
                if (!text.empty()) {
                    auto parsed = ParseDottedQuad(text);
                    if (!parsed) return false;
                    a = *parsed;
                }
                if (!frame.BytesAt(at, a)) return false;
                break;
            }
            case Kind::kU8:
                if (!frame.U8At(at, *src)) return false;
                break;
            case Kind::kPortBe: {
                uint16_t v;
                std::memcpy(&v, src, 2);
                if (!frame.U16BeAt(at, v)) return false;
                break;
            }
            case Kind::kWordLe: {
                uint16_t v;
                std::memcpy(&v, src, 2);
                if (!frame.U16LeAt(at, v)) return false;
                break;
            }
            case Kind::kBaud100: {
                uint32_t v;
                std::memcpy(&v, src, 4);
                if (!frame.U16LeAt(at, static_cast<uint16_t>(v / 100u))) return false;
                break;
            }
        }
    }
    return true;
}

// The two forms hold the same settings under the same names.
template <typename From, typename To>
void CopySharedFields(const From& from, To& to) {
    to.model_code = from.model_code;
    CopyField(to.user_name, from.user_name);
    CopyField(to.password, from.password);
    CopyField(to.device_name, from.device_name);
    CopyField(to.firmware_version, from.firmware_version);
    CopyField(to.mac, from.mac);
    CopyField(to.ip, from.ip);
    to.local_port = from.local_port;
    CopyField(to.peer_ip, from.peer_ip);
    to.peer_port = from.peer_port;
    CopyField(to.netmask, from.netmask);
    CopyField(to.gateway, from.gateway);
    CopyField(to.dns1, from.dns1);
    CopyField(to.dns2, from.dns2);
    CopyField(to.url, from.url);
    to.protocol = from.protocol;
    to.work_mode = from.work_mode;
    to.dhcp = from.dhcp;
    to.url_switch = from.url_switch;
    to.auto_dns = from.auto_dns;
    to.network_mode = from.network_mode;
    to.keep_alive = from.keep_alive;
    to.max_interval = from.max_interval;
    to.max_length = from.max_length;
    to.baud_rate = from.baud_rate;
    to.parity = from.parity;
    to.data_bits = from.data_bits;
    to.flow_control = from.flow_control;
}

}  // namespace

void TextBlockToRecord(const VkaWorkBlock& b, VkParamSinglePort& r) {
    CopySharedFields(b, r);
    r.stop_bits = 1;  // the first generation always uses one stop bit
}

VkaWorkBlock RecordToTextBlock(const VkParamSinglePort& r) {
    VkaWorkBlock b{};
    CopySharedFields(r, b);
    return b;
}

size_t BinaryBlockSize(uint8_t model_code) {
    size_t frame = FrameSizeOf(model_code);
    return frame == 0 ? 0 : frame - kWorkBlockFrameOffset - kChecksumSize;
}

size_t RecordLayoutSize(uint8_t model_code) {
    if (BinaryBlockSize(model_code) == 0) return 0;
    if (FamilyOf(model_code) != Family::kMultiPort) return VK_PARAM_SINGLE_SIZE;
    return VK_PARAM_MULTI_HEAD_SIZE +
           VK_PARAM_CHANNEL_SIZE * std::min<size_t>(ChannelCount(model_code), VK_MAX_CHANNELS);
}

bool SameRecordLayout(uint8_t a, uint8_t b) {
    return RecordLayoutSize(a) == RecordLayoutSize(b) && BinaryBlockSize(a) == BinaryBlockSize(b);
}

std::vector<uint8_t> BinaryBlockOfFrame(std::span<const uint8_t> plain_frame) {
    const Reader in(plain_frame);
    uint8_t model = 0;
    if (!in.U8At(frame::kModelCode, model)) return {};
    const size_t size = BinaryBlockSize(model);
    std::span<const uint8_t> bytes;
    // A whole frame of the layout: the block and the checksum after it.
    if (size == 0 || !in.Has(kWorkBlockFrameOffset, size + kChecksumSize) ||
        !in.SpanAt(kWorkBlockFrameOffset, size, bytes))
        return {};
    std::vector<uint8_t> block(bytes.begin(), bytes.end());
    block[0] = model;
    return block;
}

size_t BinaryBlockToRecord(std::span<const uint8_t> block, VkParamRecord& record) {
    const uint8_t model = block.empty() ? 0 : block[0];
    const size_t size = BinaryBlockSize(model);
    if (size == 0 || block.size() < size) return 0;
    // Indexing the block by frame offsets: frame offset o is block byte o - 8. The record is built in a
    // copy and stored only when every field was there.
    std::vector<uint8_t> frame(kWorkBlockFrameOffset, 0);
    frame.insert(frame.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
    const Reader in(frame);
    const size_t layout = RecordLayoutSize(model);
    VkParamRecord filled{};
    std::memcpy(&filled, &record, layout);  // bytes of the layout the fields leave alone stay as they were
    auto* out = reinterpret_cast<uint8_t*>(&filled);
    filled.model_code = model;
    bool whole;
    if (FamilyOf(model) == Family::kMultiPort) {
        whole = ReadFields(kMultiPortHead, in, 0, out, 0);
        const size_t n = std::min<size_t>(ChannelCount(model), VK_MAX_CHANNELS);
        for (size_t i = 0; whole && i < n; ++i) {
            whole = ReadFields(kChannel, in, kChannelFrameBase + kChannelFrameSize * i, out,
                               VK_PARAM_MULTI_HEAD_SIZE + VK_PARAM_CHANNEL_SIZE * i);
        }
    } else {
        whole = ReadFields(kSinglePort, in, 0, out, 0);
        filled.single.network_mode = 0;  // a first-generation setting; the second generation has none
    }
    if (!whole) return 0;
    std::memcpy(&record, &filled, layout);
    return layout;
}

std::optional<std::vector<uint8_t>> RecordToBinaryBlock(const VkParamRecord& record) {
    const uint8_t model = record.model_code;
    const Family family = FamilyOf(model);
    if (family != Family::kSinglePort && family != Family::kMultiPort) return std::nullopt;
    std::vector<uint8_t> frame(FrameSizeOf(model), 0);
    Writer out(frame);
    const auto* in = reinterpret_cast<const uint8_t*>(&record);
    bool ok;
    if (family == Family::kMultiPort) {
        ok = WriteFields(kMultiPortHead, in, 0, out, 0);
        const size_t n = std::min<size_t>(ChannelCount(model), VK_MAX_CHANNELS);
        for (size_t i = 0; ok && i < n; ++i) {
            ok = WriteFields(kChannel, in, VK_PARAM_MULTI_HEAD_SIZE + VK_PARAM_CHANNEL_SIZE * i, out,
                             kChannelFrameBase + kChannelFrameSize * i);
        }
    } else {
        ok = WriteFields(kSinglePort, in, 0, out, 0);
    }
    if (!ok) return std::nullopt;
    std::vector<uint8_t> block(frame.begin() + kWorkBlockFrameOffset, frame.end() - kChecksumSize);
    block[0] = model;
    return block;
}

std::vector<uint8_t> BuildParameterWriteFrame(std::span<const uint8_t> block) {
    const uint8_t model = block.empty() ? 0 : block[0];
    const Family family = FamilyOf(model);
    const size_t size = BinaryBlockSize(model);
    if ((family != Family::kSinglePort && family != Family::kMultiPort) || block.size() < size) return {};
    std::vector<uint8_t> frame(size + kWorkBlockFrameOffset + kChecksumSize, 0);
    Writer out(frame);
    out.BytesAt(kWorkBlockFrameOffset, block.first(size));
    out.U8At(frame::kMarker, 0);
    out.U8At(frame::kTag, 0);
    out.U8At(frame::kCommand, static_cast<uint8_t>(Command::kWrite));
    out.U8At(frame::kModelCode, model);
    out.U8At(frame::kChannel, 0);
    out.U8At(frame::kChannel + 1, 0);
    Scramble(std::span(frame).subspan(kPayloadOffset, frame.size() - kPayloadOffset - kChecksumSize));
    WriteChecksum(frame);
    return frame;
}

std::vector<uint8_t> BuildExtendedWriteFrame(const MacBytes& mac, std::span<const uint8_t> payload) {
    // The 42-byte header (its last two bytes zero: the checksum comes after the payload), the payload.
    auto frame = BuildDeviceRequest(kMarkerRequest, 0, static_cast<uint8_t>(Command::kWrite), mac);
    frame[kShortFrameSize - 2] = 0;
    frame[kShortFrameSize - 1] = 0;
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.resize(frame.size() + kChecksumSize);
    WriteChecksum(frame);
    return frame;
}

std::vector<uint8_t> BuildDeviceRequest(uint8_t marker, uint8_t tag, uint8_t command, const MacBytes& mac) {
    ShortFrame f;
    f.marker = marker;
    f.tag = tag;
    f.command = static_cast<Command>(command);
    f.mac = mac;
    auto bytes = BuildShortFrame(f);
    return {bytes.begin(), bytes.end()};
}

}  // namespace vkcfg::codec
