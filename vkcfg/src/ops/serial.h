// Serial-line changes: one item (speed, parity or data bits) per call, always addressed to the device.
#pragma once

#include "codec/serial_line.h"
#include "vkcfg.h"

namespace vkcfg::ops {

int TextSerialSet(const char* ip, codec::SerialItem item, int value);
int BinarySerialSet(const char* ip, codec::SerialItem item, int value, uint8_t channel);
// By login.model_code: 1 and 0x20 text; 0x10 binary on channel 0; multi-port binary on login.channel.
int SerialSet(const char* ip, codec::SerialItem item, int value, const LoginRecord& login);

}  // namespace vkcfg::ops
