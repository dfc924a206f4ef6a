#include "commands.h"

#include <cstdio>
#include <iostream>

#include "device_resolution.h"
#include "device_text.h"
#include "exit_status.h"
#include "field_table.h"
#include "output.h"
#include "terminal.h"

#ifndef VKCTL_VERSION
#define VKCTL_VERSION "unknown"
#endif

namespace vkctl {
namespace {

FieldTable TableFor(const Device& device) {
    auto table = FieldsFor(device.model_code);
    if (!table) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", device.model_code);
        throw Failure(ExitStatus::kFailure, device.label + " is a model (" + std::string(code) +
                                                ") whose parameters vkctl cannot read");
    }
    return std::move(*table);
}

// A block of another layout than the one the search promised is never interpreted, let alone written.
void CheckLayout(const Device& device, const Block& block) {
    if (SameLayout(device.model_code, block.at(0))) return;
    throw Failure(ExitStatus::kDeviceRefused, device.label + " answered with the parameters of " +
                                                  ModelName(block.at(0)) + ", but its search answer says " +
                                                  ModelName(device.model_code));
}

Block ReadBlock(const Device& device, const std::optional<Credentials>& given) {
    TerminalPrompt prompt;
    DeviceSession session(device, given, prompt);
    Block block = session.Read();
    CheckLayout(device, block);
    return block;
}

void Print(const std::string& text) {
    std::fputs(text.c_str(), stdout);
}

std::string IpArgument(const std::string& text) {
    const auto parsed = ParseDeviceText(text);
    if (!parsed || parsed->kind != DeviceText::Kind::kIp)
        throw Failure(ExitStatus::kUsage, "\"" + text + "\" is not an IPv4 address");
    return parsed->ip;
}

int64_t SerialValue(const Field& field, const std::string& text) {
    const Parsed parsed = ParseValue(field, text);
    if (!parsed.ok) throw Failure(ExitStatus::kUsage, field.name + " \"" + text + "\" " + parsed.error);
    return std::get<int64_t>(parsed.value);
}

}  // namespace

void RunSearch(bool extended, bool json) {
    const auto rows = SearchAll(extended);
    if (json) {
        Print(DumpJson(SearchJson(rows)));
        return;
    }
    Print(FormatSearchTable(rows));
    if (rows.empty()) std::fputs("vkctl: no device answered the search\n", stderr);
}

void RunFind(const std::string& ip, bool json) {
    const SearchRow row = FindOne(IpArgument(ip));
    Print(json ? DumpJson(SearchJson({row})[0]) : FormatSearchTable({row}));
}

void RunShow(const std::string& text, bool json, const std::optional<Credentials>& given) {
    const Device device = ResolveDevice(text);
    const FieldTable table = TableFor(device);
    const Block block = ReadBlock(device, given);
    Print(json ? DumpJson(FieldsJson(table, block)) : FormatFields(table, block));
}

void RunSet(const std::string& text, const std::vector<std::string>& words, bool dry_run,
            const std::optional<Credentials>& given) {
    const Device device = ResolveDevice(text);
    const FieldTable table = TableFor(device);
    const auto assignments = ParseAssignments(table, words);  // checked before the device is touched

    TerminalPrompt prompt;
    DeviceSession session(device, given, prompt);
    const Block before = session.Read();
    CheckLayout(device, before);
    Block after = before;
    Apply(assignments, after);
    const auto changes = Diff(table, before, after);
    Print(FormatChanges(changes));
    if (changes.empty()) {
        Print("nothing to change on " + device.label + "\n");
    } else if (dry_run) {
        Print("dry run: nothing written to " + device.label + "\n");
    } else {
        session.Write(after);
        Print("wrote " + std::to_string(changes.size()) + " changed field(s) to " + device.label + "\n");
    }
}

void RunSerial(const std::string& text, const SerialChange& change) {
    if (!change.baud && !change.parity && !change.data_bits)
        throw Failure(ExitStatus::kUsage, "serial needs --baud, --parity or --databits");
    const Device device = ResolveDevice(text);
    const auto layout = LayoutOf(device.model_code);
    if (!layout || layout == Layout::kExtended)
        throw Failure(ExitStatus::kUsage,
                      device.label + " (" + ModelName(device.model_code) +
                          ") has no serial-line commands; use vkctl set for its serial fields");
    const int channels = layout == Layout::kMultiPort ? vk_get_device_uart_number(device.model_code) : 1;
    if (change.channel < 0 || change.channel >= channels)
        throw Failure(ExitStatus::kUsage, "--channel " + std::to_string(change.channel) + ": " +
                                              device.label + " has channels 0 to " +
                                              std::to_string(channels - 1));
    const auto baud_rule =
        layout == Layout::kFirstGeneration ? RuleKind::kBaudTable : RuleKind::kBaudHundreds;
    const Field baud = BaudField("--baud", Codec::kHost32, 0, baud_rule);
    const Field parity =
        NumberField("--parity", Codec::kU8, 0, 0, 4, {"none", "even", "odd", "mark", "space"});
    const Field data_bits = NumberField("--databits", Codec::kU8, 0, 7, 8);
    // Every value is checked before the first command is sent.
    struct Step {
        int (*call)(const char*, int, const LoginRecord*);
        int64_t value;
        std::string what;
    };
    const std::string of =
        " of " + device.label + (channels > 1 ? " channel " + std::to_string(change.channel) : "");
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
    login.model_code = device.model_code;
    login.channel = static_cast<uint8_t>(change.channel);
    // Serial-line commands always go to the device's address, never by broadcast.
    const std::string ip = device.address.empty() ? device.ip : device.address;
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
