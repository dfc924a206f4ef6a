// The model table (code, name, serial port and channel counts), the protocol family of a model code
// and the texts of the result codes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vkcfg::codec {

struct ModelRow {
    char model_name[30];
    uint8_t model_code;
    uint8_t com_number;
    uint8_t uart_number;  // channel count: channel blocks of the multi-port parameter layout
};

inline constexpr size_t kModelSlots = 16;
extern const std::array<ModelRow, kModelSlots> kModelTable;

// First slot whose code matches, or nullptr.
const ModelRow* FindModelByCode(uint8_t code);

enum class Family {
    kFirstGeneration,  // 0x01, 0x20: text commands on port 65535
    kSinglePort,       // 0x10: binary frames, single-port layout
    kMultiPort,        // high nibble 3 or 9: binary frames, multi-port layout
    kOther,            // no parameter layout (0x83 and every other code)
};
Family FamilyOf(uint8_t code);

// Channel count of a model: its uart_number, 0 for a code not in the table.
size_t ChannelCount(uint8_t code);

// The GBK text of a result code.
const char* ErrorText(int result);

}  // namespace vkcfg::codec
