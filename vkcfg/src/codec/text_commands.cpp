#include "codec/text_commands.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "codec/addr_text.h"
#include "codec/byte_io.h"

namespace vkcfg::codec {
namespace {

constexpr std::array<uint32_t, 8> kBaudTable{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// The text of a char field: up to its first NUL or its whole width.
template <size_t N>
std::string_view FieldText(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

std::string Decimal(unsigned v) {
    return std::to_string(v);
}

// Digits accumulate as value * 10 + digit in the field's width; at most max_digits are read.
template <typename T>
T DecimalValue(std::string_view value, size_t max_digits) {
    T v = 0;
    for (size_t i = 0; i < value.size() && i < max_digits && value[i] >= '0' && value[i] <= '9'; ++i) {
        v = static_cast<T>(v * 10 + (value[i] - '0'));
    }
    return v;
}

uint8_t FirstDigit(std::string_view value) {
    return static_cast<uint8_t>(value.empty() ? 0 - '0' : value[0] - '0');
}
uint8_t IsOne(std::string_view value) {
    return !value.empty() && value[0] == '1';
}

}  // namespace

std::string_view AnswerText(std::span<const uint8_t> datagram) {
    auto end = std::find(datagram.begin(), datagram.end(), uint8_t{0});
    return {reinterpret_cast<const char*>(datagram.data()), static_cast<size_t>(end - datagram.begin())};
}

std::string_view TagOf(std::string_view request) {
    return request.size() >= 3 ? request.substr(request.size() - 3) : request;
}

std::string_view AnswerValue(std::string_view answer) {
    if (answer.empty()) return {};
    std::string_view rest = answer.substr(1);
    return rest.substr(0, rest.find('|'));
}

std::string_view AnswerTag(std::string_view answer) {
    auto bar = answer.rfind('|');
    if (bar == std::string_view::npos) return {};
    return answer.substr(bar + 1, 2);
}

std::string SelectRequest(std::string_view mac_text, std::string_view tag) {
    return "W" + std::string(mac_text) + std::string(tag);
}

std::string PasswordRequest(const char (&password)[10]) {
    return "L" + std::string(password, strnlen(password, 9)) + std::string(kLoginPasswordTag);
}

std::vector<std::string> ReadRequests(std::string_view mac_text) {
    std::vector<std::string> out{SelectRequest(mac_text, "|20")};
    for (const char* r :
         {"GFE|21", "GIP|22", "GPN|23", "GRM|24", "GDI|25", "GDP|26", "GGI|27", "GNM|28", "GBR|29", "GPR|2A",
          "GBB|2B", "GML|2C", "GMD|2D", "GTP|2E", "GDN|2F", "GDH|30", "GFC|31", "GKL|32", "V|33",   "GDD|34",
          "GLI|35", "GLi|36", "GWW|37", "GDW|38", "GON|39", "GPW|3A", "T|3B",   "GNB|3C", "GDT|3D"}) {
        out.emplace_back(r);
    }
    return out;
}

std::vector<std::string> WriteRequests(std::string_view mac_text, const VkaWorkBlock& b) {
    auto set = [](const char* verb, std::string_view value, const char* tag) {
        return std::string(verb) + std::string(value) + tag;
    };
    return {
        SelectRequest(mac_text, "|1E"),
        set("SDN", FieldText(b.device_name), "|1F"),
        set("SIP", FieldText(b.ip), "|21"),
        set("SPN", Decimal(b.local_port), "|22"),
        set("SRM", Decimal(b.work_mode), "|23"),
        set("SDI", FieldText(b.peer_ip), "|24"),
        set("SDP", Decimal(b.peer_port), "|25"),
        set("SGI", FieldText(b.gateway), "|26"),
        set("SNM", FieldText(b.netmask), "|27"),
        set("SBR", Decimal(static_cast<unsigned>(CodeOfBaud(b.baud_rate))), "|28"),
        set("SPR", Decimal(b.parity), "|29"),
        set("SBB", b.data_bits == 7 ? "0" : "1", "|2A"),
        set("SML", Decimal(b.max_length), "|2B"),
        set("SMD", Decimal(b.max_interval), "|2C"),
        set("STP", Decimal(b.protocol), "|2D"),
        set("SDH", Decimal(b.dhcp), "|2E"),
        set("SFC", Decimal(b.flow_control), "|2F"),
        set("SKL", Decimal(b.keep_alive), "|30"),
        set("SDD", Decimal(b.auto_dns), "|34"),
        set("SLI", FieldText(b.dns1), "|35"),
        set("SLi", FieldText(b.dns2), "|36"),
        set("SWW", Decimal(b.url_switch), "|37"),
        set("SDW", FieldText(b.url), "|38"),  // a URL of up to 30 characters goes whole
        set("SON", FieldText(b.user_name), "|39"),
        set("SPW", FieldText(b.password), "|3A"),
        set("SNB", Decimal(b.network_mode), "|3B"),
    };
}

std::string TakeAnswer(std::string_view request, std::string_view answer) {
    std::string out(answer);
    if (request == kVersionRequest && answer.find(kKeepAliveTag) == std::string_view::npos)
        out += TagOf(request);
    return out;
}

void StoreAnswer(std::string_view answer, VkaWorkBlock& b) {
    const std::string_view v = AnswerValue(answer);
    const std::string_view tag = AnswerTag(answer);
    auto address = [&](char(&field)[16]) { SetText(field, v, 16); };
    if (tag == "21") {
        MacBytes mac;
        std::memcpy(mac.data(), b.mac, mac.size());
        MacTextToBytes(v.substr(0, 30), mac);
        std::memcpy(b.mac, mac.data(), mac.size());
    } else if (tag == "22") {
        address(b.ip);
    } else if (tag == "23") {
        b.local_port = DecimalValue<uint16_t>(v, 5);
    } else if (tag == "24") {
        b.work_mode = FirstDigit(v);
    } else if (tag == "25") {
        address(b.peer_ip);
    } else if (tag == "26") {
        b.peer_port = DecimalValue<uint16_t>(v, 5);
    } else if (tag == "27") {
        address(b.gateway);
    } else if (tag == "28") {
        address(b.netmask);
    } else if (tag == "29") {
        int code = !v.empty() && v[0] >= '0' && v[0] <= '7' ? v[0] - '0' : 3;
        b.baud_rate = BaudOfCode(code);
    } else if (tag == "2A") {
        b.parity = FirstDigit(v);
    } else if (tag == "2B") {
        b.data_bits = !v.empty() && v[0] == '0' ? 7 : 8;
    } else if (tag == "2C") {
        b.max_length = DecimalValue<uint16_t>(v, 5);
    } else if (tag == "2D") {
        b.max_interval = DecimalValue<uint8_t>(v, 3);
    } else if (tag == "2E") {
        b.protocol = FirstDigit(v);
    } else if (tag == "2F") {
        SetText(b.device_name, v, 9);
    } else if (tag == "30") {
        b.dhcp = !v.empty() && v[0] == '0' ? 0 : 1;
    } else if (tag == "31") {
        b.flow_control = IsOne(v);
    } else if (tag == "32") {
        b.keep_alive = DecimalValue<uint8_t>(v, 3);
    } else if (tag == "33") {
        SetText(b.firmware_version, v, 15);
    } else if (tag == "34") {
        b.auto_dns = IsOne(v);
    } else if (tag == "35" || tag == "36") {
        // A DNS answer too short to be an address (such as "0") means no server.
        std::string_view dns = v.size() < 7 ? std::string_view("0.0.0.0") : v;
        SetText(tag == "35" ? b.dns1 : b.dns2, dns, 16);
    } else if (tag == "37") {
        b.url_switch = IsOne(v);
    } else if (tag == "38") {
        SetFieldText(b.url, v.substr(0, 39));
    } else if (tag == "39") {
        SetText(b.user_name, v, 9);
    } else if (tag == "3A") {
        SetText(b.password, v, 9);
    } else if (tag == "3C") {
        b.network_mode = IsOne(v);
    } else if (tag == "3D") {
        b.model_code = v.find("VKA100") != std::string_view::npos  ? VK_MODEL_VKA100
                       : v.find("VKB22") != std::string_view::npos ? VK_MODEL_VKB220
                                                                   : VK_MODEL_VKA100;
    }
    // "3B" (the answer to "T") and tags of no read command store nothing.
}

uint32_t BaudOfCode(int code) {
    return code >= 0 && code < 8 ? kBaudTable[static_cast<size_t>(code)] : 9600;
}

int CodeOfBaud(uint32_t baud) {
    for (size_t i = 0; i < kBaudTable.size(); ++i) {
        if (kBaudTable[i] == baud) return static_cast<int>(i);
    }
    return 3;
}

}  // namespace vkcfg::codec
