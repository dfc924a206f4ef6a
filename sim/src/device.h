// A simulated device as the device itself sees it: its identity, its settings and the faults it is
// told to show. Addresses are kept as four bytes, first octet first.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vksim {

using Ip4 = std::array<uint8_t, 4>;
using Mac = std::array<uint8_t, 6>;

inline constexpr uint8_t kExtendedModel = 0x83;
inline constexpr size_t kExtendedBlockSize = 438;

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
    double loss = 0;               // a request is ignored
    double duplicate = 0;          // an answer is sent twice
    int delay_ms = 0;              // every answer waits this long
    int jitter_ms = 0;             // plus a uniform extra of 0 to jitter_ms
    double corrupt = 0;            // a binary answer's checksum is wrong
    bool refuse_password = false;  // every login is refused, whatever its password
    bool refuse_writes = false;    // parameter protection: every setting change is refused
    int ignore_text_sends = 0;     // the first k sends of each repeated text request go unanswered
    bool foreign_tag = false;      // every tagged answer is preceded by one carrying another tag
    int cut = 0;                   // tagged binary answers are cut to this many bytes (checksum kept valid)
    int pad = 0;  // tagged binary answers are padded to this many bytes (checksum kept valid)
};

// What a device does wrong in the firmware update on purpose. Update requests are counted by kind
// ("identify", "read", "prepare", "write", "data", "restart", "poll"), from 1, every send counted
// (a resend is the next number).
struct UpdateFaults {
    std::map<std::string, std::set<int>> lose;        // the request is carried out, its answer is lost
    std::map<std::string, std::set<int>> refuse;      // the request is refused: status byte 2 = 1
    std::map<std::string, std::set<int>> wrong_echo;  // B family writes: the echo names another address
    long damaged_at = -1;  // a data-area read at this offset answers that the data is damaged
    long flip_at = -1;     // the firmware byte at this offset is stored inverted (a cell that fails)
    bool silent_after_restart = false;  // a restart never ends: no update answer after it
};

// The device's memories and what it reports in the update exchange. The first family (model 0x01)
// keeps its data area at addresses 0x8000 to 0xFFFF and takes firmware blocks after a prepare; the B
// family (model 0x10) has one 64 KiB memory for its data and for the firmware it is sent, installed by
// the restart; the others keep a data area addressed in pages of 256 bytes and report its length in
// the identify answer. A restart that installs new firmware brings `next_firmware` as the version; in
// the first and the paged family it also erases the data area, which the program must write back.
struct UpdateState {
    std::string model_text;         // what identify reports as the model ("VKA100-S", "VKB220", ...)
    std::string next_firmware;      // the version after a restart that installed firmware
    std::vector<uint8_t> data;      // the data area (B family: the shared memory)
    std::vector<uint8_t> staged;    // firmware blocks received since the last restart (not B family)
    size_t staged_extent = 0;       // B family: the end of what was written since the last restart
    std::vector<uint8_t> firmware;  // what the last restart installed
    long n4 = -1;                   // identify's N4 when set; else 1024 + the data area's length
    bool prepared = false;          // first family: the prepare request was accepted
    int restart_ms = 300;           // how long a restart keeps the device silent
    std::chrono::steady_clock::time_point back_at{};
    int restarts = 0;
    std::map<std::string, int> counts;  // update requests received, by kind
    UpdateFaults faults;
};

// One serial channel. Channel 0 also holds a single-port device's serial line, port, peer and URL.
struct Channel {
    uint16_t local_port = 4001;
    Ip4 peer_ip{0, 0, 0, 0};
    uint16_t peer_port = 0;
    uint32_t baud_rate = 9600;
    uint8_t data_bits = 8;
    uint8_t parity = 0;  // 0 none, 1 even, 2 odd, 3 mark, 4 space, 5 special
    uint8_t stop_bits = 1;
    uint8_t flow_control = 0;          // 0 none, 1 CTS/RTS
    std::array<uint8_t, 4> options{};  // multi-port channel settings the device keeps as they are written
    std::string url;                   // at most 30 bytes on the wire
    uint16_t word = 0;                 // multi-port channel word, kept as written
    uint8_t byte = 0;                  // multi-port channel byte, kept as written
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

    std::string user_name = "admin";
    std::string password;        // an empty password accepts the empty login
    bool requires_login = true;  // parameter reads and writes only inside a session
    uint8_t work_mode = 0;       // 0 server, 1 auto, 2 client, 3 multi-socket
    uint8_t dhcp = 0;
    uint8_t protocol = 1;  // 0 UDP, 1 TCP, 2 REAL_COM, 3 KM
    uint8_t url_switch = 0;
    uint8_t auto_dns = 0;
    uint8_t network_mode = 0;  // first generation only: 0 normal, 1 busy
    uint8_t keep_alive = 0;
    uint8_t max_interval = 0;  // ms between characters
    uint16_t max_length = 0;   // bytes per packet
    uint8_t option_a = 0;      // multi-port device settings, kept as written
    uint8_t option_b = 0;
    // Extended device: its 438-byte parameter block as last written. When it is read, the fields above
    // that it also holds (name, addresses, port, serial line, user, password...) are laid over it, so
    // those fields win; the time-service settings live only here.
    std::vector<uint8_t> extended_block;

    Faults faults;
    UpdateState update;

    // Session state, kept by the device itself.
    bool session_open = false;              // a login was accepted and no logout or "O" followed
    bool selected = false;                  // first generation: the last "W" named this device
    std::vector<uint8_t> pending_write;     // an acknowledged write (plain bytes) that waits for SAVE
    std::map<std::string, int> text_sends;  // sends seen of each text request (for ignore_text_sends)
};

std::string IpText(const Ip4& ip);
std::string MacDecimalText(const Mac& mac);  // 0.26.43.60.77.94
bool ParseIp(const std::string& text, Ip4& out);
bool ParseMac(const std::string& text, Mac& out);  // 00:1a:2b:3c:4d:5e, 00-1a-.., or 0.26.43.60.77.94

}  // namespace vksim
