// A DevInfo.dat record written out by hand (not with the core's encoder): the address in its 16-byte
// field, an empty name in the 50-byte field, zeros everywhere else.
#pragma once

#include <string>

namespace torvane::test {

inline std::string BookRecord(const std::string& ip) {
    std::string r(66, '\0');
    r.replace(0, ip.size(), ip);
    return r;
}

}  // namespace torvane::test
