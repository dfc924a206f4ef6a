// Bounded access to bytes. Every read of untrusted bytes goes through checked::Reader, whose every
// fetch says whether the bytes were there; every write into a frame through checked::Writer, which
// writes all of a field or nothing. The helpers below copy texts and raw fields into the fixed char
// fields of the library's records.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "checked/reader.h"
#include "checked/writer.h"

namespace vkcfg::codec {

using checked::Reader;
using checked::Writer;

// Copies text into a fixed char field: at most min(max_chars, field size - 1) characters, then a NUL.
// The rest of the field is left as it is (callers start from a cleared record).
template <size_t N>
void SetText(char (&field)[N], std::string_view text, size_t max_chars = N - 1) {
    static_assert(N > 0);
    size_t n = std::min({text.size(), max_chars, N - 1});
    if (n != 0) std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

// Copies text into a fixed char field using the whole width: at most N characters, NUL-terminated only
// when shorter than the field (a 30-character URL fills its 30-byte field).
template <size_t N>
void SetFieldText(char (&field)[N], std::string_view text) {
    size_t n = std::min(text.size(), N);
    if (n != 0) std::memcpy(field, text.data(), n);
    if (n < N) field[n] = '\0';
}

// Copies a raw field of exactly N bytes at `offset` of the frame into a record field, byte for byte;
// false (field untouched) when the frame does not hold those bytes.
template <size_t N>
bool CopyField(char (&field)[N], const Reader& frame, size_t offset) {
    return frame.CopyAt(offset, std::span(reinterpret_cast<uint8_t*>(field), N));
}
template <size_t N>
bool CopyField(uint8_t (&field)[N], const Reader& frame, size_t offset) {
    return frame.CopyAt(offset, std::span(field, N));
}

}  // namespace vkcfg::codec
