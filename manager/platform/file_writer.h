// The FileWriter of this workstation: a temporary file in the same folder, flushed to the disk, then
// renamed over the old file (ReplaceFile) or linked to a free name (AddNewFile).
#pragma once

#include "core/replace_file.h"

namespace torvane {

class PlatformFileWriter final : public FileWriter {
  public:
    void ReplaceFile(const std::filesystem::path& path, std::string_view bytes) override;
    std::filesystem::path AddNewFile(const std::filesystem::path& folder, const std::string& stem,
                                     const std::string& extension, std::string_view bytes) override;
};

}  // namespace torvane
