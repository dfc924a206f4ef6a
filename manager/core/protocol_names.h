// ProtocolNames: the protocol names that the parameter windows offer. Three built-in names, then the
// operator's own names from Config.ini in the program folder (section "Protocol", keys
// "UserProtocol1" to "UserProtocol3"): all three, empty or not, when the file exists, none without it.
#pragma once

#include <array>
#include <cstdint>
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

// The largest Config.ini read: a few lines of names, so anything larger is no settings file.
inline constexpr std::uintmax_t kConfigFileLimit = 1u << 20;

// ProtocolNames of the Config.ini text.
std::vector<std::string> ProtocolNamesOfIni(std::string_view ini_text);

struct ConfiguredProtocolNames {
    std::vector<std::string> names;
    std::string problem;  // empty, or "Cannot read <path>: <reason>" when the file could not be read
};

// ProtocolNames of the Config.ini at `config_file`. A missing file gives the built-ins silently; a
// file that cannot be read (a directory, a link to nothing, no permission, a size beyond reason) gives
// the built-ins and the problem to tell the operator.
ConfiguredProtocolNames LoadProtocolNames(const std::filesystem::path& config_file);

}  // namespace torvane
