#include "platform/net_func.h"

namespace torvane {

MacBytes ParseArpMac(const std::string& text) {
    if (auto mac = ArpTextToMac(text)) return *mac;
    throw NetFuncError("Not a MAC address in the form 00-1A-2B-3C-4D-5E: \"" + text + "\"");
}

}  // namespace torvane
