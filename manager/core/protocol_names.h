// ProtocolNames: the protocol names that the parameter windows offer. Three built-in names, then the
// operator's own names from Config.ini in the program folder (section "Protocol", keys
// "UserProtocol1" to "UserProtocol3"): all three, empty or not, when the file exists, none without it.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

inline constexpr const char* kConfigFileName = "Config.ini";
inline constexpr const char* kProtocolSection = "Protocol";
inline constexpr std::array<const char*, 3> kUserProtocolKeys = {"UserProtocol1", "UserProtocol2",
                                                                 "UserProtocol3"};

// The three built-in names, then the three user entries when there are any (the file exists).
std::vector<std::string> ProtocolNames(const std::optional<std::array<std::string, 3>>& user_entries);

// The value of `key` in `section` of an INI text, as the classic profile reader gives it: section and
// key names match without regard to ASCII case, blanks around the value are dropped and so are quotes
// that enclose it; the first occurrence counts. Nothing when the key is not there. Values are bytes.
std::optional<std::string> IniValue(std::string_view ini_text, std::string_view section,
                                    std::string_view key);

// ProtocolNames of the Config.ini at `config_file` (a missing or unreadable file gives the built-ins).
std::vector<std::string> LoadProtocolNames(const std::filesystem::path& config_file);

}  // namespace torvane
