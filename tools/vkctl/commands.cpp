#include "commands.h"

#include <cstdio>
#include <filesystem>

#include "core/device_library.h"
#include "core/discovery_hints.h"
#include "core/model_family.h"
#include "core/params/field_table.h"
#include "core/protocol_names.h"
#include "device_argument.h"
#include "device_resolution.h"
#include "exit_status.h"
#include "output.h"
#include "platform/broadcast_setting.h"
#include "platform/net_func.h"
#include "platform/program_folder.h"
#include "search_routes.h"
#include "session.h"
#include "terminal.h"

#ifndef VKCTL_VERSION
#define VKCTL_VERSION "unknown"
#endif

namespace vkctl {
namespace {

namespace params = torvane::params;
using torvane::ParamLayout;

// The library and the terminal for the whole run.
struct Faces {
    torvane::VkcfgLibrary library;
    TerminalUi ui;
};

Faces& Run() {
    static Faces faces;
    return faces;
}

// The protocol names of the manager: the built-in ones, then the operator's own from Config.ini in
// the program folder, when there is one.
std::vector<std::string> ProtocolNames() {
    const auto folder = torvane::FindProgramFolder();
    if (folder.empty()) return torvane::ProtocolNames(std::nullopt);
    auto loaded = torvane::LoadProtocolNames(folder / torvane::kConfigFileName);
    if (!loaded.problem.empty()) std::fprintf(stderr, "vkctl: %s\n", loaded.problem.c_str());
    return std::move(loaded.names);
}

params::FieldTable TableFor(const Device& device) {
    auto table = params::FieldsFor(device.session.model_code, ProtocolNames());
    if (!table) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", device.session.model_code);
        throw Failure(ExitStatus::kFailure, device.session.label + " is a model (" + std::string(code) +
                                                ") whose parameters vkctl cannot read");
    }
    return std::move(*table);
}

// A block of another layout than the one the search promised is never interpreted, let alone written.
void CheckLayout(const Device& device, const Block& block) {
    if (torvane::SameLayout(device.session.model_code, block.at(0))) return;
    throw Failure(ExitStatus::kDeviceRefused, device.session.label + " answered with the parameters of " +
                                                  ModelName(block.at(0)) + ", but its search answer says " +
                                                  ModelName(device.session.model_code));
}

std::vector<params::Assignment> Assignments(const params::FieldTable& table,
                                            const std::vector<std::string>& words) {
    try {
        return params::ParseAssignments(table, words);
    } catch (const params::AssignmentError& e) {
        throw Failure(ExitStatus::kUsage, e.what());
    }
}

void Print(const std::string& text) {
    std::fputs(text.c_str(), stdout);
}

std::string IpArgument(const std::string& text) {
    const auto parsed = ParseDeviceArgument(text);
    if (!parsed || parsed->kind != DeviceArgument::Kind::kIp)
        throw Failure(ExitStatus::kUsage, "\"" + text + "\" is not an IPv4 address");
    return parsed->ip;
}

int64_t SerialValue(const Field& field, const std::string& text) {
    const params::Parsed parsed = params::ParseValue(field, text);
    if (!parsed.ok) throw Failure(ExitStatus::kUsage, field.name + " \"" + text + "\" " + parsed.error);
    return std::get<int64_t>(parsed.value);
}

}  // namespace

void RunSearch(const SearchRequest& request) {
    const auto routes = ChooseRoutes(torvane::ListNetworkInterfaces(), request.interfaces);
    torvane::EnvironmentBroadcastSetting setting;
    const torvane::Discovery found =
        torvane::Discover(Run().library, setting, routes, request.rounds, request.extended);
    if (found.result != VK_OK) throw Failure::FromResult(found.failed_search, found.result);
    std::vector<FoundDevice> rows;
    std::vector<std::string> interfaces;
    for (const auto& d : found.devices) {
        rows.push_back(d.device);
        if (d.route.through_interface()) interfaces.push_back(d.route.interface_name);
    }
    Print(request.json ? DumpJson(SearchJson(rows, interfaces)) : FormatSearchTable(rows, interfaces));
    const std::string library_address = torvane::AddressInUse(setting);
    if (!request.interfaces.empty())
        std::fprintf(stderr, "vkctl: %s\n", torvane::SearchRoutesLine(routes, library_address).c_str());
    for (const auto& hint : torvane::SilentRouteHints(found.tallies, library_address))
        std::fprintf(stderr, "vkctl: %s\n", hint.c_str());
}

void RunInterfaces(bool json) {
    const auto interfaces = torvane::ListNetworkInterfaces();
    Print(json ? DumpJson(InterfacesJson(interfaces)) : FormatInterfaces(interfaces));
}

void RunFind(const std::string& ip, bool json) {
    const FoundDevice found = FindOne(Run().library, IpArgument(ip));
    Print(json ? DumpJson(SearchJson({found})[0]) : FormatSearchTable({found}));
}

