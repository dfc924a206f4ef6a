#include "core/update/remembered_paths.h"

#include <fstream>

#include "core/replace_file.h"

namespace torvane {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string NextLine(std::istream& in) {
    std::string line;
    if (!std::getline(in, line)) return {};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

void WriteRememberedPaths(FileWriter& files, const std::filesystem::path& folder,
                          const RememberedPaths& paths, bool with_web_line) {
    std::string text = paths.firmware + kLineEnd;
    if (with_web_line) text += paths.web + kLineEnd;
    try {
        files.ReplaceFile(folder / kRememberedPathsFile, text);
    } catch (const FileError&) {
        // The update goes on: the next opening of the window just offers no paths.
    }
}

std::optional<RememberedPaths> ReadRememberedPaths(const std::filesystem::path& folder) {
    std::ifstream in(folder / kRememberedPathsFile, std::ios::binary);
    if (!in) return std::nullopt;
    RememberedPaths paths;
    paths.firmware = NextLine(in);
    paths.web = NextLine(in);
    std::error_code ec;
    if (paths.firmware.empty() ||
        !std::filesystem::is_regular_file(std::filesystem::path(paths.firmware), ec))
        return std::nullopt;
    return paths;
}

}  // namespace torvane
