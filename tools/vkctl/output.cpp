#include "output.h"

#include <algorithm>
#include <cstdio>

#include "core/model_family.h"
#include "core/text/device_text.h"
#include "vkcfg.h"

namespace vkctl {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kSecretShown = "********";

// A device text as JSON carries it: decoded, bytes that start no character as U+FFFD.
std::string JsonText(const std::string& bytes) {
    return torvane::DeviceTextToUtf8(bytes);
}

bool Wide(char32_t cp) {
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
           (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6);
}

// The columns a table cell (UTF-8 made by DisplayText) takes on a terminal: East Asian wide characters
// take two.
size_t DisplayWidth(std::string_view utf8) {
    size_t width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        width += Wide(cp) ? 2 : 1;
        i += length;
    }
    return width;
}

std::string Hex2(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", value & 0xFFu);
    return buf;
}

Json JsonValue(const Field& field, const FieldValue& value) {
    if (field.secret) return std::get<std::string>(value).empty() ? "" : kSecretShown;
    if (const auto* n = std::get_if<int64_t>(&value)) return *n;
    if (const auto* s = std::get_if<std::string>(&value)) return JsonText(*s);
    return std::get<std::vector<int64_t>>(value);
}

// "channels[2].baud_rate" into "channels", 2 and "baud_rate"; false for a plain name.
bool SplitIndexed(const std::string& name, std::string& array, size_t& index, std::string& member) {
    const size_t open = name.find('[');
    const size_t close = name.find("].");
    if (open == std::string::npos || close == std::string::npos || close < open) return false;
    array = name.substr(0, open);
    index = std::stoul(name.substr(open + 1, close - open - 1));
    member = name.substr(close + 2);
    return true;
}

// Rows of cells as columns padded to their widest cell, two blanks apart.
std::string Columns(const std::vector<std::vector<std::string>>& rows) {
    std::vector<size_t> width;
    for (const auto& row : rows) {
        width.resize(std::max(width.size(), row.size()), 0);
        for (size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], DisplayWidth(row[c]));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line += std::string(width[c] - DisplayWidth(row[c]) + 2, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);  // an empty last cell leaves no trailing blanks
        out += line + "\n";
    }
    return out;
}

const char* ProtocolFamily(uint8_t code) {
    switch (torvane::LayoutOf(code).value_or(torvane::ParamLayout::kMultiPort)) {
        case torvane::ParamLayout::kFirstGeneration:
            return "first generation (text)";
        case torvane::ParamLayout::kSinglePort:
            return "second generation, single-port";
        case torvane::ParamLayout::kMultiPort:
        case torvane::ParamLayout::kExtended:
            break;
    }
    return "second generation, multi-port";
}

}  // namespace

std::string ModelName(uint8_t model_code) {
    if (torvane::IsExtendedDevice(model_code)) return "VMS450";
    return vk_get_device_type(model_code);
}

std::string DisplayText(std::string_view bytes) {
    std::string out;
    torvane::ForEachDeviceChar(bytes, [&](const torvane::DeviceChar& c) {
        const bool control = !c.code_point || *c.code_point < 0x20 || *c.code_point == 0x7F;
        if (!control) {
            torvane::AppendUtf8(out, *c.code_point);
            return;
        }
        for (char b : c.bytes)
            out += "\\x" + Hex2(static_cast<unsigned char>(b));
    });
    return out;
}

std::string DisplayValue(const Field& field, const FieldValue& value) {
    if (field.secret) return std::get<std::string>(value).empty() ? "" : kSecretShown;
    if (const auto* s = std::get_if<std::string>(&value)) return DisplayText(*s);
    if (const auto* bytes = std::get_if<std::vector<int64_t>>(&value)) {
        std::string out;
        for (auto b : *bytes)
            out += (out.empty() ? "" : " ") + std::to_string(b);
        return out;
    }
    const int64_t n = std::get<int64_t>(value);
    if (field.name == "model_code")
        return "0x" + Hex2(static_cast<unsigned>(n)) + " (" + ModelName(static_cast<uint8_t>(n)) + ")";
    const int64_t index = n - field.min;
    if (index >= 0 && index < static_cast<int64_t>(field.names.size()) &&
        !field.names[static_cast<size_t>(index)].empty())
        return std::to_string(n) + " (" + DisplayText(field.names[static_cast<size_t>(index)]) + ")";
    return std::to_string(n);
}

std::string FormatSearchTable(const std::vector<FoundDevice>& rows,
                              const std::vector<std::string>& interfaces) {
    std::vector<std::vector<std::string>> cells{{"MODEL", "MAC", "IP", "NAME", "FIRMWARE", "PORT"}};
    if (!interfaces.empty()) cells[0].push_back("INTERFACE");
    for (size_t i = 0; i < rows.size(); ++i) {
        const FoundDevice& r = rows[i];
        cells.push_back({ModelName(r.model_code), torvane::MacToText(r.mac), DisplayText(r.ip),
                         DisplayText(r.device_name), DisplayText(r.firmware_version),
                         r.local_port ? std::to_string(*r.local_port) : "-"});
        if (i < interfaces.size()) cells.back().push_back(interfaces[i]);
    }
    return Columns(cells);
}

