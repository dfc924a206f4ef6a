#include "core/input_file.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace torvane {
namespace {

namespace fs = std::filesystem;

InputFile Unreadable(std::string reason) {
    InputFile f;
    f.state = InputFile::State::kUnreadable;
    f.reason = std::move(reason);
    return f;
}

// Why a path that exists is no readable regular file; empty when it is one.
std::string NotARegularFile(const fs::path& path, const fs::file_status& link) {
    std::error_code ec;
    const fs::file_status target = fs::status(path, ec);
    if (fs::is_symlink(link) && !fs::exists(target)) return "a symbolic link to nothing";
    if (ec) return ec.message();
    if (fs::is_directory(target)) return "is a directory";
    if (!fs::is_regular_file(target)) return "not a regular file";
    return {};
}

}  // namespace

InputFile ReadInputFile(const fs::path& path, std::uintmax_t limit) {
    std::error_code ec;
    const fs::file_status link = fs::symlink_status(path, ec);
    if (!fs::exists(link)) {
        if (ec && ec != std::errc::no_such_file_or_directory) return Unreadable(ec.message());
        return {};
    }
    if (std::string why = NotARegularFile(path, link); !why.empty()) return Unreadable(why);
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return Unreadable(ec.message());
    if (size > limit) return Unreadable("larger than " + std::to_string(limit) + " bytes");

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Unreadable(errno != 0 ? std::generic_category().message(errno) : "cannot be opened");
    InputFile f;
    f.state = InputFile::State::kRead;
    f.bytes.resize(static_cast<size_t>(size));
    // The stream catches the buffer's read errors and reports them as badbit; a file that shrank since
    // its size was taken reads short.
    in.read(f.bytes.data(), static_cast<std::streamsize>(size));
    if (in.bad()) return Unreadable("read error");
    f.bytes.resize(static_cast<size_t>(in.gcount()));
    return f;
}

std::string UnreadableMessage(const fs::path& path, const InputFile& file) {
    return "Cannot read " + path.string() + ": " + file.reason;
}

}  // namespace torvane
