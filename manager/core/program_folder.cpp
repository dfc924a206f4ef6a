#include "core/program_folder.h"

namespace torvane {

namespace fs = std::filesystem;

fs::path ChooseProgramFolder(const ProgramFolderInputs& in,
                             const std::function<bool(const fs::path&)>& is_writable) {
    auto set = [](const std::optional<std::string>& v) { return v && !v->empty(); };
    if (set(in.torvane_home)) return fs::path(*in.torvane_home);
    if (!in.executable_folder.empty() && is_writable(in.executable_folder)) return in.executable_folder;
    if (set(in.xdg_data_home)) return fs::path(*in.xdg_data_home) / "torvane";
    if (set(in.home)) return fs::path(*in.home) / ".local" / "share" / "torvane";
    return {};
}

}  // namespace torvane
