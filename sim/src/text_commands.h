// The first generation's parameter commands as a device knows them: the read verbs with the value each
// answers, the set verbs with the setting each changes, and the four-byte serial commands.
#pragma once

#include <string>

#include "device.h"

namespace vksim {

struct TextRead {
    const char* verb;  // "GIP", "V", "T"
    const char* tag;   // the two hex digits that belong to the verb
    bool tagged;       // false: the answer carries no tag (the version)
    std::string (*value)(const Device&);
};

struct TextSet {
    const char* verb;  // "SIP"
    const char* tag;
    bool (*apply)(Device&, const std::string& value);  // false: the value is not one the setting takes
};

// The command for a verb and tag, or nullptr when the device knows no such pair.
const TextRead* FindTextRead(const std::string& verb, const std::string& tag);
const TextSet* FindTextSet(const std::string& verb, const std::string& tag);

// "PBR", "PPR" or "PBB" and one more byte.
bool IsSerialCommand(const std::string& text);
// Changes the serial line of channel 0; false for a digit the command does not take.
bool ApplySerialCommand(Device& d, const std::string& text);

}  // namespace vksim
