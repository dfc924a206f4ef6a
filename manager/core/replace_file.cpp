#include "core/replace_file.h"

#include <cerrno>
#include <system_error>

#if defined(_WIN32)
#include <fstream>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace torvane {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const fs::path& path, const std::string& reason) {
    throw FileError("Cannot write " + path.string() + ": " + reason);
}

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

#if defined(_WIN32)
void WriteTemporary(const fs::path& temp, std::string_view bytes) {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) Fail(temp, "cannot create the file");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fail(temp, "write failed");
}
#else
void WriteTemporary(const fs::path& temp, std::string_view bytes) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail(temp, ErrnoText(errno));
    size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR) {
            error = errno;
        }
    }
    // The data must be on the disk before the rename makes it the file.
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) Fail(temp, ErrnoText(error));
}
#endif

}  // namespace

void ReplaceFile(const fs::path& path, std::string_view bytes) {
    fs::path temp = path;
    temp += ".new";
    try {
        WriteTemporary(temp, bytes);
        std::error_code ec;
        fs::rename(temp, path, ec);
        if (ec) Fail(path, ec.message());
    } catch (const FileError&) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw;
    }
}

}  // namespace torvane
