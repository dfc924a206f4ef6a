// Length-checked writing into a caller's buffer: every put says whether it fitted and writes nothing
// at all when it did not, so a length or offset taken from untrusted data can never reach past the
// buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace checked {

class Writer {
  public:
    explicit Writer(std::span<uint8_t> bytes) : bytes_(bytes) {}
    Writer(void* data, size_t size) : bytes_(static_cast<uint8_t*>(data), size) {}

    size_t size() const { return bytes_.size(); }
    bool Has(size_t offset, size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    bool U8At(size_t offset, uint8_t v) {
        if (!Has(offset, 1)) return false;
        bytes_[offset] = v;
        return true;
    }
    bool U16BeAt(size_t offset, uint16_t v) {
        if (!Has(offset, 2)) return false;
        bytes_[offset] = static_cast<uint8_t>(v >> 8);
        bytes_[offset + 1] = static_cast<uint8_t>(v);
        return true;
    }
    bool U16LeAt(size_t offset, uint16_t v) {
        if (!Has(offset, 2)) return false;
        bytes_[offset] = static_cast<uint8_t>(v);
        bytes_[offset + 1] = static_cast<uint8_t>(v >> 8);
        return true;
    }
    bool U32LeAt(size_t offset, uint32_t v) {
        if (!Has(offset, 4)) return false;
        for (size_t i = 0; i < 4; ++i)
            bytes_[offset + i] = static_cast<uint8_t>(v >> (8 * i));
        return true;
    }
    // Writes all of `src` at `offset`, or nothing.
    bool BytesAt(size_t offset, std::span<const uint8_t> src) {
        if (!Has(offset, src.size())) return false;
        if (!src.empty()) std::memcpy(bytes_.data() + offset, src.data(), src.size());
        return true;
    }
    // A text into a field of `width` bytes at `offset`: at most width - 1 bytes of it, the rest of the
    // field zero, so the field always ends with a NUL.
    bool TerminatedTextAt(size_t offset, size_t width, std::string_view text) {
        if (width == 0 || !Has(offset, width)) return false;
        const size_t n = text.size() < width ? text.size() : width - 1;
        std::memset(bytes_.data() + offset, 0, width);
        if (n != 0) std::memcpy(bytes_.data() + offset, text.data(), n);
        return true;
    }
    // Writable view of exactly `count` bytes at `offset`.
    bool SpanAt(size_t offset, size_t count, std::span<uint8_t>& out) {
        if (!Has(offset, count)) return false;
        out = bytes_.subspan(offset, count);
        return true;
    }

  private:
    std::span<uint8_t> bytes_;
};

}  // namespace checked
