// Length-checked reading of untrusted bytes (datagrams, files). Every fetch says whether the bytes were
// there: it returns false and leaves both the output and the cursor unchanged when the data is too
// short. Nothing is ever read outside the span given to the reader, and no offset or length taken from
// the data can reach past it, because every access goes through Has().
//
// Two ways of reading: a cursor that fetches in order (Fetch*, Skip, Seek), and reads at absolute
// offsets that do not move the cursor (*At), for frames whose fields sit at fixed offsets.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace checked {

class Reader {
  public:
    Reader() = default;
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    Reader(const void* data, size_t size) : bytes_(static_cast<const uint8_t*>(data), size) {}

    size_t size() const { return bytes_.size(); }
    size_t position() const { return pos_; }
    size_t remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }

    // True when [offset, offset + count) lies inside the data (no overflow for any arguments).
    bool Has(size_t offset, size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    // ---- Absolute reads: the cursor does not move ----------------------------------------------

    bool U8At(size_t offset, uint8_t& out) const {
        if (!Has(offset, 1)) return false;
        out = bytes_[offset];
        return true;
    }
    bool U16BeAt(size_t offset, uint16_t& out) const {
        if (!Has(offset, 2)) return false;
        out = static_cast<uint16_t>(bytes_[offset] << 8 | bytes_[offset + 1]);
        return true;
    }
    bool U16LeAt(size_t offset, uint16_t& out) const {
        if (!Has(offset, 2)) return false;
        out = static_cast<uint16_t>(bytes_[offset + 1] << 8 | bytes_[offset]);
        return true;
    }
    bool U32LeAt(size_t offset, uint32_t& out) const {
        if (!Has(offset, 4)) return false;
        out = static_cast<uint32_t>(bytes_[offset]) | static_cast<uint32_t>(bytes_[offset + 1]) << 8 |
              static_cast<uint32_t>(bytes_[offset + 2]) << 16 |
              static_cast<uint32_t>(bytes_[offset + 3]) << 24;
        return true;
    }
    bool U32BeAt(size_t offset, uint32_t& out) const {
        if (!Has(offset, 4)) return false;
        out = static_cast<uint32_t>(bytes_[offset]) << 24 | static_cast<uint32_t>(bytes_[offset + 1]) << 16 |
              static_cast<uint32_t>(bytes_[offset + 2]) << 8 | static_cast<uint32_t>(bytes_[offset + 3]);
        return true;
    }
    // A view of exactly `count` bytes at `offset`.
    bool SpanAt(size_t offset, size_t count, std::span<const uint8_t>& out) const {
        if (!Has(offset, count)) return false;
        out = bytes_.subspan(offset, count);
        return true;
    }
    // Copies exactly out.size() bytes from `offset`.
    bool CopyAt(size_t offset, std::span<uint8_t> out) const {
        if (!Has(offset, out.size())) return false;
        if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
        return true;
    }
    // A reader over exactly `count` bytes at `offset` (its own cursor at 0).
    bool SubAt(size_t offset, size_t count, Reader& out) const {
        std::span<const uint8_t> s;
        if (!SpanAt(offset, count, s)) return false;
        out = Reader(s);
        return true;
    }
    // The text of a fixed-width field of `width` bytes at `offset`: its bytes up to the first NUL, or
    // all `width` bytes when the field holds none.
    bool FieldTextAt(size_t offset, size_t width, std::string_view& out) const {
        std::span<const uint8_t> s;
        if (!SpanAt(offset, width, s)) return false;
        out = TextOf(s);
        return true;
    }

    // ---- Cursor reads: on success the cursor moves past what was read -------------------------

    bool Seek(size_t offset) {
        if (offset > bytes_.size()) return false;
        pos_ = offset;
        return true;
    }
    bool Skip(size_t count) { return Has(pos_, count) && Seek(pos_ + count); }

    bool FetchU8(uint8_t& out) { return Advance(U8At(pos_, out), 1); }
    bool FetchU16Be(uint16_t& out) { return Advance(U16BeAt(pos_, out), 2); }
    bool FetchU16Le(uint16_t& out) { return Advance(U16LeAt(pos_, out), 2); }
    bool FetchU32Le(uint32_t& out) { return Advance(U32LeAt(pos_, out), 4); }
    bool FetchU32Be(uint32_t& out) { return Advance(U32BeAt(pos_, out), 4); }
    bool FetchSpan(size_t count, std::span<const uint8_t>& out) {
        return Advance(SpanAt(pos_, count, out), count);
    }
    bool FetchCopy(std::span<uint8_t> out) { return Advance(CopyAt(pos_, out), out.size()); }
    bool FetchFieldText(size_t width, std::string_view& out) {
        return Advance(FieldTextAt(pos_, width, out), width);
    }

    // The bytes from the cursor up to (not including) the first byte for which `ends` is true, or to
    // the end of the data; the cursor stops at that byte. Always succeeds (the view may be empty).
    template <typename Pred>
    std::span<const uint8_t> FetchUntil(Pred ends) {
        const auto rest = bytes_.subspan(pos_);
        const auto stop = std::find_if(rest.begin(), rest.end(), ends);
        const auto n = static_cast<size_t>(stop - rest.begin());
        pos_ += n;
        return rest.first(n);
    }

    // Whether the byte at the cursor is `b`; when it is, the cursor moves past it.
    bool FetchIf(uint8_t b) {
        if (!Has(pos_, 1) || bytes_[pos_] != b) return false;
        ++pos_;
        return true;
    }

    // The bytes from the cursor to the end, without moving it.
    std::span<const uint8_t> Rest() const { return bytes_.subspan(pos_); }

    static std::string_view TextOf(std::span<const uint8_t> s) {
        const auto end = std::find(s.begin(), s.end(), uint8_t{0});
        return {reinterpret_cast<const char*>(s.data()), static_cast<size_t>(end - s.begin())};
    }

  private:
    bool Advance(bool ok, size_t count) {
        if (ok) pos_ += count;
        return ok;
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

}  // namespace checked
