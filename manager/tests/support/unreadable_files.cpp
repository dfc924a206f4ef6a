#include "support/unreadable_files.h"

#include <sys/stat.h>

#include <fstream>
#include <stdexcept>

namespace torvane::test {

namespace fs = std::filesystem;

void MakeUnreadable(Unreadable kind, const fs::path& path, std::uintmax_t limit) {
    switch (kind) {
        case Unreadable::kDirectory:
            fs::create_directory(path);
            return;
        case Unreadable::kLinkToDirectory:
            fs::create_directory(path.string() + ".folder");
            fs::create_directory_symlink(path.filename().string() + ".folder", path);
            return;
        case Unreadable::kDanglingLink:
            fs::create_symlink(path.filename().string() + ".gone", path);
            return;
        case Unreadable::kNamedPipe:
            if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("mkfifo " + path.string());
            return;
        case Unreadable::kTooLarge:
            std::ofstream(path, std::ios::binary) << "x";
            fs::resize_file(path, limit + 1);
            return;
    }
}

std::string ExpectedReason(const UnreadableCase& c, std::uintmax_t limit) {
    if (c.kind == Unreadable::kTooLarge) return "larger than " + std::to_string(limit) + " bytes";
    return c.reason;
}

std::string DescribePath(const fs::path& path) {
    std::error_code ec;
    const fs::file_status s = fs::symlink_status(path, ec);
    std::string out = std::to_string(static_cast<int>(s.type()));
    if (fs::is_symlink(s)) out += " -> " + fs::read_symlink(path, ec).string();
    if (fs::is_regular_file(s)) out += " " + std::to_string(fs::file_size(path, ec)) + " bytes";
    return out;
}

}  // namespace torvane::test
