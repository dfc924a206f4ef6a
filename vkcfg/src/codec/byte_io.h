// Bounded access to byte buffers. Every read and write checks its range: a read outside the data gives
// zero (or a clipped span), a write outside the buffer is dropped. Parsers check Covers() for meaning;
// these helpers make sure that no mistake can ever reach past a buffer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace vkcfg::codec {

class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t size() const { return bytes_.size(); }
    bool Covers(size_t offset, size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    uint8_t U8(size_t offset) const { return offset < bytes_.size() ? bytes_[offset] : 0; }
    uint16_t U16Be(size_t offset) const { return static_cast<uint16_t>(U8(offset) << 8 | U8(offset + 1)); }
    uint16_t U16Le(size_t offset) const { return static_cast<uint16_t>(U8(offset + 1) << 8 | U8(offset)); }

    // The bytes [offset, offset + count) clipped to the data.
    std::span<const uint8_t> Bytes(size_t offset, size_t count) const {
        if (offset >= bytes_.size()) return {};
        return bytes_.subspan(offset, std::min(count, bytes_.size() - offset));
    }

    // The text starting at offset: at most max_chars bytes, ended by the first NUL or the end of data.
    std::string_view Text(size_t offset, size_t max_chars) const {
        auto b = Bytes(offset, max_chars);
        auto end = std::find(b.begin(), b.end(), uint8_t{0});
        return {reinterpret_cast<const char*>(b.data()), static_cast<size_t>(end - b.begin())};
    }

  private:
    std::span<const uint8_t> bytes_;
};

class ByteWriter {
  public:
    explicit ByteWriter(std::span<uint8_t> bytes) : bytes_(bytes) {}

    size_t size() const { return bytes_.size(); }
    void U8(size_t offset, uint8_t v) {
        if (offset < bytes_.size()) bytes_[offset] = v;
    }
    void U16Be(size_t offset, uint16_t v) {
        U8(offset, static_cast<uint8_t>(v >> 8));
        U8(offset + 1, static_cast<uint8_t>(v));
    }
    void U16Le(size_t offset, uint16_t v) {
        U8(offset, static_cast<uint8_t>(v));
        U8(offset + 1, static_cast<uint8_t>(v >> 8));
    }
    void Bytes(size_t offset, std::span<const uint8_t> src) {
        if (offset >= bytes_.size()) return;
        size_t n = std::min(src.size(), bytes_.size() - offset);
        if (n != 0) std::memcpy(bytes_.data() + offset, src.data(), n);
    }

  private:
    std::span<uint8_t> bytes_;
};

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

// Copies a raw byte field of a frame into a record field of the same width, byte for byte.
template <size_t N>
void SetBytes(char (&field)[N], std::span<const uint8_t> src) {
    size_t n = std::min(src.size(), N);
    if (n != 0) std::memcpy(field, src.data(), n);
}

}  // namespace vkcfg::codec
