#include <cctype>

#include "platform/net_func.h"

namespace torvane {
namespace {

int HexValue(char c) {
    const int u = std::toupper(static_cast<unsigned char>(c));
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

}  // namespace

MacBytes ParseArpMac(const std::string& text) {
    auto refuse = [&]() -> NetFuncError {
        return NetFuncError("Not a MAC address in the form 00-1A-2B-3C-4D-5E: \"" + text + "\"");
    };
    if (text.size() != 17) throw refuse();
    MacBytes mac{};
    for (size_t i = 0; i < 6; ++i) {
        const size_t at = 3 * i;
        if (i > 0 && text[at - 1] != '-') throw refuse();
        const int high = HexValue(text[at]);
        const int low = HexValue(text[at + 1]);
        // A character that is no hexadecimal digit would otherwise give a byte nobody wrote.
        if (high < 0 || low < 0) throw refuse();
        mac[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return mac;
}

}  // namespace torvane
