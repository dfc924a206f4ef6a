// Tools for tests that play a hostile peer: frames cut to any length that still carry a matching
// checksum (and, where the checksum covers them, the tag, command and model code), and caller buffers
// with guard bytes behind them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "support/scripted_peer.h"

namespace vktest {

// The first `length` bytes of `frame`, ending with the checksum of the bytes before it, low byte first,
// as an attacker who knows the checksum would send them. Bytes of `keep` that fall into the checksum's
// two bytes still hold their value in `frame`: the reserved header bytes 1 and 2 are varied until the
// checksum itself is those bytes. Frames shorter than 3 bytes carry no checksum.
Bytes Forged(const Bytes& frame, size_t length, std::initializer_list<size_t> keep = {7, 8, 9});

// A second-generation answer frame of `size` bytes (checksum included): tag at 7, command at 8, model
// code at 9, the MAC 02:00:5E:10:id at 12 and a payload without a single NUL byte, scrambled from byte
// 12 on as devices send it.
Bytes AnswerFrame(size_t size, uint8_t tag, uint8_t command, uint8_t model, uint16_t id = 6);

// A caller's buffer of `size` bytes with guard bytes behind it; every byte starts as kFill.
class GuardedBuffer {
  public:
    static constexpr uint8_t kFill = 0xA5;
    static constexpr size_t kGuard = 64;

    explicit GuardedBuffer(size_t size) : size_(size), bytes_(size + kGuard, kFill) {}

    template <typename T>
    T* As() {
        return reinterpret_cast<T*>(bytes_.data());
    }
    std::span<const uint8_t> Inside() const { return {bytes_.data(), size_}; }
    void Refill() { std::fill(bytes_.begin(), bytes_.end(), kFill); }

    // No byte behind the buffer was written.
    bool GuardsIntact() const { return AllFill(size_, bytes_.size()); }
    // No byte at all was written.
    bool Untouched() const { return AllFill(0, bytes_.size()); }
    // No byte from `from` on was written (the guards included).
    bool UntouchedFrom(size_t from) const { return AllFill(from, bytes_.size()); }

  private:
    bool AllFill(size_t from, size_t to) const {
        for (size_t i = from; i < to; ++i)
            if (bytes_[i] != kFill) return false;
        return true;
    }
    size_t size_;
    std::vector<uint8_t> bytes_;
};

// What a scripted peer answers to the request under test, changed by the test between calls (the
// peer answers on its own thread).
class AnswerPlan {
  public:
    void Set(std::vector<Bytes> answers) {
        std::lock_guard lock(mutex_);
        answers_ = std::move(answers);
    }
    std::vector<PeerAnswer> From(const std::string& address) const {
        std::lock_guard lock(mutex_);
        std::vector<PeerAnswer> out;
        for (const auto& a : answers_)
            out.push_back({address, a});
        return out;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Bytes> answers_;
};

}  // namespace vktest
