// A second-generation or extended device on its binary port. Requests sent to the device's own address
// are its own; broadcast requests (other than SEARCH) are its own when their MAC field names it.
// Accepted requests are answered with their own command byte, refused ones with the command byte one
// higher (LOGIN 17 is refused with 18, READ 11 with 12).
#include "handlers.h"
#include "layouts.h"

namespace vksim {
namespace {

constexpr uint8_t kMarkerSession = 0;  // login and logout requests; the parameter write
constexpr uint8_t kMarkerOther = 0xFF;
constexpr uint16_t kSpeedUnchanged = 0xFFFF;
constexpr uint8_t kByteUnchanged = 0xFF;

bool ShortRequest(const Bytes& f, uint8_t marker) {
    return f.size() == kHeaderSize && f[kAtMarker] == marker;
}

Bytes Refused(const Device& d, uint8_t command, uint8_t tag) {
    return ShortAnswer(d, static_cast<uint8_t>(command + 1), tag);
}

std::vector<Bytes> Login(Device& d, const Bytes& f) {
    const uint8_t command = f[kAtCommand], tag = f[kAtTag];
    const std::string password = FrameReader(f).Text(kAtPassword, 10);
    EndSession(d);
    d.session_open = !d.faults.refuse_password && password == d.password;
    return {d.session_open ? ShortAnswer(d, kCmdLogin, tag) : Refused(d, command, tag)};
}

std::vector<Bytes> Read(const Device& d, const Bytes& f) {
    const uint8_t command = f[kAtCommand], tag = f[kAtTag];
    if (!ParametersOpen(d)) return {Refused(d, command, tag)};
    // The extended device answers with the request's own command; the others always with READ.
    if (d.model->generation == Generation::kExtended) return {ExtendedReadAnswer(d, command, tag)};
    return {ParameterFrame(d, kCmdRead, tag)};
}

std::vector<Bytes> ParameterWrite(Device& d, const Bytes& f) {
    if (f.size() != ParameterFrameSize(*d.model) || f[kAtMarker] != kMarkerSession ||
        f[kAtModel] != d.model->code)
        return {};
    if (d.faults.refuse_writes || !ParametersOpen(d)) return {WriteRefusal()};
    d.pending_write = f;
    Scramble(d.pending_write, kAtMac, f.size() - 2);
    return {ShortAnswer(d, kCmdWrite, 0)};
}

std::vector<Bytes> Save(Device& d) {
    if (!d.pending_write.empty()) {
        if (d.model->generation == Generation::kExtended) {
            ApplyExtendedBlock(d, d.pending_write);
        } else {
            ApplyParameterFrame(d, d.pending_write);
        }
        d.pending_write.clear();
    }
    return {ShortAnswer(d, kCmdSave, 0)};
}

size_t ChannelCount(const Device& d) {
    return d.model->channels > 0 ? static_cast<size_t>(d.model->channels) : 1;
}

std::vector<Bytes> SerialSet(Device& d, const Bytes& f) {
    const size_t channel = f[kAtChannel];
    if (d.faults.refuse_writes || channel >= ChannelCount(d)) return {WriteRefusal()};
    if (d.channels.size() < ChannelCount(d)) d.channels.resize(ChannelCount(d));
    Channel& c = d.channels[channel];
    const FrameReader block(f);
    if (block.Le16(kAtSerial) != kSpeedUnchanged) c.baud_rate = 100u * block.Le16(kAtSerial);
    if (block.U8(kAtSerial + 2) != kByteUnchanged) c.data_bits = block.U8(kAtSerial + 2);
    if (block.U8(kAtSerial + 4) != kByteUnchanged) c.parity = block.U8(kAtSerial + 4);
    return {ShortAnswer(d, kCmdSerialSet, 0, f[kAtChannel])};
}

std::vector<Bytes> Handle(Device& d, const Request& r) {
    const Bytes& f = r.bytes;
    const bool extended = d.model->generation == Generation::kExtended;
    switch (f[kAtCommand]) {
        case kCmdLogin:
        case kCmdLoginByMac:
            return ShortRequest(f, kMarkerSession) ? Login(d, f) : std::vector<Bytes>{};
        case kCmdLogout:
        case kCmdLogoutByMac:
            if (ShortRequest(f, kMarkerSession)) EndSession(d);
            return {};
        case kCmdRead:
        case kCmdReadByMac:
            return ShortRequest(f, kMarkerOther) ? Read(d, f) : std::vector<Bytes>{};
        case kCmdWrite:
            return extended ? ExtendedWrite(d, f) : ParameterWrite(d, f);
        case kCmdSave:
            return ShortRequest(f, kMarkerOther) ? Save(d) : std::vector<Bytes>{};
        case kCmdSerialSet:
            if (extended || r.broadcast || !ShortRequest(f, kMarkerOther)) return {};
            return SerialSet(d, f);
        default:
            return {};
    }
}

}  // namespace

std::vector<Bytes> RespondBinary(Device& d, const Request& r) {
    const Bytes& f = r.bytes;
    if (f.size() < kHeaderSize || !FrameChecksumOk(f)) return {};
    if (f[kAtCommand] == kCmdSearch) {
        if (d.model->generation == Generation::kExtended) return {ExtendedSearchAnswer(d)};
        return {ParameterFrame(d, kCmdSearchAnswer, 0)};
    }
    if (r.broadcast && FrameMac(f) != d.mac) return {};
    std::vector<Bytes> out = Handle(d, r);
    const uint8_t tag = f[kAtTag];
    if (d.faults.foreign_tag && tag != 0 && !out.empty())
        out.insert(out.begin(), Retagged(out.front(), static_cast<uint8_t>(tag ^ 0xFF)));
    if (d.faults.cut >= 10 && tag != 0) {
        for (auto& answer : out)
            answer = Cut(std::move(answer), static_cast<size_t>(d.faults.cut));
    }
    if (d.faults.pad > 0 && tag != 0) {
        for (auto& answer : out)
            answer = Padded(std::move(answer), static_cast<size_t>(d.faults.pad));
    }
    return out;
}

}  // namespace vksim
