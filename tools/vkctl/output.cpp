#include "output.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vkctl {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kSecretShown = "********";

template <size_t N>
std::string Text(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// Length of the well-formed UTF-8 sequence at s[i] of a character that is not a control character, or 0.
size_t PrintableUtf8At(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    uint32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return cp >= 0xA0 ? length : 0;  // C1 controls (U+0080 to U+009F) are escaped too
}

std::string Hex2(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", value & 0xFFu);
    return buf;
}

Json JsonValue(const Field& field, const FieldValue& value) {
    if (field.secret) return std::get<std::string>(value).empty() ? "" : kSecretShown;
    if (const auto* n = std::get_if<int64_t>(&value)) return *n;
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
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
            width[c] = std::max(width[c], row[c].size());
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line += std::string(width[c] - row[c].size() + 2, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);  // an empty last cell leaves no trailing blanks
        out += line + "\n";
    }
    return out;
}

const char* ProtocolFamily(uint8_t code) {
    if (code == VK_MODEL_VKA100 || code == VK_MODEL_VKB220) return "first generation (text)";
    if (code == VK_MODEL_VKB200) return "second generation, single-port";
    return "second generation, multi-port";
}

}  // namespace

SearchRow RowOf(const VkSearchRecord& r) {
    SearchRow row;
    row.model_code = r.model_code;
    row.firmware_version = Text(r.firmware_version);
    row.device_name = Text(r.device_name);
    std::copy(std::begin(r.mac), std::end(r.mac), row.mac.begin());
    row.ip = Text(r.ip);
    row.local_port = r.local_port;
    row.peer_ip = Text(r.peer_ip);
    row.netmask = Text(r.netmask);
    row.gateway = Text(r.gateway);
    row.dns1 = Text(r.dns1);
    row.dns2 = Text(r.dns2);
    const int nibble = r.model_code >> 4;
    if (nibble == 3 || nibble == 9) {
        const int channels = std::min(vk_get_device_uart_number(r.model_code), VK_MAX_CHANNELS);
        for (int k = 1; k < channels; ++k)
            row.channel_peer_ip.push_back(Text(r.channel_peer_ip[k - 1]));
    }
    return row;
}

SearchRow RowOf(const VkSearchRecordEx& s) {
    SearchRow row;
    row.model_code = s.model_code;
    row.firmware_version = Text(s.firmware_version);
    row.device_name = Text(s.device_name);
    std::copy(std::begin(s.mac), std::end(s.mac), row.mac.begin());
    row.ip = torvane::IpBytesToText(s.ip);
    row.peer_ip = torvane::IpBytesToText(s.peer_ip);
    row.netmask = torvane::IpBytesToText(s.netmask);
    row.gateway = torvane::IpBytesToText(s.gateway);
    row.dns1 = torvane::IpBytesToText(s.dns1);
    row.dns2 = torvane::IpBytesToText(s.dns2);
    return row;
}

std::string ModelName(uint8_t model_code) {
    if (model_code == VK_MODEL_EXTENDED) return "VMS450";
    return vk_get_device_type(model_code);
}

std::string DisplayText(std::string_view bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += bytes[i++];
        } else if (size_t n = PrintableUtf8At(bytes, i)) {
            out.append(bytes.substr(i, n));
            i += n;
        } else {
            out += "\\x" + Hex2(c);
            ++i;
        }
    }
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
    if (index >= 0 && index < static_cast<int64_t>(field.names.size()))
        return std::to_string(n) + " (" + field.names[static_cast<size_t>(index)] + ")";
    return std::to_string(n);
}

std::string FormatSearchTable(const std::vector<SearchRow>& rows) {
    std::vector<std::vector<std::string>> cells{{"MODEL", "MAC", "IP", "NAME", "FIRMWARE", "PORT"}};
    for (const auto& r : rows) {
        cells.push_back({ModelName(r.model_code), torvane::MacToText(r.mac), DisplayText(r.ip),
                         DisplayText(r.device_name), DisplayText(r.firmware_version),
                         r.local_port ? std::to_string(*r.local_port) : "-"});
    }
    return Columns(cells);
}

Json SearchJson(const std::vector<SearchRow>& rows) {
    Json out = Json::array();
    for (const auto& r : rows) {
        Json j;
        j["model_code"] = r.model_code;
        j["model_name"] = ModelName(r.model_code);
        j["firmware_version"] = r.firmware_version;
        j["device_name"] = r.device_name;
        j["mac"] = torvane::MacToText(r.mac);
        j["ip"] = r.ip;
        if (r.local_port) j["local_port"] = *r.local_port;
        j["peer_ip"] = r.peer_ip;
        j["netmask"] = r.netmask;
        j["gateway"] = r.gateway;
        j["dns1"] = r.dns1;
        j["dns2"] = r.dns2;
        if (!r.channel_peer_ip.empty()) j["channel_peer_ip"] = r.channel_peer_ip;
        out.push_back(std::move(j));
    }
    return out;
}

std::string FormatFields(const FieldTable& table, const Block& block) {
    std::vector<std::vector<std::string>> cells;
    for (const auto& f : table.fields())
        cells.push_back({f.name, DisplayValue(f, GetValue(f, block))});
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
        if (c.field->codec == Codec::kText) {
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
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace vkctl
