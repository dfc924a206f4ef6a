// The field tables of the parameter layouts: the names that show prints and set takes, which are the
// field names of the records in vkcfg.h (multi-port channels as "channels[i].field"), and the checking
// and applying of "name=value" assignments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "field.h"

namespace vkctl {

enum class Layout {
    kFirstGeneration,  // single-port layout of VkParamRecord, text protocol (0x01, 0x20)
    kSinglePort,       // single-port layout, second generation (0x10)
    kMultiPort,        // multi-port layout (0x3x, 0x9x)
    kExtended,         // the extended device's 438-byte block (0x83)
};

std::optional<Layout> LayoutOf(uint8_t model_code);

// Whether a standard parameter block that carries `read_code` in its byte 0 has the layout (and channel
// count) of the model the search reported; the extended block carries no model code to compare.
bool SameLayout(uint8_t searched_code, uint8_t read_code);

// Bytes of the block the fields of the layout work on: sizeof(VkParamRecord), or the extended block.
size_t BlockSize(Layout layout);

class FieldTable {
  public:
    FieldTable(Layout layout, std::vector<Field> fields);

    Layout layout() const { return layout_; }
    const std::vector<Field>& fields() const { return fields_; }
    const Field* Find(std::string_view name) const;

  private:
    Layout layout_;
    std::vector<Field> fields_;
};

// The table of the model's layout; nullopt for a model code without one.
std::optional<FieldTable> FieldsFor(uint8_t model_code);

struct Assignment {
    const Field* field;
    FieldValue value;
};

// Checks "name=value" words against the table; throws Failure (usage) naming the first bad word.
std::vector<Assignment> ParseAssignments(const FieldTable& table, const std::vector<std::string>& words);

void Apply(const std::vector<Assignment>& assignments, Block& block);

struct Change {
    const Field* field;
    FieldValue before;
    FieldValue after;
};

// The fields whose values differ between the two blocks, in table order.
std::vector<Change> Diff(const FieldTable& table, const Block& before, const Block& after);

}  // namespace vkctl
