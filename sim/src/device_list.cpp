#include "device_list.h"

#include <cstdlib>
#include <set>
#include <sstream>

#include "handlers.h"
#include "layouts.h"

namespace vksim {
namespace {

double Probability(const std::string& key, const std::string& value) {
    char* end = nullptr;
    double p = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || p < 0 || p > 1)
        throw ListError(key + "=" + value + ": a probability from 0 to 1 is expected");
    return p;
}

long Number(const std::string& key, const std::string& value, long lo, long hi) {
    char* end = nullptr;
    long v = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || v < lo || v > hi)
        throw ListError(key + "=" + value + ": a number from " + std::to_string(lo) + " to " +
                        std::to_string(hi) + " is expected");
    return v;
}

bool Flag(const std::string& key, const std::string& value) {
    return Number(key, value, 0, 1) == 1;
}

std::string Text(const std::string& key, const std::string& value, size_t max) {
    if (value.size() > max)
        throw ListError(key + "=" + value + ": at most " + std::to_string(max) + " characters");
    return value;
}

Ip4 Address(const std::string& key, const std::string& value) {
    Ip4 ip;
    if (!ParseIp(value, ip)) throw ListError(key + "=" + value + ": a dotted IPv4 address is expected");
    return ip;
}

}  // namespace

Ip4 LoopbackAddress(size_t index) {
    if (index < 245) return {127, 0, 0, static_cast<uint8_t>(10 + index)};
    size_t n = index - 245;
    return {127, 0, static_cast<uint8_t>(1 + n / 254), static_cast<uint8_t>(1 + n % 254)};
}

Mac GeneratedMac(size_t index) {
    return {0x00,
            0x1A,
            0x2B,
            static_cast<uint8_t>(index >> 16),
            static_cast<uint8_t>(index >> 8),
            static_cast<uint8_t>(index)};
}

Device MakeDevice(const ModelInfo& model, size_t index, const Faults& faults) {
    Device d;
    d.model = &model;
    d.address = LoopbackAddress(index);
    d.ip = d.address;
    d.mac = GeneratedMac(index);
    d.name = "DEV" + std::to_string(index);
    if (d.name.size() > 9) d.name.resize(9);
    d.firmware = model.generation == Generation::kExtended ? "V3.2.1-time" : "V2.1";
    d.max_interval = 10;
    d.max_length = 1000;
    const int n = model.channels > 0 ? model.channels : 1;
    d.channels.assign(static_cast<size_t>(n), Channel{});
    for (int k = 0; k < n; ++k) {
        auto& c = d.channels[static_cast<size_t>(k)];
        c.local_port = static_cast<uint16_t>(4001 + k);
        c.peer_ip = {127, 0, 0, static_cast<uint8_t>(200 + k)};
        c.peer_port = static_cast<uint16_t>(5001 + k);
    }
    d.faults = faults;
    InitUpdateState(d);
    if (model.generation == Generation::kExtended) {
        d.extended_block = DefaultExtendedBlock();
        d.extended_block = ExtendedBlock(d);
    }
    return d;
}

std::vector<Device> DemoNetwork(size_t first_index, const Faults& faults) {
    std::vector<Device> out;
    for (const auto& m : AllModels())
        out.push_back(MakeDevice(m, first_index + out.size(), faults));
    return out;
}

std::vector<Device> GeneratedDevices(const ModelInfo& model, size_t count, size_t first_index,
                                     const Faults& faults) {
    std::vector<Device> out;
    for (size_t i = 0; i < count; ++i)
        out.push_back(MakeDevice(model, first_index + i, faults));
    return out;
}

bool SetFault(Faults& f, const std::string& key, const std::string& value) {
    if (key == "loss") {
        f.loss = Probability(key, value);
    } else if (key == "dup") {
        f.duplicate = Probability(key, value);
    } else if (key == "corrupt") {
        f.corrupt = Probability(key, value);
    } else if (key == "delay") {
        f.delay_ms = static_cast<int>(Number(key, value, 0, 60000));
    } else if (key == "jitter") {
        f.jitter_ms = static_cast<int>(Number(key, value, 0, 60000));
    } else if (key == "refuse_password") {
        f.refuse_password = Flag(key, value);
    } else if (key == "refuse_writes") {
        f.refuse_writes = Flag(key, value);
    } else if (key == "ignore_text_sends") {
        f.ignore_text_sends = static_cast<int>(Number(key, value, 0, 1000));
    } else if (key == "foreign_tag") {
        f.foreign_tag = Flag(key, value);
    } else if (key == "cut") {
        f.cut = static_cast<int>(Number(key, value, 0, 2048));
    } else if (key == "pad") {
        f.pad = static_cast<int>(Number(key, value, 0, 65000));
    } else {
        return false;
    }
    return true;
}

