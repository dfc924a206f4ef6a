// The folder that holds the manager's files (DevInfo.dat and the other files of the program folder):
// TORVANE_HOME when set; else the executable's folder when it is writable (portable use); else
// $XDG_DATA_HOME/torvane, by default ~/.local/share/torvane.
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

// The folder for this process by the rule above, without creating it; empty when there is none.
std::filesystem::path FindProgramFolder();

// The folder for this process (created when missing); throws std::runtime_error when no folder can be
// found.
std::filesystem::path ProgramFolder();

}  // namespace torvane
