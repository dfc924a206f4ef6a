// Things that can stand at the path of a file the programs read, none of which is a readable file: a
// directory, a link to one, a link to nothing, a named pipe (whose reader would wait forever) and a
// file of a size beyond reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace torvane::test {

enum class Unreadable { kDirectory, kLinkToDirectory, kDanglingLink, kNamedPipe, kTooLarge };

struct UnreadableCase {
    Unreadable kind;
    const char* name;
    const char* reason;  // what the message says after "Cannot read <path>: "; empty: "larger than ..."
};

inline constexpr UnreadableCase kUnreadableCases[] = {
    {Unreadable::kDirectory, "directory", "is a directory"},
    {Unreadable::kLinkToDirectory, "link to a directory", "is a directory"},
    {Unreadable::kDanglingLink, "link to nothing", "a symbolic link to nothing"},
    {Unreadable::kNamedPipe, "named pipe", "not a regular file"},
    {Unreadable::kTooLarge, "file beyond the limit", ""},
};

// Puts the thing at `path` (a sparse file of limit + 1 bytes for kTooLarge).
void MakeUnreadable(Unreadable kind, const std::filesystem::path& path, std::uintmax_t limit);

// The reason the message gives for the case.
std::string ExpectedReason(const UnreadableCase& c, std::uintmax_t limit);

// What stands at the path (kind, link target, size), to show that nothing replaced it.
std::string DescribePath(const std::filesystem::path& path);

}  // namespace torvane::test
