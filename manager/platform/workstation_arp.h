// The device session's ARP entries on the workstation's own ARP table. A refusal (no privilege, no
// Ethernet interface, an address the kernel does not take) leaves the table as it was, and the session
// goes on without the entry.
#pragma once

#include "core/params/param_session.h"

namespace torvane {

class WorkstationArp final : public ArpPort {
  public:
    void SetArpEntry(const std::string& ip_text, const std::string& arp_mac_text) override;
    void DeleteArpEntries(const std::string& ip_text) override;
};

}  // namespace torvane
