// The folder that holds the manager's files (DevInfo.dat and the other files of the program folder):
// TORVANE_HOME when set; else the executable's folder when it is writable (portable use); else
// $XDG_DATA_HOME/torvane, by default ~/.local/share/torvane. The rule is here; platform/program_folder.h
// asks the operating system for its inputs.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace torvane {

struct ProgramFolderInputs {
    std::optional<std::string> torvane_home;   // $TORVANE_HOME
    std::optional<std::string> xdg_data_home;  // $XDG_DATA_HOME
    std::optional<std::string> home;           // $HOME (or the user profile folder)
    std::filesystem::path executable_folder;   // empty when unknown
};

// Chooses the folder by the rule above; empty variables count as unset. `is_writable` says whether
// files can be created in a folder.
std::filesystem::path ChooseProgramFolder(
    const ProgramFolderInputs& inputs, const std::function<bool(const std::filesystem::path&)>& is_writable);

}  // namespace torvane
