#include "core/protocol_names.h"

#include "core/input_file.h"

namespace torvane {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
        if (up(a[i]) != up(b[i])) return false;
    }
    return true;
}

std::string_view Unquoted(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

std::vector<std::string> ProtocolNames(const std::optional<std::array<std::string, 3>>& user_entries) {
    std::vector<std::string> names = {"UDP", "TCP", "REAL_COM"};
    if (user_entries) names.insert(names.end(), user_entries->begin(), user_entries->end());
    return names;
}

std::optional<std::string> IniValue(std::string_view text, std::string_view section, std::string_view key) {
    bool in_section = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            in_section =
                close != std::string_view::npos && SameAsciiNoCase(Trim(line.substr(1, close - 1)), section);
            continue;
        }
        const size_t eq = line.find('=');
        if (!in_section || eq == std::string_view::npos) continue;
        if (SameAsciiNoCase(Trim(line.substr(0, eq)), key))
            return std::string(Unquoted(Trim(line.substr(eq + 1))));
    }
    return std::nullopt;
}

std::vector<std::string> ProtocolNamesOfIni(std::string_view ini_text) {
    std::array<std::string, 3> user;
    for (size_t i = 0; i < user.size(); ++i)
        user[i] = IniValue(ini_text, kProtocolSection, kUserProtocolKeys[i]).value_or("");
    return ProtocolNames(user);
}

ConfiguredProtocolNames LoadProtocolNames(const std::filesystem::path& config_file) {
    const InputFile file = ReadInputFile(config_file, kConfigFileLimit);
    switch (file.state) {
        case InputFile::State::kRead:
            return {ProtocolNamesOfIni(file.bytes), {}};
        case InputFile::State::kUnreadable:
            return {ProtocolNames(std::nullopt), UnreadableMessage(config_file, file)};
        case InputFile::State::kMissing:
            break;
    }
    return {ProtocolNames(std::nullopt), {}};
}

}  // namespace torvane
