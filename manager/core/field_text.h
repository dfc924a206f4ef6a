// Texts in fixed-width fields of the records (device name, addresses, user name...): NUL-padded bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

// The text of a field: its bytes up to the first NUL, or all `width` bytes when there is none.
std::string FieldText(const void* field, size_t width);

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return FieldText(field, N);
}

enum class TextEnd {
    kNul,      // at most width - 1 bytes: a NUL always ends the text
    kMayFill,  // the text may fill the field; it ends with a NUL only when it is shorter
};

// Writes `text` into a field of `width` bytes, cut to what fits, and zeros to the field's end.
void PutFieldText(void* field, size_t width, std::string_view text, TextEnd end = TextEnd::kNul);

template <size_t N>
void PutFieldText(char (&field)[N], std::string_view text, TextEnd end = TextEnd::kNul) {
    PutFieldText(field, N, text, end);
}

}  // namespace torvane
