// The extended (time) device's parameter block and its search and read answers.
#include "field_io.h"
#include "layouts.h"

namespace vksim {
namespace {

constexpr size_t kSearchPayload = 360;

// The block's fields that the device also keeps as settings of its own (offsets into the block);
// everything else (the time-service settings among them) lives only in the block's bytes.
template <class Io, class D>
void ExtendedLayout(Io& io, D& d) {
    auto& c = d.channels.at(0);
    io.Own(2, d.mac);
    io.OwnText(44, 32, d.firmware);
    io.Text(84, 16, d.name);
    io.Ip(106, d.ip);
    io.Ip(110, d.netmask);
    io.Ip(114, d.gateway);
    io.Be16(118, c.local_port);
    io.U8(120, d.work_mode);
    io.U8(121, d.dhcp);
    io.Ip(122, c.peer_ip);
    io.Be16(126, c.peer_port);
    io.U8(128, d.protocol);
    io.U8(129, d.url_switch);
    io.U8(130, d.auto_dns);
    io.Ip(134, d.dns1);
    io.Ip(138, d.dns2);
    io.Text(142, 32, c.url);
    io.Le16(180, d.max_length);
    io.U8(182, d.max_interval);
    io.U8(183, d.keep_alive);
    io.Baud(184, c.baud_rate);
    io.U8(188, c.data_bits);
    io.U8(189, c.parity);
    io.U8(190, c.stop_bits);
    io.U8(191, c.flow_control);
    io.Text(192, 16, d.user_name);
    io.Text(208, 16, d.password);
}

Bytes ScrambledMac(const Device& d) {
    Bytes mac(d.mac.begin(), d.mac.end());
    Scramble(mac, 0, mac.size());
    return mac;
}

}  // namespace

Bytes DefaultExtendedBlock() {
    FrameBuilder b(kExtendedBlockSize);
    b.U8(0, kExtendedModel);
    // The serial port of the time source: 9600 bit/s, 8 data bits, no parity, 1 stop bit.
    b.Le16(224, 96);
    b.U8(226, 8);
    b.U8(227, 0);
    b.U8(228, 1);
    b.U8(229, 0);      // receive broadcast
    b.Le16(230, 30);   // request interval (s)
    b.Le16(232, 3);    // first request interval (s)
    b.U8(234, 0);      // oscillator correction
    b.U8(235, 8);      // time zone
    b.Le16(236, 600);  // lifetime after going offline (s)
    b.Le16(238, 20);   // largest correction (ppm)
    b.Le16(240, 5);    // error before adjusting (ms)
    b.Le16(242, 600);  // largest adjustment (s)
    b.Text(246, 32, "127.0.0.1");
    return b.bytes();
}

Bytes ExtendedBlock(const Device& device) {
    Device d = device;
    if (d.channels.empty()) d.channels.resize(1);
    Bytes base = d.extended_block;
    base.resize(kExtendedBlockSize, 0);
    FrameBuilder b(std::move(base));
    FieldWriter out(b);
    ExtendedLayout(out, std::as_const(d));
    return b.bytes();
}

void ApplyExtendedBlock(Device& d, const Bytes& block) {
    if (d.channels.empty()) d.channels.resize(1);
    d.extended_block = block;
    d.extended_block.resize(kExtendedBlockSize, 0);
    FieldReader in(d.extended_block);
    ExtendedLayout(in, d);
}

Bytes ExtendedSearchAnswer(const Device& d) {
    FrameBuilder f(kHeaderSize + kSearchPayload + 2);
    f.U8(kAtCommand, kCmdSearchAnswer);
    f.U8(kAtModel, kExtendedModel);
    const Bytes mac = ScrambledMac(d);
    f.Raw(kAtMac, mac.data(), mac.size());
    const size_t p = kHeaderSize;  // plain payload from here on
    f.U8(p + 0, kExtendedModel);
    f.Text(p + 4, 32, d.firmware);
    f.Text(p + 36, 16, d.name);
    f.Raw(p + 52, d.mac.data(), 6);
    f.Ip(p + 60, d.ip);
    f.Ip(p + 64, d.channels.at(0).peer_ip);
    f.Ip(p + 68, d.netmask);
    f.Ip(p + 72, d.gateway);
    f.Ip(p + 76, d.dns1);
    f.Ip(p + 80, d.dns2);
    return f.Finish(FrameBuilder::kNoScramble);
}

Bytes ExtendedReadAnswer(const Device& d, uint8_t command, uint8_t tag) {
    const Bytes block = ExtendedBlock(d);
    FrameBuilder f(kHeaderSize + block.size() + 2);
    f.U8(kAtTag, tag);
    f.U8(kAtCommand, command);
    f.U8(kAtModel, kExtendedModel);
    const Bytes mac = ScrambledMac(d);
    f.Raw(kAtMac, mac.data(), mac.size());
    f.Raw(kHeaderSize, block.data(), block.size());
    return f.Finish(FrameBuilder::kNoScramble);
}

}  // namespace vksim
