// A simulated device as the device itself sees it: its identity, its settings and the faults it is
// told to show. Addresses are kept as four bytes, first octet first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vksim {

using Ip4 = std::array<uint8_t, 4>;
using Mac = std::array<uint8_t, 6>;

inline constexpr uint8_t kExtendedModel = 0x83;

enum class Generation {
    kText,      // first generation: text commands on port 65535 (VKA100, VKB220)
    kBinary,    // second generation: binary frames on port 65280; answers "X" with "VB"
    kExtended,  // extended time device: binary frames on port 65280 only
};

struct ModelInfo {
    const char* name;
    uint8_t code;
    Generation generation;
    int channels;  // 0 for the single-port layout, else the channel blocks of the multi-port layout
};

// Every model the simulator can play; nullptr for an unknown name or code.
const ModelInfo* FindModel(const std::string& name);
const ModelInfo* FindModel(uint8_t code);
const std::vector<ModelInfo>& AllModels();

// What a device does wrong on purpose. Probabilities are 0 to 1.
struct Faults {
    double loss = 0;       // a request is ignored
    double duplicate = 0;  // an answer is sent twice
    int delay_ms = 0;      // every answer waits this long
    int jitter_ms = 0;     // plus a uniform extra of 0 to jitter_ms
    double corrupt = 0;    // a binary answer's checksum is wrong
};

struct Channel {
    uint16_t local_port = 4001;
    Ip4 peer_ip{0, 0, 0, 0};
    uint16_t peer_port = 0;
    uint32_t baud_rate = 9600;
};

struct Device {
    const ModelInfo* model = nullptr;
    Ip4 address{127, 0, 0, 10};  // the loopback address the device listens and answers on
    Mac mac{};
    std::string name = "VKDEV";
    std::string firmware = "V1.00";
    Ip4 ip{127, 0, 0, 10};  // the address the device reports (its own address by default)
    Ip4 netmask{255, 0, 0, 0};
    Ip4 gateway{127, 0, 0, 1};
    Ip4 dns1{0, 0, 0, 0};
    Ip4 dns2{0, 0, 0, 0};
    std::vector<Channel> channels{Channel{}};  // channel 0 holds the single-port device's port and peer
    Faults faults;
};

std::string IpText(const Ip4& ip);
std::string MacDecimalText(const Mac& mac);  // 0.26.43.60.77.94
bool ParseIp(const std::string& text, Ip4& out);
bool ParseMac(const std::string& text, Mac& out);  // 00:1a:2b:3c:4d:5e, 00-1a-.., or 0.26.43.60.77.94

}  // namespace vksim
