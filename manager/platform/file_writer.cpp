#include "platform/file_writer.h"

#include <cerrno>
#include <string>
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

// Writes the temporary file `temp`; failures name `shown`, the file the caller is writing.
#if defined(_WIN32)
void WriteTemporary(const fs::path& temp, std::string_view bytes, const fs::path& shown) {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) Fail(shown, "cannot create the file");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fail(shown, "write failed");
}

// Gives `temp` the name `target` unless a file has it; false when one has.
bool RenameUnlessTaken(const fs::path& temp, const fs::path& target) {
    std::error_code ec;
    if (fs::exists(target, ec)) return false;
    fs::rename(temp, target, ec);
    if (ec) Fail(target, ec.message());
    return true;
}
#else
void WriteTemporary(const fs::path& temp, std::string_view bytes, const fs::path& shown) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail(shown, ErrnoText(errno));
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
    if (error != 0) Fail(shown, ErrnoText(error));
}

// Gives `temp` the name `target` unless a file has it; false when one has. A hard link never replaces
// a file; where the file system has none, the name is checked and then taken.
bool RenameUnlessTaken(const fs::path& temp, const fs::path& target) {
    if (::link(temp.c_str(), target.c_str()) == 0) {
        ::unlink(temp.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS) Fail(target, ErrnoText(errno));
    std::error_code ec;
    if (fs::exists(target, ec)) return false;
    fs::rename(temp, target, ec);
    if (ec) Fail(target, ec.message());
    return true;
}
#endif

std::string ProcessTag() {
#if defined(_WIN32)
    return "new";
#else
    return "new-" + std::to_string(::getpid());
#endif
}

}  // namespace

void PlatformFileWriter::ReplaceFile(const fs::path& path, std::string_view bytes) {
    fs::path temp = path;
    temp += ".new";
    try {
        WriteTemporary(temp, bytes, temp);
        std::error_code ec;
        fs::rename(temp, path, ec);
        if (ec) Fail(path, ec.message());
    } catch (const FileError&) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw;
    }
}

fs::path PlatformFileWriter::AddNewFile(const fs::path& folder, const std::string& stem,
                                        const std::string& extension, std::string_view bytes) {
    const fs::path first = folder / (stem + extension);
    const fs::path temp = folder / (stem + extension + "." + ProcessTag());
    try {
        WriteTemporary(temp, bytes, first);
        for (int n = 1;; ++n) {
            const fs::path target = n == 1 ? first : folder / (stem + "-" + std::to_string(n) + extension);
            if (RenameUnlessTaken(temp, target)) return target;
        }
    } catch (const FileError&) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw;
    }
}

}  // namespace torvane
