// The subcommands of vkctl. Each prints its result on stdout and throws Failure when it cannot finish.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/credentials.h"

namespace vkctl {

struct SerialChange {
    std::optional<std::string> baud;
    std::optional<std::string> parity;
    std::optional<std::string> data_bits;
    int channel = 0;
};

using Given = std::optional<torvane::Credentials>;

void RunSearch(bool extended, bool json);
void RunFind(const std::string& ip, bool json);
void RunShow(const std::string& device, bool json, const Given& given);
void RunSet(const std::string& device, const std::vector<std::string>& assignments, bool dry_run,
            const Given& given);
void RunSerial(const std::string& device, const SerialChange& change);
void RunModels();
void RunVersion();

}  // namespace vkctl
