// The program folder of this process (core/program_folder.h gives the rule): the environment, the
// executable's folder and whether files can be created in it, asked of the operating system.
#pragma once

#include <filesystem>

#include "core/program_folder.h"

namespace torvane {

// The folder by the rule, without creating it; empty when there is none.
std::filesystem::path FindProgramFolder();

// The folder (created when missing); throws std::runtime_error when no folder can be found or made.
std::filesystem::path ProgramFolder();

}  // namespace torvane
