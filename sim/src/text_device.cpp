// A first-generation device on its text port. A broadcast "W" naming the device's MAC selects it and
// unselects every other one; later broadcasts (other than "X" and "W") are answered by the selected
// device only, requests sent to the device's own address by the device itself. "L" opens a session,
// "O" ends it and the selection.
#include <cctype>
#include <string>

#include "handlers.h"
#include "text_commands.h"

namespace vksim {
namespace {

constexpr char kAccepted = 'A';
constexpr char kRefusedSession = 'N';    // no session, or a wrong password
constexpr char kRefusedProtected = 'P';  // parameter protection is on
constexpr char kRefusedValue = 'E';      // the value is not one the setting takes

struct Tagged {
    std::string body;  // the request without its tag
    std::string tag;   // two hex digits
};

bool SplitTag(const std::string& text, Tagged& out) {
    const size_t n = text.size();
    if (n < 4 || text[n - 3] != '|') return false;
    if (!std::isxdigit(static_cast<unsigned char>(text[n - 2])) ||
        !std::isxdigit(static_cast<unsigned char>(text[n - 1])))
        return false;
    out.body = text.substr(0, n - 3);
    out.tag = text.substr(n - 2);
    return true;
}

Bytes TextBytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// A late answer to the request before: the tag one lower, so that it never carries the awaited one.
std::string ForeignTag(const std::string& tag) {
    static const char* kHex = "0123456789ABCDEF";
    const int v = (std::stoi(tag, nullptr, 16) + 255) % 256;
    return std::string{kHex[v >> 4], kHex[v & 15]};
}

// The answer status + value + "|" + tag, preceded by a foreign-tag answer when the device is told so.
std::vector<Bytes> Answer(const Device& d, char status, const std::string& value, const std::string& tag) {
    std::vector<Bytes> out;
    if (d.faults.foreign_tag) out.push_back(TextBytes(std::string(1, status) + "|" + ForeignTag(tag)));
    out.push_back(TextBytes(std::string(1, status) + value + "|" + tag));
    return out;
}

std::vector<Bytes> Select(Device& d, const Tagged& t) {
    if (t.tag != "20" && t.tag != "1E") return {};
    d.selected = t.body.substr(1) == MacDecimalText(d.mac);
    if (!d.selected) return {};
    return Answer(d, kAccepted, "", t.tag);
}

std::vector<Bytes> Login(Device& d, const Tagged& t) {
    if (t.tag != "19") return {};
    d.session_open = !d.faults.refuse_password && t.body.substr(1) == d.password;
    return Answer(d, d.session_open ? kAccepted : kRefusedSession, "", t.tag);
}

// Parameter requests are repeated by their sender; the device lets the first sends of each go by.
bool IgnoredSend(Device& d, const std::string& text) {
    if (d.faults.ignore_text_sends <= 0) return false;
    return ++d.text_sends[text] <= d.faults.ignore_text_sends;
}

std::vector<Bytes> Read(Device& d, const TextRead& c) {
    if (!c.tagged) {  // the version answers with its value alone
        const std::string answer =
            ParametersOpen(d) ? kAccepted + c.value(d) : std::string(1, kRefusedSession);
        return {TextBytes(answer)};
    }
    if (!ParametersOpen(d)) return Answer(d, kRefusedSession, "", c.tag);
    return Answer(d, kAccepted, c.value(d), c.tag);
}

std::vector<Bytes> Set(Device& d, const TextSet& c, const std::string& value) {
    if (!ParametersOpen(d)) return Answer(d, kRefusedSession, "", c.tag);
    if (d.faults.refuse_writes) return Answer(d, kRefusedProtected, "", c.tag);
    return Answer(d, c.apply(d, value) ? kAccepted : kRefusedValue, "", c.tag);
}

std::vector<Bytes> SerialCommand(Device& d, const std::string& text) {
    char status = kAccepted;
    if (d.faults.refuse_writes) {
        status = kRefusedProtected;
    } else if (!ApplySerialCommand(d, text)) {
        status = kRefusedValue;
    }
    return {Bytes{static_cast<uint8_t>(status)}};
}

std::vector<Bytes> FirstGeneration(Device& d, const Request& r) {
    const std::string text(r.bytes.begin(), r.bytes.end());
    if (text == "O") {
        EndSession(d);
        d.selected = false;
        return {};
    }
    if (IsSerialCommand(text)) return r.broadcast ? std::vector<Bytes>{} : SerialCommand(d, text);

    Tagged t;
    if (!SplitTag(text, t) || t.body.empty()) return {};
    if (t.body[0] == 'W') return Select(d, t);
    if (r.broadcast && !d.selected) return {};
    if (t.body[0] == 'L') return Login(d, t);

    const TextRead* read = FindTextRead(t.body, t.tag);
    const TextSet* set = t.body.size() >= 3 ? FindTextSet(t.body.substr(0, 3), t.tag) : nullptr;
    if (!read && !set) return {};
    if (IgnoredSend(d, text)) return {};
    return read ? Read(d, *read) : Set(d, *set, t.body.substr(3));
}

}  // namespace

std::vector<Bytes> RespondText(Device& d, const Request& r) {
    if (r.bytes.size() == 1 && r.bytes[0] == 'X') {
        if (d.model->generation == Generation::kText) return {TextSearchAnswer(d)};
        return {Bytes{'V', 'B'}};  // a second-generation device names itself, so the caller switches
    }
    if (d.model->generation != Generation::kText) return {};
    return FirstGeneration(d, r);
}

}  // namespace vksim
