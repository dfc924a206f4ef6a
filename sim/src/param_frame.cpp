// The second-generation parameter frame, as a device fills it and reads it back from a write.
#include <algorithm>

#include "field_io.h"
#include "layouts.h"

namespace vksim {
namespace {

constexpr size_t kSinglePortSize = 158;
constexpr size_t kMultiPortBase = 94;
constexpr size_t kChannelSize = 54;
constexpr size_t kFirstChannel = 92;
constexpr size_t kUrlWidth = 30;

// D is Device (reading a write) or const Device (building an answer).
template <class Io, class D>
void SinglePortLayout(Io& io, D& d) {
    auto& c = d.channels.at(0);
    io.Own(12, d.mac);
    io.Text(20, 10, d.name);
    io.OwnText(36, 16, d.firmware);
    io.Ip(52, d.ip);
    io.Ip(56, d.netmask);
    io.Ip(60, d.gateway);
    io.Be16(64, c.local_port);
    io.U8(66, d.work_mode);
    io.U8(67, d.dhcp);
    io.Ip(68, c.peer_ip);
    io.Be16(72, c.peer_port);
    io.U8(74, d.protocol);
    io.U8(75, d.url_switch);
    io.U8(76, d.auto_dns);
    io.Ip(80, d.dns1);
    io.Ip(84, d.dns2);
    io.Text(88, kUrlWidth, c.url);
    io.Le16(124, d.max_length);
    io.U8(126, d.max_interval);
    io.U8(127, d.keep_alive);
    io.Baud(128, c.baud_rate);
    io.U8(132, c.data_bits);
    io.U8(133, c.parity);
    io.U8(134, c.stop_bits);
    io.U8(135, c.flow_control);
    io.Text(136, 10, d.user_name);
    io.Text(146, 10, d.password);
}

template <class Io, class C>
void ChannelLayout(Io& io, size_t at, C& c) {
    io.Be16(at + 0, c.local_port);
    io.Ip(at + 2, c.peer_ip);
    io.Be16(at + 6, c.peer_port);
    io.Four(at + 8, c.options);
    io.Text(at + 12, kUrlWidth, c.url);
    io.Baud(at + 44, c.baud_rate);
    io.U8(at + 46, c.data_bits);
    io.U8(at + 47, c.parity);
    io.U8(at + 48, c.stop_bits);
    io.U8(at + 49, c.flow_control);
    io.Le16(at + 50, c.word);
    io.U8(at + 52, c.byte);
}

template <class Io, class D>
void MultiPortLayout(Io& io, D& d) {
    io.Own(12, d.mac);
    io.Text(20, 10, d.name);
    io.Text(30, 10, d.user_name);
    io.Text(40, 10, d.password);
    io.OwnText(52, 16, d.firmware);
    io.Ip(68, d.ip);
    io.Ip(72, d.netmask);
    io.Ip(76, d.gateway);
    io.U8(80, d.option_a);
    io.U8(81, d.option_b);
    io.Ip(84, d.dns1);
    io.Ip(88, d.dns2);
    const size_t n = static_cast<size_t>(d.model->channels);
    for (size_t i = 0; i < n; ++i)
        ChannelLayout(io, kFirstChannel + kChannelSize * i, d.channels.at(i));
}

template <class Io, class D>
void Layout(Io& io, D& d) {
    if (d.model->channels == 0) {
        SinglePortLayout(io, d);
    } else {
        MultiPortLayout(io, d);
    }
}

// At least the model's channels, so that a hand-made device can be laid out too.
void CompleteChannels(Device& d) {
    const size_t n = static_cast<size_t>(std::max(d.model->channels, 1));
    if (d.channels.size() < n) d.channels.resize(n);
}

}  // namespace

size_t ParameterFrameSize(const ModelInfo& model) {
    if (model.channels == 0) return kSinglePortSize;
    return kMultiPortBase + kChannelSize * static_cast<size_t>(model.channels);
}

Bytes ParameterFrame(const Device& device, uint8_t command, uint8_t tag) {
    Device d = device;
    CompleteChannels(d);
    FrameBuilder f(ParameterFrameSize(*d.model));
    f.U8(kAtTag, tag);
    f.U8(kAtCommand, command);
    f.U8(kAtModel, d.model->code);
    FieldWriter out(f);
    Layout(out, std::as_const(d));
    return f.Finish(kAtMac);
}

void ApplyParameterFrame(Device& d, const Bytes& plain_frame) {
    CompleteChannels(d);
    FieldReader in(plain_frame);
    Layout(in, d);
}

}  // namespace vksim
