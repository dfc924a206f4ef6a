// The field tables of the parameter layouts: the names that vkctl shows and sets, which are the field
// names of the records in vkcfg.h (multi-port channels as "channels[i].field") and of the extended
// block, and the checking and applying of "name=value" assignments.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/model_family.h"
#include "core/params/field.h"

namespace torvane::params {

// Bytes of the block the fields of the layout work on: sizeof(VkParamRecord), or the extended block.
size_t BlockSize(ParamLayout layout);

class FieldTable {
  public:
    FieldTable(ParamLayout layout, std::vector<Field> fields);

    ParamLayout layout() const { return layout_; }
    const std::vector<Field>& fields() const { return fields_; }
    const Field* Find(std::string_view name) const;

  private:
    ParamLayout layout_;
    std::vector<Field> fields_;
};

// The table of the model's layout; nothing for a model code without one. `protocol_names` name the
// values of the protocol field (ProtocolNames: the built-in names, then the operator's own).
std::optional<FieldTable> FieldsFor(uint8_t model_code, const std::vector<std::string>& protocol_names);

struct Assignment {
    const Field* field;
    FieldValue value;
};

// An assignment word that names no field, names one twice, or gives a value the field does not take.
struct AssignmentError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Checks "name=value" words against the table; throws AssignmentError naming the first bad word.
std::vector<Assignment> ParseAssignments(const FieldTable& table, const std::vector<std::string>& words);

void Apply(const std::vector<Assignment>& assignments, Block& block);

struct Change {
    const Field* field;
    FieldValue before;
    FieldValue after;
};

// The fields whose values differ between the two blocks, in table order.
std::vector<Change> Diff(const FieldTable& table, const Block& before, const Block& after);

}  // namespace torvane::params
