// Files that the manager's logic writes: replaced whole or not at all (a crash or a full disk never
// leaves one half written), or added beside others without ever replacing one. Doing that takes the
// operating system's calls (the bytes on the disk before the file takes its name, a name taken only when
// it is free), so the core writes through FileWriter and platform/file_writer.h provides it.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace torvane {

struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class FileWriter {
  public:
    virtual ~FileWriter() = default;

    // Replaces `path` with `bytes`. On failure throws FileError naming the file and the reason; the old
    // file is then untouched and no temporary file is left behind.
    virtual void ReplaceFile(const std::filesystem::path& path, std::string_view bytes) = 0;

    // Adds a file to `folder` without ever replacing one: named stem + extension, or when that exists
    // stem + "-2" + extension, "-3", and so on. The bytes are on the disk before the file gets its name.
    // Returns the file's path; on failure throws FileError naming the file and the reason, and leaves
    // no file behind.
    virtual std::filesystem::path AddNewFile(const std::filesystem::path& folder, const std::string& stem,
                                             const std::string& extension, std::string_view bytes) = 0;
};

}  // namespace torvane
