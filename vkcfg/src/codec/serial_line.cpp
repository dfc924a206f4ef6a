#include "codec/serial_line.h"

#include "codec/text_commands.h"

namespace vkcfg::codec {
namespace {

constexpr uint8_t kUnchanged = 0xFF;

}  // namespace

std::string TextSerialCommand(SerialItem item, int value) {
    switch (item) {
        case SerialItem::kSpeed:
            return "PBR" + std::to_string(CodeOfBaud(value < 0 ? 0u : static_cast<uint32_t>(value)));
        case SerialItem::kParity: {
            char digit = value == 1 ? '2' : value == 2 ? '1' : value == 3 ? '3' : value == 4 ? '4' : '0';
            return std::string("PPR") + digit;
        }
        case SerialItem::kDataBits:
            return value == 7 ? "PBB0" : "PBB1";
    }
    return {};
}

std::optional<std::array<uint8_t, frame::kSerialSize>> SerialChangeBlock(SerialItem item, int value) {
    std::array<uint8_t, frame::kSerialSize> b{kUnchanged, kUnchanged, kUnchanged,
                                              kUnchanged, kUnchanged, kUnchanged};
    switch (item) {
        case SerialItem::kSpeed: {
            if (value < 100 || value / 100 >= 0xFFFF) return std::nullopt;
            const auto hundreds = static_cast<uint16_t>(value / 100);
            b[0] = static_cast<uint8_t>(hundreds & 0xFF);
            b[1] = static_cast<uint8_t>(hundreds >> 8);
            return b;
        }
        case SerialItem::kDataBits:
            if (value < 0 || value >= kUnchanged) return std::nullopt;
            b[2] = static_cast<uint8_t>(value);
            return b;
        case SerialItem::kParity:
            if (value < 0 || value >= kUnchanged) return std::nullopt;
            b[4] = static_cast<uint8_t>(value);
            return b;
    }
    return std::nullopt;
}

std::array<uint8_t, kShortFrameSize> BuildSerialFrame(uint8_t channel,
                                                      const std::array<uint8_t, frame::kSerialSize>& block) {
    ShortFrame f;
    f.marker = kMarkerRequest;
    f.command = Command::kSerialSet;
    f.channel = channel;
    f.serial = block;
    return BuildShortFrame(f);
}

}  // namespace vkcfg::codec