namespace {

// The one-byte settings of the device as a whole, read from device words and written to them.
constexpr std::pair<const char*, uint8_t Device::*> kByteSettings[] = {
    {"work_mode", &Device::work_mode},   {"dhcp", &Device::dhcp},
    {"protocol", &Device::protocol},     {"url_switch", &Device::url_switch},
    {"auto_dns", &Device::auto_dns},     {"network_mode", &Device::network_mode},
    {"keep_alive", &Device::keep_alive}, {"max_interval", &Device::max_interval},
    {"option_a", &Device::option_a},     {"option_b", &Device::option_b},
};

// Settings of the device as a whole; false when the key names none.
bool SetDeviceSetting(Device& d, const std::string& k, const std::string& v) {
    for (const auto& [name, field] : kByteSettings) {
        if (k == name) {
            d.*field = static_cast<uint8_t>(Number(k, v, 0, 255));
            return true;
        }
    }
    if (k == "name") {
        d.name = v;
    } else if (k == "firmware") {
        d.firmware = v;
    } else if (k == "user") {
        d.user_name = Text(k, v, 9);
    } else if (k == "password") {
        d.password = Text(k, v, 9);
    } else if (k == "requires_login") {
        d.requires_login = Flag(k, v);
    } else if (k == "max_length") {
        d.max_length = static_cast<uint16_t>(Number(k, v, 0, 65535));
    } else if (k == "netmask") {
        d.netmask = Address(k, v);
    } else if (k == "gateway") {
        d.gateway = Address(k, v);
    } else if (k == "dns1") {
        d.dns1 = Address(k, v);
    } else if (k == "dns2") {
        d.dns2 = Address(k, v);
    } else {
        return false;
    }
    return true;
}

// "3/11/42": the numbers of the requests a fault names.
std::set<int> Ordinals(const std::string& key, const std::string& value) {
    std::set<int> out;
    std::istringstream in(value);
    for (std::string item; std::getline(in, item, '/');)
        out.insert(static_cast<int>(Number(key, item, 1, 1000000)));
    if (out.empty()) throw ListError(key + "=" + value + ": request numbers such as 3/11/42 are expected");
    return out;
}

// The update's settings and faults; false when the key names none. Faults that name requests are
// lose_KIND, refuse_KIND and echo_KIND with KIND one of the update's request kinds.
bool SetUpdateSetting(Device& d, const std::string& k, const std::string& v) {
    static const std::set<std::string> kKinds{"identify", "read",    "prepare", "write",
                                              "data",     "restart", "poll"};
    static const std::pair<const char*, std::map<std::string, std::set<int>> UpdateFaults::*> kTables[] = {
        {"lose_", &UpdateFaults::lose},
        {"refuse_", &UpdateFaults::refuse},
        {"echo_", &UpdateFaults::wrong_echo}};
    UpdateState& u = d.update;
    for (const auto& [prefix, table] : kTables) {
        const std::string p = prefix;
        if (k.rfind(p, 0) == 0 && kKinds.count(k.substr(p.size()))) {
            (u.faults.*table)[k.substr(p.size())] = Ordinals(k, v);
            return true;
        }
    }
    if (k == "update_model") {
        u.model_text = Text(k, v, 16);
    } else if (k == "new_firmware") {
        u.next_firmware = Text(k, v, 16);
    } else if (k == "restart_ms") {
        u.restart_ms = static_cast<int>(Number(k, v, 0, 600000));
    } else if (k == "n4") {
        u.n4 = Number(k, v, 0, 0xFFFFFFFL);
    } else if (k == "data_size") {
        u.data.resize(static_cast<size_t>(Number(k, v, 0, 0x40000)));
    } else if (k == "damaged_at") {
        u.faults.damaged_at = Number(k, v, 0, 0x40000);
    } else if (k == "flip_at") {
        u.faults.flip_at = Number(k, v, 0, 0x40000);
    } else if (k == "silent_after_restart") {
        u.faults.silent_after_restart = Flag(k, v);
    } else {
        return false;
    }
    return true;
}

// Settings of one channel: the key names channel 0, or channel N with the digit N appended (peer2).
bool SetChannelSetting(Device& d, const std::string& k, const std::string& v) {
    static const std::set<std::string> kKeys{"port",     "peer",     "peerport", "baud", "parity",
                                             "databits", "stopbits", "flow",     "url"};
    const size_t digits = k.find_last_not_of("0123456789") + 1;
    const std::string key = k.substr(0, digits);
    if (!kKeys.count(key)) return false;
    const size_t ch = digits == k.size() ? 0 : static_cast<size_t>(Number(k, k.substr(digits), 1, 7));
    if (ch >= d.channels.size()) throw ListError(k + ": the model has no channel " + std::to_string(ch));
    Channel& c = d.channels[ch];
    if (key == "port") {
        c.local_port = static_cast<uint16_t>(Number(k, v, 0, 65535));
    } else if (key == "peer") {
        c.peer_ip = Address(k, v);
    } else if (key == "peerport") {
        c.peer_port = static_cast<uint16_t>(Number(k, v, 0, 65535));
    } else if (key == "baud") {
        c.baud_rate = static_cast<uint32_t>(Number(k, v, 0, 6553500));
    } else if (key == "parity") {
        c.parity = static_cast<uint8_t>(Number(k, v, 0, 5));
    } else if (key == "databits") {
        c.data_bits = static_cast<uint8_t>(Number(k, v, 5, 8));
    } else if (key == "stopbits") {
        c.stop_bits = static_cast<uint8_t>(Number(k, v, 1, 2));
    } else if (key == "flow") {
        c.flow_control = static_cast<uint8_t>(Number(k, v, 0, 1));
    } else {
        c.url = Text(k, v, 30);
    }
    return true;
}

}  // namespace

