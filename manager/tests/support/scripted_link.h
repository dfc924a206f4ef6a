// The update's datagram channel without a network: every request is recorded and answered (or not) by
// the test's function; a wait takes the answer of the last request, cut to the wait's capacity.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/update/update_link.h"

namespace torvane::test {

using Bytes = std::vector<uint8_t>;

class ScriptedLinks {
  public:
    // The answer to one request; nothing: the device stays silent.
    std::function<std::optional<Bytes>(const Bytes& request)> answer = [](const Bytes&) {
        return std::optional<Bytes>();
    };
    std::vector<std::string> opened;  // the address of every channel opened, in order
    std::vector<Bytes> requests;

    UpdateLinkOpener Opener() {
        return [this](const std::string& ip) -> std::unique_ptr<UpdateLink> {
            opened.push_back(ip);
            return std::make_unique<Link>(*this);
        };
    }

  private:
    class Link final : public UpdateLink {
      public:
        explicit Link(ScriptedLinks& links) : links_(links) {}
        bool Send(std::span<const uint8_t> bytes) override {
            links_.requests.emplace_back(bytes.begin(), bytes.end());
            if (auto a = links_.answer(links_.requests.back())) queued_.push_back(std::move(*a));
            return true;
        }
        std::optional<std::vector<uint8_t>> Receive(int, size_t capacity) override {
            if (queued_.empty()) return std::nullopt;
            Bytes a = std::move(queued_.front());
            queued_.pop_front();
            if (a.size() > capacity) a.resize(capacity);
            return a;
        }

      private:
        ScriptedLinks& links_;
        std::deque<Bytes> queued_;
    };
};

// An identify answer of `size` bytes: byte 0, the model text at 1, the version text at 17, and from
// byte 33 four little-endian numbers, the last of them `n4`.
inline Bytes IdentifyAnswerOf(const std::string& model, const std::string& version, size_t size,
                              uint32_t n4 = 0) {
    Bytes a(std::max<size_t>(size, 49), 0);
    a[0] = 0xFA;
    std::copy(model.begin(), model.end(), a.begin() + 1);
    std::copy(version.begin(), version.end(), a.begin() + 17);
    for (int i = 0; i < 4; ++i)
        a[45 + static_cast<size_t>(i)] = static_cast<uint8_t>(n4 >> (8 * i));
    a.resize(size);
    return a;
}

}  // namespace torvane::test