void RunShow(const std::string& text, bool json, const Given& given) {
    const Device device = ResolveDevice(Run().library, text);
    const params::FieldTable table = TableFor(device);
    Block block;
    {
        Session session(Run().library, Run().ui, device, given);
        block = session.Read();
    }
    CheckLayout(device, block);
    Print(json ? DumpJson(FieldsJson(table, block)) : FormatFields(table, block));
}

void RunSet(const std::string& text, const std::vector<std::string>& words, bool dry_run,
            const Given& given) {
    const Device device = ResolveDevice(Run().library, text);
    const params::FieldTable table = TableFor(device);
    const auto assignments = Assignments(table, words);  // checked before the device is touched

    Session session(Run().library, Run().ui, device, given);
    const Block before = session.Read();
    CheckLayout(device, before);
    Block after = before;
    params::Apply(assignments, after);
    const auto changes = params::Diff(table, before, after);
    Print(FormatChanges(changes));
    const std::string& label = device.session.label;
    if (changes.empty()) {
        Print("nothing to change on " + label + "\n");
    } else if (dry_run) {
        Print("dry run: nothing written to " + label + "\n");
    } else {
        session.Write(after);
        Print("wrote " + std::to_string(changes.size()) + " changed field(s) to " + label + "\n");
    }
}

void RunSerial(const std::string& text, const SerialChange& change) {
    if (!change.baud && !change.parity && !change.data_bits)
        throw Failure(ExitStatus::kUsage, "serial needs --baud, --parity or --databits");
    const Device device = ResolveDevice(Run().library, text);
    const uint8_t model = device.session.model_code;
    const std::string& label = device.session.label;
    const auto layout = torvane::LayoutOf(model);
    if (!layout || layout == ParamLayout::kExtended)
        throw Failure(ExitStatus::kUsage,
                      label + " (" + ModelName(model) +
                          ") has no serial-line commands; use vkctl set for its serial fields");
    const int channels = layout == ParamLayout::kMultiPort ? torvane::ChannelCount(model) : 1;
    if (change.channel < 0 || change.channel >= channels)
        throw Failure(ExitStatus::kUsage, "--channel " + std::to_string(change.channel) + ": " + label +
                                              " has channels 0 to " + std::to_string(channels - 1));
    // What the serial-line commands carry: the first generation's text command has digits for the
    // eight table speeds and for parity none to space; the second generation's frame carries any speed
    // in hundreds of bit/s and the parity byte as it is, "special" included.
    const bool text_commands = layout == ParamLayout::kFirstGeneration;
    const Field baud =
        params::BaudField("--baud", params::Codec::kHost32, 0,
                          text_commands ? params::RuleKind::kBaudTable : params::RuleKind::kBaudHundreds);
    const Field parity = params::NumberField("--parity", params::Codec::kU8, 0, 0, text_commands ? 4 : 5,
                                             {"none", "even", "odd", "mark", "space", "special"});
    const Field data_bits = params::NumberField("--databits", params::Codec::kU8, 0, 7, 8);
    // Every value is checked before the first command is sent.
    struct Step {
        int (*call)(const char*, int, const LoginRecord*);
        int64_t value;
        std::string what;
    };
    const std::string of =
        " of " + label + (channels > 1 ? " channel " + std::to_string(change.channel) : "");
    std::vector<Step> steps;
    if (change.baud)
        steps.push_back({vk_setting_baud, SerialValue(baud, *change.baud),
                         "setting the speed" + of + " to " + *change.baud});
    if (change.parity)
        steps.push_back({vk_setting_parity, SerialValue(parity, *change.parity),
                         "setting the parity" + of + " to " + *change.parity});
    if (change.data_bits)
        steps.push_back({vk_setting_databit, SerialValue(data_bits, *change.data_bits),
                         "setting the data bits" + of + " to " + *change.data_bits});

    LoginRecord login{};
    login.model_code = model;
    login.channel = static_cast<uint8_t>(change.channel);
    // Serial-line commands always go to the device's address, never by broadcast.
    const std::string ip = device.session.ip.empty() ? device.ip : device.session.ip;
    for (const auto& step : steps) {
        const int result = step.call(ip.c_str(), static_cast<int>(step.value), &login);
        if (result != VK_OK) throw Failure::FromResult(step.what, result);
        Print(step.what + ": done\n");
    }
}

void RunModels() {
    Print(FormatModels());
}

void RunVersion() {
    Print("vkctl " VKCTL_VERSION " (vkcfg " + std::to_string(VKCFG_VERSION_MAJOR) + "." +
          std::to_string(VKCFG_VERSION_MINOR) + "." + std::to_string(VKCFG_VERSION_PATCH) + ")\n");
}

}  // namespace vkctl
