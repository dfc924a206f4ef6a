#include "search_routes.h"

#include <algorithm>

#include "exit_status.h"

namespace vkctl {

std::vector<torvane::SearchRoute> ChooseRoutes(const std::vector<torvane::NetworkInterface>& interfaces,
                                               const std::vector<std::string>& names) {
    if (names.empty()) return {torvane::LibraryRoute()};
    if (std::find(names.begin(), names.end(), "all") != names.end()) {
        auto routes = torvane::RoutesThroughAll(interfaces);
        if (routes.empty())
            throw Failure(ExitStatus::kFailure,
                          "--interface all: no IPv4 network interface is up besides loopback");
        return routes;
    }
    const torvane::RouteChoice choice = torvane::RoutesThroughNamed(interfaces, names);
    if (!choice.missing.empty())
        throw Failure(ExitStatus::kUsage, "--interface " + choice.missing.front() +
                                              ": no IPv4 network interface of that name is up (vkctl "
                                              "interfaces lists them)");
    return choice.routes;
}

}  // namespace vkctl