Device ParseDeviceWords(const std::string& words, size_t index, const Faults& faults) {
    std::string text = words;
    for (char& c : text) {
        if (c == ',') c = ' ';
    }
    std::istringstream tokens(text);
    std::vector<std::pair<std::string, std::string>> kv;
    for (std::string token; tokens >> token;) {
        auto eq = token.find('=');
        if (eq == std::string::npos || eq == 0) throw ListError(token + ": key=value expected");
        kv.emplace_back(token.substr(0, eq), token.substr(eq + 1));
    }
    const ModelInfo* model = nullptr;
    for (const auto& [k, v] : kv) {
        if (k == "model" && !(model = FindModel(v))) throw ListError("model=" + v + ": unknown model");
    }
    if (!model) throw ListError("\"" + words + "\": model=... is missing");

    Device d = MakeDevice(*model, index, faults);
    bool ip_given = false;
    for (const auto& [k, v] : kv) {
        if (k == "model" || SetFault(d.faults, k, v) || SetDeviceSetting(d, k, v) ||
            SetChannelSetting(d, k, v) || SetUpdateSetting(d, k, v))
            continue;
        if (k == "addr") {
            d.address = Address(k, v);
        } else if (k == "ip") {
            d.ip = Address(k, v);
            ip_given = true;
        } else if (k == "mac") {
            if (!ParseMac(v, d.mac)) throw ListError("mac=" + v + ": six bytes expected (00:1a:2b:3c:4d:5e)");
        } else {
            throw ListError(k + "=" + v + ": unknown key");
        }
    }
    if (!ip_given) d.ip = d.address;
    return d;
}

std::vector<Device> ParseDeviceList(std::istream& in, size_t first_index, const Faults& faults) {
    std::vector<Device> out;
    size_t line_no = 0;
    for (std::string line; std::getline(in, line);) {
        ++line_no;
        auto start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        try {
            out.push_back(ParseDeviceWords(line, first_index + out.size(), faults));
        } catch (const ListError& e) {
            throw ListError("line " + std::to_string(line_no) + ": " + e.what());
        }
    }
    return out;
}

void SpreadAnswers(std::vector<Device>& devices, int spread_ms) {
    if (devices.empty() || spread_ms <= 0) return;
    const size_t n = devices.size();
    for (size_t i = 0; i < n; ++i) {
        devices[i].faults.delay_ms += static_cast<int>(static_cast<long>(spread_ms) * static_cast<long>(i) /
                                                       static_cast<long>(n > 1 ? n - 1 : 1));
    }
}

std::string DeviceWords(const Device& d) {
    std::ostringstream out;
    out << "model=" << d.model->name << " addr=" << IpText(d.address) << " ip=" << IpText(d.ip)
        << " mac=" << MacDecimalText(d.mac) << " name=" << d.name << " firmware=" << d.firmware
        << " netmask=" << IpText(d.netmask) << " gateway=" << IpText(d.gateway) << " dns1=" << IpText(d.dns1)
        << " dns2=" << IpText(d.dns2) << " user=" << d.user_name << " password=" << d.password
        << " requires_login=" << (d.requires_login ? 1 : 0) << " max_length=" << d.max_length;
    for (const auto& [name, field] : kByteSettings)
        out << ' ' << name << '=' << static_cast<int>(d.*field);
    for (size_t ch = 0; ch < d.channels.size(); ++ch) {
        const Channel& c = d.channels[ch];
        const std::string n = ch == 0 ? "" : std::to_string(ch);
        out << " port" << n << '=' << c.local_port << " peer" << n << '=' << IpText(c.peer_ip) << " peerport"
            << n << '=' << c.peer_port << " baud" << n << '=' << c.baud_rate << " parity" << n << '='
            << static_cast<int>(c.parity) << " databits" << n << '=' << static_cast<int>(c.data_bits)
            << " stopbits" << n << '=' << static_cast<int>(c.stop_bits) << " flow" << n << '='
            << static_cast<int>(c.flow_control) << " url" << n << '=' << c.url;
    }
    return out.str();
}

}  // namespace vksim
