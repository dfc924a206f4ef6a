// Shared shapes of the conversations: reading answers until a quiet period, and a collector that fills
// caller-owned slots in order of arrival, each device at most once.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <span>

#include "transport/udp_socket.h"

namespace vkcfg::ops {

inline constexpr int kSearchQuietMs = 350;
inline constexpr int kExtendedSearchQuietMs = 300;
inline constexpr int kSingleAnswerWaitMs = 1000;

enum class Batch { kContinue, kEnd };

// Reads answers until `quiet_ms` pass without a datagram. Each wait that sees a datagram is followed
// by reading every queued datagram without waiting; `on_answer` returning kEnd, or a datagram that
// cannot be read, ends that batch and the loop goes back to waiting. A failing wait ends the loop.
void CollectUntilQuiet(transport::UdpSocket& socket, int quiet_ms,
                       const std::function<Batch(const transport::Datagram&)>& on_answer);

// Caller-owned slots filled in order; a slot is written only when its answer is accepted, so slots at
// and beyond the final count are never touched.
template <typename Slot>
class SlotCollector {
  public:
    using Key = std::array<uint8_t, 6>;

    explicit SlotCollector(std::span<Slot> slots) : slots_(slots) {}

    bool Full() const { return count_ >= slots_.size(); }
    size_t count() const { return count_; }

    // Takes the next slot for a device not seen before in this search; nullptr when the device was
    // already listed or the slots are full. The caller fills the returned slot.
    Slot* Accept(const Key& device) {
        if (Full() || !seen_.insert(device).second) return nullptr;
        return &slots_[count_++];
    }

  private:
    std::span<Slot> slots_;
    size_t count_ = 0;
    std::set<Key> seen_;
};

}  // namespace vkcfg::ops
