// The firmware commands of vkctl: update (the update window's button on the command line), write-data
// and image. They return the exit status of how the run ended; the messages went to stderr.
#pragma once

#include <optional>
#include <string>

#include "core/credentials.h"
#include "exit_status.h"

namespace vkctl {

struct UpdateCommand {
    std::string device;
    std::optional<std::string> firmware;  // --firmware IMAGE
    std::optional<std::string> web;       // --web FILE
    std::string backup_dir;               // --backup-dir DIR; empty: imgfile in the program folder
    bool json = false;
};

ExitStatus RunUpdate(const UpdateCommand& command, const std::optional<torvane::Credentials>& given);
ExitStatus RunWriteData(const std::string& device, const std::string& file,
                        const std::optional<torvane::Credentials>& given);
ExitStatus RunImage(const std::string& path, const std::optional<std::string>& model_code, bool json);

}  // namespace vkctl
