#include "platform/program_folder.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace torvane {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> Env(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v) return std::nullopt;
    return std::string(v);
}

fs::path ExecutableFolder() {
#if defined(_WIN32)
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    if (n == 0 || n >= std::size(buf)) return {};
    return fs::path(std::wstring(buf, n)).parent_path();
#else
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
#endif
}

// Whether a file can be created in the folder: tried, because permission bits do not tell (read-only
// mounts, access lists).
bool CanCreateFilesIn(const fs::path& folder) {
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec)) return false;
    const fs::path probe = folder / ".torvane-write-probe";
    bool ok = static_cast<bool>(std::ofstream(probe));
    fs::remove(probe, ec);
    return ok;
}

}  // namespace

fs::path FindProgramFolder() {
    ProgramFolderInputs in;
    in.torvane_home = Env("TORVANE_HOME");
    in.xdg_data_home = Env("XDG_DATA_HOME");
#if defined(_WIN32)
    in.home = Env("USERPROFILE");
#else
    in.home = Env("HOME");
#endif
    in.executable_folder = ExecutableFolder();
    return ChooseProgramFolder(in, CanCreateFilesIn);
}

fs::path ProgramFolder() {
    const fs::path folder = FindProgramFolder();
    if (folder.empty()) throw std::runtime_error("No folder for the program's files: set TORVANE_HOME");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw std::runtime_error("Cannot create " + folder.string() + ": " + ec.message());
    return folder;
}

}  // namespace torvane
