// The subcommands of vkctl. Each prints its result on stdout and throws Failure when it cannot finish.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/credentials.h"
#include "core/discovery.h"

namespace vkctl {

struct SerialChange {
    std::optional<std::string> baud;
    std::optional<std::string> parity;
    std::optional<std::string> data_bits;
    int channel = 0;
};

using Given = std::optional<torvane::Credentials>;

struct SearchRequest {
    bool extended = false;
    bool json = false;
    int rounds = torvane::kDefaultSearchRounds;
    std::vector<std::string> interfaces;  // names, or "all"; none: the library's broadcast address
};

void RunSearch(const SearchRequest& request);
void RunInterfaces(bool json);
void RunFind(const std::string& ip, bool json);
void RunShow(const std::string& device, bool json, const Given& given);
void RunSet(const std::string& device, const std::vector<std::string>& assignments, bool dry_run,
            const Given& given);
void RunSerial(const std::string& device, const SerialChange& change);
void RunModels();
void RunVersion();

}  // namespace vkctl
