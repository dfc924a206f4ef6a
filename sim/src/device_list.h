// Building simulated networks: generated devices with distinct addresses and MACs, the demo network,
// and device lists written as text ("model=VKB302 addr=127.0.0.20 name=Line2 delay=5").
#pragma once

#include <cstddef>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

#include "device.h"

namespace vksim {

struct ListError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The loopback address of the index-th device: 127.0.0.10 to 127.0.0.254, then 127.0.1.1 onwards.
Ip4 LoopbackAddress(size_t index);
Mac GeneratedMac(size_t index);

// A device of `model` with the index-th address and MAC and plausible settings.
Device MakeDevice(const ModelInfo& model, size_t index, const Faults& faults = {});

// One device of every model the simulator knows, in the order of the model table, extended last.
std::vector<Device> DemoNetwork(size_t first_index = 0, const Faults& faults = {});

// `count` devices of `model`, numbered from first_index.
std::vector<Device> GeneratedDevices(const ModelInfo& model, size_t count, size_t first_index,
                                     const Faults& faults = {});

// One device from "key=value" tokens separated by blanks or commas. Keys: model (required), addr, ip,
// mac, name, firmware, netmask, gateway, dns1, dns2, user, password, requires_login, work_mode, dhcp,
// protocol, url_switch, auto_dns, network_mode, keep_alive, max_interval, max_length, option_a,
// option_b; per channel (channel 0, or N with the digit appended: peer2) port, peer, peerport, baud,
// parity, databits, stopbits, flow, url; and the faults (SetFault). Throws ListError naming the bad token.
Device ParseDeviceWords(const std::string& words, size_t index, const Faults& faults = {});

// The device's settings as the words ParseDeviceWords reads (faults, the update's settings and the
// extended block left out): what a simulated device holds after a session, for people and scripts to
// look at. A text with blanks or commas in it does not read back as one word.
std::string DeviceWords(const Device& d);

// One device per line; blank lines and lines starting with "#" are skipped.
std::vector<Device> ParseDeviceList(std::istream& in, size_t first_index, const Faults& faults = {});

// Sets a fault from its key (loss, dup, delay, jitter, corrupt, refuse_password, refuse_writes,
// ignore_text_sends, foreign_tag, cut, pad); false when the key names no fault. Throws ListError on a bad
// value.
bool SetFault(Faults& faults, const std::string& key, const std::string& value);

// Adds delays so that the devices' answers are spread evenly over `spread_ms`.
void SpreadAnswers(std::vector<Device>& devices, int spread_ms);

}  // namespace vksim
