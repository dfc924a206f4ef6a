// updatevkafile.txt in the program folder: the firmware path and the WEB path of the last update that
// passed its image checks, offered again when the update window opens. Lines end with CR LF.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/replace_file.h"

namespace torvane {

inline constexpr const char* kRememberedPathsFile = "updatevkafile.txt";

struct RememberedPaths {
    std::string firmware;  // line 1
    std::string web;       // line 2 (may be empty)
};

// Writes line 1, and line 2 when `with_web_line` (variant B writes line 1 only). The file is replaced
// whole or not at all; a failure is not reported, because the paths only save the operator typing.
void WriteRememberedPaths(FileWriter& files, const std::filesystem::path& folder,
                          const RememberedPaths& paths, bool with_web_line);

// The paths to offer: only when the file exists and its line 1 names an existing file. A missing
// line reads as empty.
std::optional<RememberedPaths> ReadRememberedPaths(const std::filesystem::path& folder);

}  // namespace torvane
