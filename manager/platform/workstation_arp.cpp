#include "platform/workstation_arp.h"

#include "platform/net_func.h"

namespace torvane {

void WorkstationArp::SetArpEntry(const std::string& ip_text, const std::string& arp_mac_text) {
    try {
        (void)::torvane::SetArpEntry(ip_text, arp_mac_text, "");
    } catch (const NetFuncError&) {
    }
}

void WorkstationArp::DeleteArpEntries(const std::string& ip_text) {
    try {
        ::torvane::DeleteArpEntries(ip_text, "");
    } catch (const NetFuncError&) {
    }
}

}  // namespace torvane
