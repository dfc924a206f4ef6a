// What vkctl prints: search results, parameter fields and changes, as aligned tables for people or as
// JSON for scripts. Device texts are bytes; they are made safe for a terminal here and nowhere else.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/address_text.h"
#include "field_table.h"
#include "vkcfg.h"

namespace vkctl {

// One device as a search found it, from either search.
struct SearchRow {
    uint8_t model_code = 0;
    std::string firmware_version;
    std::string device_name;
    torvane::MacBytes mac{};
    std::string ip;
    std::optional<uint16_t> local_port;  // the extended search carries none
    std::string peer_ip;
    std::string netmask;
    std::string gateway;
    std::string dns1;
    std::string dns2;
    std::vector<std::string> channel_peer_ip;  // multi-port: peer addresses of channels 1 .. n-1
};

SearchRow RowOf(const VkSearchRecord& record);
SearchRow RowOf(const VkSearchRecordEx& slot);

// The model's name; the extended device, which has no row in the library's model table, is "VMS450".
std::string ModelName(uint8_t model_code);

// A device text made printable: printable ASCII and well-formed UTF-8 pass, any other byte becomes \xNN.
std::string DisplayText(std::string_view bytes);

// A value as the tables show it: "1 (tcp)" for named numbers, masked secrets, printable texts.
std::string DisplayValue(const Field& field, const FieldValue& value);

std::string FormatSearchTable(const std::vector<SearchRow>& rows);
nlohmann::ordered_json SearchJson(const std::vector<SearchRow>& rows);

// Every field of the block as "name  value" lines.
std::string FormatFields(const FieldTable& table, const Block& block);
// Every field as a JSON object; "channels[i].x" fields as the array "channels" of objects.
nlohmann::ordered_json FieldsJson(const FieldTable& table, const Block& block);

// "name: before -> after" lines.
std::string FormatChanges(const std::vector<Change>& changes);

// The library's model table.
std::string FormatModels();

// JSON text for stdout; bytes that are not UTF-8 become U+FFFD instead of aborting the output.
std::string DumpJson(const nlohmann::ordered_json& json);

}  // namespace vkctl
