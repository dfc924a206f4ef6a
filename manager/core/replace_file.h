// Writing a file so that a crash or a full disk never leaves it half written: the bytes go to a
// temporary file in the same folder, which then replaces the old file in one rename.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace torvane {

struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Replaces `path` with `bytes`. On failure throws FileError naming the file and the reason; the old
// file is then untouched and no temporary file is left behind.
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

// Adds a file to `folder` without ever replacing one: named stem + extension, or when that exists
// stem + "-2" + extension, "-3", and so on. The bytes are on the disk before the file gets its name.
// Returns the file's path; on failure throws FileError naming the file and the reason, and leaves no
// file behind.
std::filesystem::path AddNewFile(const std::filesystem::path& folder, const std::string& stem,
                                 const std::string& extension, std::string_view bytes);

}  // namespace torvane
