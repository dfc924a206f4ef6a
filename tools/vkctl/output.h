// What vkctl prints: search results, parameter fields and changes, as aligned tables for people or as
// JSON for scripts. Device texts are GBK bytes: the tables show them decoded, with any byte that could
// drive the terminal (or is no character) escaped, and JSON carries them decoded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/device_lookup.h"
#include "core/params/field_table.h"
#include "core/search_route.h"

namespace vkctl {

using torvane::FoundDevice;
using torvane::params::Block;
using torvane::params::Change;
using torvane::params::Field;
using torvane::params::FieldTable;
using torvane::params::FieldValue;

// The model's name; the extended device, which has no row in the library's model table, is "VMS450".
std::string ModelName(uint8_t model_code);

// A device text for the terminal: decoded from GBK; control characters and bytes that start no
// character become \xNN.
std::string DisplayText(std::string_view bytes);

// A value as the tables show it: "1 (TCP)" for named numbers, masked secrets, printable texts.
std::string DisplayValue(const Field& field, const FieldValue& value);

// Search results; with `interfaces` (one name per device) a column INTERFACE and a field "interface"
// say through which interface each device answered.
std::string FormatSearchTable(const std::vector<FoundDevice>& devices,
                              const std::vector<std::string>& interfaces = {});
nlohmann::ordered_json SearchJson(const std::vector<FoundDevice>& devices,
                                  const std::vector<std::string>& interfaces = {});

// The workstation's IPv4 interface addresses.
std::string FormatInterfaces(const std::vector<torvane::NetworkInterface>& interfaces);
nlohmann::ordered_json InterfacesJson(const std::vector<torvane::NetworkInterface>& interfaces);

// Every field of the block as "name  value" lines; a read-only field says why in a third column.
std::string FormatFields(const FieldTable& table, const Block& block);
// Every field as a JSON object; "channels[i].x" fields as the array "channels" of objects.
nlohmann::ordered_json FieldsJson(const FieldTable& table, const Block& block);

// "name: before -> after" lines.
std::string FormatChanges(const std::vector<Change>& changes);

// The library's model table.
std::string FormatModels();

// JSON text for stdout (texts in it are UTF-8 already).
std::string DumpJson(const nlohmann::ordered_json& json);

}  // namespace vkctl
