#include "text_commands.h"

#include <cstdint>
#include <limits>

namespace vksim {
namespace {

// Speeds by code digit, as "GBR", "SBR" and "PBR" name them.
constexpr uint32_t kBaudByCode[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr char kBaudCodeOfOthers = '3';  // the line runs at 9600 when its speed has no code

std::string BaudCode(uint32_t bps) {
    for (size_t i = 0; i < std::size(kBaudByCode); ++i) {
        if (kBaudByCode[i] == bps) return std::string(1, static_cast<char>('0' + i));
    }
    return std::string(1, kBaudCodeOfOthers);
}

bool SetBaudCode(uint32_t& bps, const std::string& v) {
    if (v.size() != 1 || v[0] < '0' || v[0] > '7') return false;
    bps = kBaudByCode[v[0] - '0'];
    return true;
}

// An unsigned decimal without sign or blanks that fits T.
template <class T>
bool SetNumber(T& field, const std::string& v) {
    if (v.empty() || v.size() > 5) return false;
    unsigned long n = 0;
    for (char ch : v) {
        if (ch < '0' || ch > '9') return false;
        n = n * 10 + static_cast<unsigned long>(ch - '0');
    }
    if (n > std::numeric_limits<T>::max()) return false;
    field = static_cast<T>(n);
    return true;
}

bool SetText(std::string& field, const std::string& v, size_t max) {
    if (v.size() > max) return false;
    field = v;
    return true;
}

bool SetAddress(Ip4& field, const std::string& v) {
    return ParseIp(v, field);
}

// A DNS server that is not set reads as "0", and "0" sets it back to 0.0.0.0.
std::string DnsText(const Ip4& ip) {
    return ip == Ip4{0, 0, 0, 0} ? "0" : IpText(ip);
}
bool SetDns(Ip4& field, const std::string& v) {
    if (v == "0") {
        field = {0, 0, 0, 0};
        return true;
    }
    return ParseIp(v, field);
}

std::string Num(unsigned v) {
    return std::to_string(v);
}
Channel& Line(Device& d) {
    return d.channels.at(0);
}
const Channel& Line(const Device& d) {
    return d.channels.at(0);
}

constexpr size_t kShortText = 9;  // names, user name and password: 10-byte fields with their NUL
constexpr size_t kUrlText = 30;

// clang-format off
const TextRead kReads[] = {
    {"GFE", "21", true, [](const Device& d) { return MacDecimalText(d.mac); }},
    {"GIP", "22", true, [](const Device& d) { return IpText(d.ip); }},
    {"GPN", "23", true, [](const Device& d) { return Num(Line(d).local_port); }},
    {"GRM", "24", true, [](const Device& d) { return Num(d.work_mode); }},
    {"GDI", "25", true, [](const Device& d) { return IpText(Line(d).peer_ip); }},
    {"GDP", "26", true, [](const Device& d) { return Num(Line(d).peer_port); }},
    {"GGI", "27", true, [](const Device& d) { return IpText(d.gateway); }},
    {"GNM", "28", true, [](const Device& d) { return IpText(d.netmask); }},
    {"GBR", "29", true, [](const Device& d) { return BaudCode(Line(d).baud_rate); }},
    {"GPR", "2A", true, [](const Device& d) { return Num(Line(d).parity); }},
    {"GBB", "2B", true, [](const Device& d) { return std::string(Line(d).data_bits == 7 ? "0" : "1"); }},
    {"GML", "2C", true, [](const Device& d) { return Num(d.max_length); }},
    {"GMD", "2D", true, [](const Device& d) { return Num(d.max_interval); }},
    {"GTP", "2E", true, [](const Device& d) { return Num(d.protocol); }},
    {"GDN", "2F", true, [](const Device& d) { return d.name; }},
    {"GDH", "30", true, [](const Device& d) { return Num(d.dhcp); }},
    {"GFC", "31", true, [](const Device& d) { return Num(Line(d).flow_control); }},
    {"GKL", "32", true, [](const Device& d) { return Num(d.keep_alive); }},
    {"V",   "33", false, [](const Device& d) { return d.firmware; }},
    {"GDD", "34", true, [](const Device& d) { return Num(d.auto_dns); }},
    {"GLI", "35", true, [](const Device& d) { return DnsText(d.dns1); }},
    {"GLi", "36", true, [](const Device& d) { return DnsText(d.dns2); }},
    {"GWW", "37", true, [](const Device& d) { return Num(d.url_switch); }},
    {"GDW", "38", true, [](const Device& d) { return Line(d).url; }},
    {"GON", "39", true, [](const Device& d) { return d.user_name; }},
    {"GPW", "3A", true, [](const Device& d) { return d.password; }},
    {"T",   "3B", true, [](const Device&) { return std::string(); }},
    {"GNB", "3C", true, [](const Device& d) { return Num(d.network_mode); }},
    {"GDT", "3D", true, [](const Device& d) { return std::string(d.model->name); }},
};

const TextSet kSets[] = {
    {"SDN", "1F", [](Device& d, const std::string& v) { return SetText(d.name, v, kShortText); }},
    {"SIP", "21", [](Device& d, const std::string& v) { return SetAddress(d.ip, v); }},
    {"SPN", "22", [](Device& d, const std::string& v) { return SetNumber(Line(d).local_port, v); }},
    {"SRM", "23", [](Device& d, const std::string& v) { return SetNumber(d.work_mode, v); }},
    {"SDI", "24", [](Device& d, const std::string& v) { return SetAddress(Line(d).peer_ip, v); }},
    {"SDP", "25", [](Device& d, const std::string& v) { return SetNumber(Line(d).peer_port, v); }},
    {"SGI", "26", [](Device& d, const std::string& v) { return SetAddress(d.gateway, v); }},
    {"SNM", "27", [](Device& d, const std::string& v) { return SetAddress(d.netmask, v); }},
    {"SBR", "28", [](Device& d, const std::string& v) { return SetBaudCode(Line(d).baud_rate, v); }},
    {"SPR", "29", [](Device& d, const std::string& v) { return SetNumber(Line(d).parity, v); }},
    {"SBB", "2A", [](Device& d, const std::string& v) {
         if (v != "0" && v != "1") return false;
         Line(d).data_bits = v == "0" ? 7 : 8;
         return true;
     }},
    {"SML", "2B", [](Device& d, const std::string& v) { return SetNumber(d.max_length, v); }},
    {"SMD", "2C", [](Device& d, const std::string& v) { return SetNumber(d.max_interval, v); }},
    {"STP", "2D", [](Device& d, const std::string& v) { return SetNumber(d.protocol, v); }},
    {"SDH", "2E", [](Device& d, const std::string& v) { return SetNumber(d.dhcp, v); }},
    {"SFC", "2F", [](Device& d, const std::string& v) { return SetNumber(Line(d).flow_control, v); }},
    {"SKL", "30", [](Device& d, const std::string& v) { return SetNumber(d.keep_alive, v); }},
    {"SDD", "34", [](Device& d, const std::string& v) { return SetNumber(d.auto_dns, v); }},
    {"SLI", "35", [](Device& d, const std::string& v) { return SetDns(d.dns1, v); }},
    {"SLi", "36", [](Device& d, const std::string& v) { return SetDns(d.dns2, v); }},
    {"SWW", "37", [](Device& d, const std::string& v) { return SetNumber(d.url_switch, v); }},
    {"SDW", "38", [](Device& d, const std::string& v) { return SetText(Line(d).url, v, kUrlText); }},
    {"SON", "39", [](Device& d, const std::string& v) { return SetText(d.user_name, v, kShortText); }},
    {"SPW", "3A", [](Device& d, const std::string& v) { return SetText(d.password, v, kShortText); }},
    {"SNB", "3B", [](Device& d, const std::string& v) { return SetNumber(d.network_mode, v); }},
};
// clang-format on

template <class Table>
auto Find(const Table& table, const std::string& verb, const std::string& tag) -> decltype(&table[0]) {
    for (const auto& c : table) {
        if (verb == c.verb && tag == c.tag) return &c;
    }
    return nullptr;
}

}  // namespace

const TextRead* FindTextRead(const std::string& verb, const std::string& tag) {
    return Find(kReads, verb, tag);
}

const TextSet* FindTextSet(const std::string& verb, const std::string& tag) {
    return Find(kSets, verb, tag);
}

bool IsSerialCommand(const std::string& text) {
    if (text.size() != 4) return false;
    const std::string verb = text.substr(0, 3);
    return verb == "PBR" || verb == "PPR" || verb == "PBB";
}

bool ApplySerialCommand(Device& d, const std::string& text) {
    const char digit = text[3];
    if (digit < '0' || digit > '9') return false;
    const std::string verb = text.substr(0, 3);
    Channel& line = Line(d);
    if (verb == "PBR") return SetBaudCode(line.baud_rate, text.substr(3));
    if (verb == "PBB") {
        line.data_bits = digit == '0' ? 7 : 8;
        return true;
    }
    // PPR names odd parity "1" and even parity "2": the other way round from the parity setting.
    static constexpr uint8_t kParityByDigit[] = {0, 2, 1, 3, 4};
    if (digit > '4') return false;
    line.parity = kParityByDigit[digit - '0'];
    return true;
}

}  // namespace vksim
