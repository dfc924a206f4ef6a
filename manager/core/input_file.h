// Reading a file of the program folder that the operator, another program or a broken disk may have
// put anything at: a directory, a link to one, a dangling link, a file without permission, a device
// that never ends, a file of a size beyond reason. Whatever it is, the reader answers with the bytes,
// with "missing", or with the reason it could not read them, and never throws, blocks or reads more
// than the limit. Callers go on as for a missing file and tell the operator the reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace torvane {

struct InputFile {
    enum class State {
        kRead,        // bytes holds the whole file
        kMissing,     // nothing at the path (no file, no link)
        kUnreadable,  // something is there but cannot be read: reason says why
    };
    State state = State::kMissing;
    std::string bytes;
    std::string reason;  // e.g. "is a directory", "a symbolic link to nothing", "Permission denied"
};

// Reads the whole file at `path` when it is a regular file (or a link to one) of at most `limit` bytes.
InputFile ReadInputFile(const std::filesystem::path& path, std::uintmax_t limit);

// "Cannot read <path>: <reason>", the message of an unreadable file.
std::string UnreadableMessage(const std::filesystem::path& path, const InputFile& file);

}  // namespace torvane
