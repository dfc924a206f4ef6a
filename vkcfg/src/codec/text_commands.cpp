#include "codec/text_commands.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "codec/addr_text.h"
#include "codec/byte_io.h"

namespace vkcfg::codec {
namespace {

constexpr std::array<uint32_t, 8> kBaudTable{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

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

// How a setting's value text and its field of the work block convert into each other.
enum class Kind {
    kMac,         // decimal MAC text (read only)
    kText,        // text of at most max_chars characters
    kDns,         // as kText; a value too short to be an address (such as "0") means no server
    kUrl,         // at most 39 characters read, of which the field takes its whole width
    kDecimal,     // at most max_chars digits accumulated in the field's width; written in decimal
    kDigit,       // the first character minus "0"
    kOneIsOn,     // 1 for "1", else 0
    kZeroIsOff,   // 0 for "0", else 1
    kBaud,        // a code digit "0" to "7" (any other: 3) for the speed in bit/s
    kDataBits,    // "0" for 7, anything else 8
    kModel,       // the model text: "VKA100" gives 1, else "VKB22" gives 0x20, else 1 (read only)
    kStatusOnly,  // only the answer's status counts (read only)
};

// One setting of the first generation's text protocol: the read request and the tag its answer names,
// the write request's verb and tag, and the field of the work block it fills.
struct TextSetting {
    std::string_view read;       // "GIP": the read request is read + "|" + read_tag
    std::string_view read_tag;   // "22"
    std::string_view write;      // "SIP": the write request is write + value + "|" + write_tag; "" = none
    std::string_view write_tag;  // "21"
    Kind kind;
    size_t offset = 0;  // of the field in VkaWorkBlock
    size_t width = 0;   // of the field in bytes
    size_t max_chars = 0;
};

#define FIELD(f) offsetof(VkaWorkBlock, f), sizeof(VkaWorkBlock::f)

// In the order of the read; the write goes in the order of its tags.
constexpr TextSetting kSettings[] = {
    {"GFE", "21", "", "", Kind::kMac, FIELD(mac), 30},
    {"GIP", "22", "SIP", "21", Kind::kText, FIELD(ip), 16},
    {"GPN", "23", "SPN", "22", Kind::kDecimal, FIELD(local_port), 5},
    {"GRM", "24", "SRM", "23", Kind::kDigit, FIELD(work_mode)},
    {"GDI", "25", "SDI", "24", Kind::kText, FIELD(peer_ip), 16},
    {"GDP", "26", "SDP", "25", Kind::kDecimal, FIELD(peer_port), 5},
    {"GGI", "27", "SGI", "26", Kind::kText, FIELD(gateway), 16},
    {"GNM", "28", "SNM", "27", Kind::kText, FIELD(netmask), 16},
    {"GBR", "29", "SBR", "28", Kind::kBaud, FIELD(baud_rate)},
    {"GPR", "2A", "SPR", "29", Kind::kDigit, FIELD(parity)},
    {"GBB", "2B", "SBB", "2A", Kind::kDataBits, FIELD(data_bits)},
    {"GML", "2C", "SML", "2B", Kind::kDecimal, FIELD(max_length), 5},
    {"GMD", "2D", "SMD", "2C", Kind::kDecimal, FIELD(max_interval), 3},
    {"GTP", "2E", "STP", "2D", Kind::kDigit, FIELD(protocol)},
    {"GDN", "2F", "SDN", "1F", Kind::kText, FIELD(device_name), 9},
    {"GDH", "30", "SDH", "2E", Kind::kZeroIsOff, FIELD(dhcp)},
    {"GFC", "31", "SFC", "2F", Kind::kOneIsOn, FIELD(flow_control)},
    {"GKL", "32", "SKL", "30", Kind::kDecimal, FIELD(keep_alive), 3},
    {"V", "33", "", "", Kind::kText, FIELD(firmware_version), 15},
    {"GDD", "34", "SDD", "34", Kind::kOneIsOn, FIELD(auto_dns)},
    {"GLI", "35", "SLI", "35", Kind::kDns, FIELD(dns1), 16},
    {"GLi", "36", "SLi", "36", Kind::kDns, FIELD(dns2), 16},
    {"GWW", "37", "SWW", "37", Kind::kOneIsOn, FIELD(url_switch)},
    {"GDW", "38", "SDW", "38", Kind::kUrl, FIELD(url), 39},  // a URL of up to 30 characters goes whole
    {"GON", "39", "SON", "39", Kind::kText, FIELD(user_name), 9},
    {"GPW", "3A", "SPW", "3A", Kind::kText, FIELD(password), 9},
    {"T", "3B", "", "", Kind::kStatusOnly},
    {"GNB", "3C", "SNB", "3B", Kind::kOneIsOn, FIELD(network_mode)},
    {"GDT", "3D", "", "", Kind::kModel, FIELD(model_code)},
};

#undef FIELD

// The field's bytes in the block.
uint8_t* At(VkaWorkBlock& b, const TextSetting& s) {
    return reinterpret_cast<uint8_t*>(&b) + s.offset;
}
const uint8_t* At(const VkaWorkBlock& b, const TextSetting& s) {
    return reinterpret_cast<const uint8_t*>(&b) + s.offset;
}

// A number field of 1, 2 or 4 bytes in host order.
template <typename T>
uint32_t Load(const uint8_t* at) {
    T v;
    std::memcpy(&v, at, sizeof v);
    return v;
}
template <typename T>
void Save(uint8_t* at, uint32_t value) {
    const auto v = static_cast<T>(value);
    std::memcpy(at, &v, sizeof v);
}

uint32_t NumberAt(const VkaWorkBlock& b, const TextSetting& s) {
    return s.width == 1   ? Load<uint8_t>(At(b, s))
           : s.width == 2 ? Load<uint16_t>(At(b, s))
                          : Load<uint32_t>(At(b, s));
}

void PutNumber(VkaWorkBlock& b, const TextSetting& s, uint32_t value) {
    if (s.width == 1)
        Save<uint8_t>(At(b, s), value);
    else if (s.width == 2)
        Save<uint16_t>(At(b, s), value);
    else
        Save<uint32_t>(At(b, s), value);
}

std::string_view TextAt(const VkaWorkBlock& b, const TextSetting& s) {
    const auto* p = reinterpret_cast<const char*>(At(b, s));
    return {p, strnlen(p, s.width)};
}

// A text of at most max_chars characters and the field's width less one, then a NUL.
void PutText(VkaWorkBlock& b, const TextSetting& s, std::string_view text) {
    const size_t n = std::min({text.size(), s.max_chars, s.width - 1});
    if (n != 0) std::memcpy(At(b, s), text.data(), n);
    At(b, s)[n] = 0;
}

// The value text of a write request.
std::string WriteValue(const VkaWorkBlock& b, const TextSetting& s) {
    switch (s.kind) {
        case Kind::kText:
        case Kind::kDns:
        case Kind::kUrl:
            return std::string(TextAt(b, s));
        case Kind::kBaud:
            return Decimal(static_cast<unsigned>(CodeOfBaud(NumberAt(b, s))));
        case Kind::kDataBits:
            return NumberAt(b, s) == 7 ? "0" : "1";
        case Kind::kDecimal:
        case Kind::kDigit:
        case Kind::kOneIsOn:
        case Kind::kZeroIsOff:
            return Decimal(NumberAt(b, s));
        case Kind::kMac:
        case Kind::kModel:
        case Kind::kStatusOnly:
            break;
    }
    return {};
}

void Store(const TextSetting& s, std::string_view v, VkaWorkBlock& b) {
    switch (s.kind) {
        case Kind::kMac: {
            MacBytes mac;
            std::memcpy(mac.data(), At(b, s), mac.size());
            MacTextToBytes(v.substr(0, s.max_chars), mac);
            std::memcpy(At(b, s), mac.data(), mac.size());
            return;
        }
        case Kind::kText:
            PutText(b, s, v);
            return;
        case Kind::kDns:
            PutText(b, s, v.size() < 7 ? std::string_view("0.0.0.0") : v);
            return;
        case Kind::kUrl: {
            const std::string_view url = v.substr(0, s.max_chars);
            const size_t n = std::min(url.size(), s.width);
            if (n != 0) std::memcpy(At(b, s), url.data(), n);
            if (n < s.width) At(b, s)[n] = 0;
            return;
        }
        case Kind::kDecimal:
            PutNumber(b, s,
                      s.width == 1 ? DecimalValue<uint8_t>(v, s.max_chars)
                                   : DecimalValue<uint16_t>(v, s.max_chars));
            return;
        case Kind::kDigit:
            PutNumber(b, s, FirstDigit(v));
            return;
        case Kind::kOneIsOn:
            PutNumber(b, s, IsOne(v));
            return;
        case Kind::kZeroIsOff:
            PutNumber(b, s, !v.empty() && v[0] == '0' ? 0 : 1);
            return;
        case Kind::kBaud:
            PutNumber(b, s, BaudOfCode(!v.empty() && v[0] >= '0' && v[0] <= '7' ? v[0] - '0' : 3));
            return;
        case Kind::kDataBits:
            PutNumber(b, s, !v.empty() && v[0] == '0' ? 7 : 8);
            return;
        case Kind::kModel:
            PutNumber(b, s,
                      v.find("VKA100") != std::string_view::npos  ? VK_MODEL_VKA100
                      : v.find("VKB22") != std::string_view::npos ? VK_MODEL_VKB220
                                                                  : VK_MODEL_VKA100);
            return;
        case Kind::kStatusOnly:
            return;
    }
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
    for (const auto& s : kSettings)
        out.push_back(std::string(s.read) + "|" + std::string(s.read_tag));
    return out;
}

std::vector<std::string> WriteRequests(std::string_view mac_text, const VkaWorkBlock& b) {
    std::vector<const TextSetting*> written;
    for (const auto& s : kSettings) {
        if (!s.write.empty()) written.push_back(&s);
    }
    std::sort(written.begin(), written.end(),
              [](const TextSetting* x, const TextSetting* y) { return x->write_tag < y->write_tag; });
    std::vector<std::string> out{SelectRequest(mac_text, "|1E")};
    for (const TextSetting* s : written)
        out.push_back(std::string(s->write) + WriteValue(b, *s) + "|" + std::string(s->write_tag));
    return out;
}

std::string TakeAnswer(std::string_view request, std::string_view answer) {
    std::string out(answer);
    if (request == kVersionRequest && answer.find(kKeepAliveTag) == std::string_view::npos)
        out += TagOf(request);
    return out;
}

void StoreAnswer(std::string_view answer, VkaWorkBlock& b) {
    const std::string_view tag = AnswerTag(answer);
    const auto* s = std::find_if(std::begin(kSettings), std::end(kSettings),
                                 [&](const TextSetting& t) { return t.read_tag == tag; });
    // Tags of no read command (the answer to the selection "W") store nothing.
    if (s != std::end(kSettings)) Store(*s, AnswerValue(answer), b);
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
