#include "core/field_text.h"

#include <algorithm>
#include <cstring>

namespace torvane {

std::string FieldText(const void* field, size_t width) {
    const char* p = static_cast<const char*>(field);
    const void* nul = std::memchr(p, 0, width);
    return std::string(p, nul ? static_cast<const char*>(nul) - p : width);
}

void PutFieldText(void* field, size_t width, std::string_view text, TextEnd end) {
    std::memset(field, 0, width);
    const size_t room = end == TextEnd::kNul && width > 0 ? width - 1 : width;
    std::memcpy(field, text.data(), std::min(text.size(), room));
}

}  // namespace torvane
