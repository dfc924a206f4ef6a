#include "core/update/version.h"

#include <algorithm>
#include <charconv>

namespace torvane {
namespace {

constexpr size_t kMaxRun = 16;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double ParseVersion(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    const auto first = std::find_if(text.begin(), text.end(), IsDigit);
    if (first == text.end()) return 0;
    const auto stop = std::find_if(first, text.end(), [](char c) { return !IsDigit(c) && c != '.'; });
    std::string_view run(&*first, static_cast<size_t>(stop - first));
    run = run.substr(0, kMaxRun);
    if (std::count(run.begin(), run.end(), '.') > 1) return 0;
    double value = 0;
    const auto [end, error] =
        std::from_chars(run.data(), run.data() + run.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != run.data() + run.size()) return 0;
    return value;
}

bool VersionGatePasses(std::string_view minimum_version, std::string_view device_version) {
    return ParseVersion(minimum_version) <= ParseVersion(device_version);
}

}  // namespace torvane