Json SearchJson(const std::vector<FoundDevice>& rows, const std::vector<std::string>& interfaces) {
    Json out = Json::array();
    for (size_t i = 0; i < rows.size(); ++i) {
        const FoundDevice& r = rows[i];
        Json j;
        j["model_code"] = r.model_code;
        j["model_name"] = ModelName(r.model_code);
        j["firmware_version"] = JsonText(r.firmware_version);
        j["device_name"] = JsonText(r.device_name);
        j["mac"] = torvane::MacToText(r.mac);
        j["ip"] = JsonText(r.ip);
        if (r.local_port) j["local_port"] = *r.local_port;
        j["peer_ip"] = JsonText(r.peer_ip);
        j["netmask"] = JsonText(r.netmask);
        j["gateway"] = JsonText(r.gateway);
        j["dns1"] = JsonText(r.dns1);
        j["dns2"] = JsonText(r.dns2);
        if (!r.channel_peer_ip.empty()) {
            Json peers = Json::array();
            for (const auto& p : r.channel_peer_ip)
                peers.push_back(JsonText(p));
            j["channel_peer_ip"] = std::move(peers);
        }
        if (i < interfaces.size()) j["interface"] = interfaces[i];
        out.push_back(std::move(j));
    }
    return out;
}

std::string FormatInterfaces(const std::vector<torvane::NetworkInterface>& interfaces) {
    std::vector<std::vector<std::string>> cells{{"NAME", "ADDRESS", "NETMASK", "BROADCAST", "STATE"}};
    for (const auto& i : interfaces) {
        cells.push_back({i.name, i.address, i.netmask, i.broadcast,
                         std::string(i.up ? "up" : "down") + (i.loopback ? " loopback" : "")});
    }
    return Columns(cells);
}

Json InterfacesJson(const std::vector<torvane::NetworkInterface>& interfaces) {
    Json out = Json::array();
    for (const auto& i : interfaces) {
        out.push_back(Json{{"name", i.name},
                           {"address", i.address},
                           {"netmask", i.netmask},
                           {"broadcast", i.broadcast},
                           {"up", i.up},
                           {"loopback", i.loopback}});
    }
    return out;
}

std::string FormatFields(const FieldTable& table, const Block& block) {
    std::vector<std::vector<std::string>> cells;
    for (const auto& f : table.fields()) {
        cells.push_back({f.name, DisplayValue(f, GetValue(f, block))});
        if (!f.read_only_why.empty()) cells.back().push_back("(read-only: " + f.read_only_why + ")");
    }
    return Columns(cells);
}

Json FieldsJson(const FieldTable& table, const Block& block) {
    Json out = Json::object();
    for (const auto& f : table.fields()) {
        std::string array, member;
        size_t index = 0;
        Json value = JsonValue(f, GetValue(f, block));
        if (!SplitIndexed(f.name, array, index, member)) {
            out[f.name] = std::move(value);
            if (f.name == "model_code")
                out["model_name"] = ModelName(static_cast<uint8_t>(out[f.name].get<int>()));
            continue;
        }
        Json& list = out[array];
        while (list.size() <= index)
            list.push_back(Json::object());
        list[index][member] = std::move(value);
    }
    return out;
}

std::string FormatChanges(const std::vector<Change>& changes) {
    std::string out;
    for (const auto& c : changes) {
        std::string before = DisplayValue(*c.field, c.before);
        std::string after = DisplayValue(*c.field, c.after);
        if (c.field->secret) {
            out += c.field->name + ": changed\n";
            continue;
        }
        if (c.field->codec == torvane::params::Codec::kText) {
            before = "\"" + before + "\"";
            after = "\"" + after + "\"";
        }
        out += c.field->name + ": " + before + " -> " + after + "\n";
    }
    return out;
}

std::string FormatModels() {
    std::vector<std::vector<std::string>> cells{{"CODE", "MODEL", "SERIAL PORTS", "CHANNELS", "PROTOCOL"}};
    for (int code = 1; code <= 0xFF; ++code) {
        const std::string name = vk_get_device_type(code);
        if (name == vk_get_device_type(0)) continue;  // not in the table
        cells.push_back(
            {"0x" + Hex2(static_cast<unsigned>(code)), name, std::to_string(vk_get_device_com_number(code)),
             std::to_string(vk_get_device_uart_number(code)), ProtocolFamily(static_cast<uint8_t>(code))});
    }
    cells.push_back({"0x" + Hex2(VK_MODEL_EXTENDED), ModelName(VK_MODEL_EXTENDED), "-", "-",
                     "extended time device (found by search --extended)"});
    return Columns(cells);
}

std::string DumpJson(const Json& json) {
    // Device texts are decoded before they get here; a byte that is no UTF-8 would still not stop the
    // output.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace vkctl
