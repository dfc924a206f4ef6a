// Where the fields of the extended (time) device's parameter block lie. The library moves the block
// unchanged; the device and this program agree on its layout. Addresses are four bytes, first octet
// first; ports are 16 bits high byte first; other 16-bit numbers low byte first; serial speeds are bit/s
// divided by 100.
#pragma once

#include <cstddef>

namespace torvane::extended {

inline constexpr size_t kModelCode = 0;
inline constexpr size_t kMac = 2;
inline constexpr size_t kFirmwareVersion = 44;
inline constexpr size_t kFirmwareVersionSize = 32;
inline constexpr size_t kDeviceName = 84;
inline constexpr size_t kNameSize = 16;  // device name, user name, password
inline constexpr size_t kIp = 106;
inline constexpr size_t kNetmask = 110;
inline constexpr size_t kGateway = 114;
inline constexpr size_t kLocalPort = 118;
inline constexpr size_t kWorkMode = 120;
inline constexpr size_t kDhcp = 121;
inline constexpr size_t kPeerIp = 122;
inline constexpr size_t kPeerPort = 126;
inline constexpr size_t kProtocol = 128;
inline constexpr size_t kUrlSwitch = 129;
inline constexpr size_t kAutoDns = 130;
inline constexpr size_t kDns1 = 134;
inline constexpr size_t kDns2 = 138;
inline constexpr size_t kUrl = 142;
inline constexpr size_t kUrlSize = 32;
inline constexpr size_t kMaxLength = 180;
inline constexpr size_t kMaxInterval = 182;
inline constexpr size_t kKeepAlive = 183;
inline constexpr size_t kBaudRate = 184;
inline constexpr size_t kDataBits = 188;
inline constexpr size_t kParity = 189;
inline constexpr size_t kStopBits = 190;
inline constexpr size_t kFlowControl = 191;
inline constexpr size_t kUserName = 192;
inline constexpr size_t kPassword = 208;
// The serial port of the time source.
inline constexpr size_t kSourceBaudRate = 224;
inline constexpr size_t kSourceDataBits = 226;
inline constexpr size_t kSourceParity = 227;
inline constexpr size_t kSourceStopBits = 228;
// Time service.
inline constexpr size_t kReceiveBroadcast = 229;
inline constexpr size_t kRequestInterval = 230;
inline constexpr size_t kFirstRequestInterval = 232;
inline constexpr size_t kOscillatorRectify = 234;
inline constexpr size_t kTimeZone = 235;
inline constexpr size_t kOfflineLifetime = 236;
inline constexpr size_t kRectifyMaxPpm = 238;
inline constexpr size_t kAdjustErrorMs = 240;
inline constexpr size_t kAdjustMax = 242;
inline constexpr size_t kTimeServer1 = 246;
inline constexpr size_t kTimeServerSize = 32;
inline constexpr size_t kTimeServers = 5;

}  // namespace torvane::extended
