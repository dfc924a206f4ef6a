// The library against a hostile peer: answers of every length, of other models and layouts, with the
// tags and commands of other requests, floods during a search, answers at the time-out's edge. Every
// caller buffer carries guard bytes that must stay untouched; a refused answer writes nothing at all.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "support/hostile.h"
#include "support/scripted_peer.h"
#include "vkcfg.h"

using namespace vktest;

namespace {

constexpr const char* kPeer = "127.0.0.77";
constexpr uint8_t kTag = 0x57;
constexpr uint8_t kRead = 11, kReadByMac = 13, kLogin = 17, kSearchAnswer = 2, kSave = 7;
const uint8_t kMac[6] = {0x02, 0x00, 0x5E, 0x10, 0x00, 0x06};  // the MAC of AnswerFrame's default id

// Channel counts of the multi-port models; every other multi-port code has none.
size_t Channels(uint8_t model) {
    switch (model) {
        case 0x31:
        case 0x91:
            return 1;
        case 0x32:
        case 0x93:
            return 2;
        case 0x33:
        case 0x92:
        case 0x94:
            return 3;
        case 0x34:
            return 4;
        case 0x38:
            return 8;
        default:
            return 0;
    }
}
bool SinglePort(uint8_t model) {
    return model == 0x10 || model == 0x20;
}
// The read answer's frame of a model (a model without a layout answers with a single-port frame).
size_t FrameSize(uint8_t model) {
    const bool multi = (model >> 4) == 0x3 || (model >> 4) == 0x9;
    return multi ? 94 + 54 * Channels(model) : 158;
}
size_t LayoutSize(uint8_t model) {
    return SinglePort(model) ? 304 : 156 + 68 * Channels(model);
}

// A peer at kPeer that answers requests carrying `command` with the plan's answers (and every other
// request with nothing).
struct Peer {
    explicit Peer(uint16_t port, uint8_t command)
        : peer({{kPeer, port}}, [this, command](const PeerRequest& q) {
              if (q.bytes.size() > 8 && q.bytes[8] == command) return plan.From(kPeer);
              if (q.bytes.size() > 8 && q.bytes[8] == kSave)
                  return std::vector<PeerAnswer>{{kPeer, save_ack}};
              return std::vector<PeerAnswer>{};
          }) {}
    AnswerPlan plan;
    Bytes save_ack = WithChecksum(Bytes(40, 0));
    ScriptedPeer peer;
};

LoginRecord LoginOf(uint8_t model) {
    LoginRecord login{};
    login.model_code = model;
    return login;
}

// The outcome a read gives an answer of `length` bytes cut from a frame of `frame` bytes: shorter than
// the tag (8 bytes), it is read past and the whole answer sent after it is taken; with the tag but cut
// short of its frame it is refused; whole (and longer: the checksum covers it all) it is taken.
int ExpectedReadResult(size_t length, size_t frame) {
    if (length <= 7) return VK_OK;
    return length < frame ? VK_ERR_UNEXPECTED : VK_OK;
}

std::vector<Bytes> CutAnswer(const Bytes& whole, size_t length) {
    std::vector<Bytes> answers{Forged(whole, length)};
    if (length <= 7) answers.push_back(whole);  // no tag: read past, then the real answer
    return answers;
}

}  // namespace

TEST(HostilePeer, ReadAnswersOfEveryLengthNeverWritePastTheLayout) {
    Peer p(VKB_DEVICE_PORT, kRead);
    for (uint8_t model : {uint8_t{0x10}, uint8_t{0x34}}) {
        const size_t frame = FrameSize(model);
        const Bytes whole = AnswerFrame(frame, kTag, kRead, model);
        const LoginRecord login = LoginOf(model);
        GuardedBuffer record(LayoutSize(model));
        GuardedBuffer block(VKB_WORK_BLOCK_MAX);
        for (size_t length = 0; length <= frame + 2; ++length) {
            SCOPED_TRACE("model " + std::to_string(model) + ", answer of " + std::to_string(length) +
                         " bytes");
            p.plan.Set(CutAnswer(whole, length));
            record.Refill();
            const int expected = ExpectedReadResult(length, frame);
            ASSERT_EQ(vk_read_setting(kPeer, kMac, record.As<VkParamRecord>(), &login), expected);
            ASSERT_TRUE(record.GuardsIntact());
            if (expected != VK_OK) {
                ASSERT_TRUE(record.Untouched());
            } else {
                ASSERT_EQ(record.As<VkParamRecord>()->model_code, model);
                ASSERT_EQ(0, std::memcmp(record.As<VkParamSinglePort>()->mac, kMac, 6));
            }
            block.Refill();
            ASSERT_EQ(vkb_read_setting(kPeer, kMac, block.As<uint8_t>(), nullptr), expected);
            ASSERT_TRUE(block.GuardsIntact());
            if (expected != VK_OK) {  // the read clears 148 bytes first
                ASSERT_TRUE(block.UntouchedFrom(148));
            }
        }
    }
}

TEST(HostilePeer, ReadAnswersOfAnotherLayoutOrChannelCountAreRefusedAndCopyNothing) {
    Peer p(VKB_DEVICE_PORT, kRead);
    struct Case {
        uint8_t asked, answered;
        int result;
    } cases[] = {
        {0x10, 0x34, VK_ERR_UNEXPECTED},
        {0x10, 0x38, VK_ERR_UNEXPECTED},
        {0x10, 0x31, VK_ERR_UNEXPECTED},
        {0x10, 0x83, VK_ERR_UNEXPECTED},
        {0x10, 0x00, VK_ERR_UNEXPECTED},
        {0x10, 0x20, VK_OK},
        {0x34, 0x10, VK_ERR_UNEXPECTED},
        {0x34, 0x38, VK_ERR_UNEXPECTED},
        {0x34, 0x32, VK_ERR_UNEXPECTED},
        {0x34, 0x3F, VK_ERR_UNEXPECTED},
        {0x34, 0x94, VK_ERR_UNEXPECTED},
        {0x31, 0x91, VK_OK},
        {0x93, 0x32, VK_OK},  // two channels each: the same layout
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("asked " + std::to_string(c.asked) + ", answered " + std::to_string(c.answered));
        p.plan.Set({AnswerFrame(FrameSize(c.answered), kTag, kRead, c.answered)});
        const LoginRecord login = LoginOf(c.asked);
        GuardedBuffer record(LayoutSize(c.asked));
        EXPECT_EQ(vk_read_setting(kPeer, kMac, record.As<VkParamRecord>(), &login), c.result);
        EXPECT_TRUE(record.GuardsIntact());
        if (c.result != VK_OK) {
            EXPECT_TRUE(record.Untouched());
        } else {
            EXPECT_EQ(record.As<VkParamRecord>()->model_code, c.answered);
        }
    }
}

TEST(HostilePeer, AnswersWithTheTagOrCommandOfAnotherRequestAreNotTaken) {
    Peer p(VKB_DEVICE_PORT, kRead);
    struct Case {
        const char* what;
        uint8_t tag, command;
        int result;
    } cases[] = {
        {"command of a read by MAC", kTag, kReadByMac, VK_ERR_UNEXPECTED},
        {"command of a login answer", kTag, kLogin, VK_ERR_UNEXPECTED},
        {"command of a search answer", kTag, kSearchAnswer, VK_ERR_UNEXPECTED},
        {"no tag: read past until the time-out", 0, kRead, VK_ERR_NO_ANSWER},
    };
    const LoginRecord login = LoginOf(0x10);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        p.plan.Set({AnswerFrame(158, c.tag, c.command, 0x10)});
        GuardedBuffer record(304);
        EXPECT_EQ(vk_read_setting(kPeer, kMac, record.As<VkParamRecord>(), &login), c.result);
        EXPECT_TRUE(record.Untouched());
        GuardedBuffer payload(VK_EX_PAYLOAD_MAX);
        EXPECT_EQ(vk_read_setting_ex(kPeer, kMac, payload.As<uint8_t>(), nullptr), c.result);
        EXPECT_TRUE(payload.UntouchedFrom(4));  // the read clears the first 4 bytes
    }
}

TEST(HostilePeer, LoginWriteSerialSearchAndExtendedAnswersOfEveryLength) {
    struct Kind {
        const char* what;
        uint8_t request, tag, answer_command;
        size_t frame;
        int (*call)(GuardedBuffer&);
        size_t buffer;
        // the result for an answer of `length` bytes; answers without the tag are read past and the
        // whole answer sent after them is taken
        int (*expected)(size_t length);
    };
    static const Kind kinds[] = {
        {"login", kLogin, kTag, kLogin, 42,
         [](GuardedBuffer&) {
             const LoginRecord login = LoginOf(0x10);
             return vk_login(kPeer, kMac, &login);
         },
         0, [](size_t n) -> int { return n == 8 ? VK_ERR_PASSWORD : VK_OK; }},
        {"write acknowledgement", 5, 0, 5, 42,
         [](GuardedBuffer& b) {
             const LoginRecord login = LoginOf(0x10);
             return vk_write_setting(kPeer, kMac, b.As<VkParamRecord>(), &login);
         },
         304, [](size_t n) -> int { return n < 3 ? VK_ERR_UNEXPECTED : VK_OK; }},
        {"serial setting", 9, 0, 9, 42, [](GuardedBuffer&) { return vkb_setting_baud(kPeer, 9600); }, 0,
         [](size_t n) -> int { return n < 42 ? VK_ERR_UNEXPECTED : VK_OK; }},
        {"search of one address", 1, 0, kSearchAnswer, 158,
         [](GuardedBuffer& b) { return vkb_search_one(kPeer, b.As<VkSearchRecord>()); },
         VK_SEARCH_RECORD_SIZE, [](size_t n) -> int { return n < 158 ? VK_ERR_UNEXPECTED : VK_OK; }},
        {"extended read", kRead, kTag, kRead, 480,
         [](GuardedBuffer& b) { return vk_read_setting_ex(kPeer, kMac, b.As<uint8_t>(), nullptr); },
         VK_EX_PAYLOAD_MAX, [](size_t n) -> int { return n >= 8 && n < 44 ? VK_ERR_UNEXPECTED : VK_OK; }},
    };
    for (const auto& k : kinds) {
        Peer p(VKB_DEVICE_PORT, k.request);
        const Bytes whole = AnswerFrame(k.frame, k.tag, k.answer_command, 0x10);
        GuardedBuffer buffer(k.buffer);
        for (size_t length = 0; length <= k.frame + 2; ++length) {
            SCOPED_TRACE(std::string(k.what) + ", answer of " + std::to_string(length) + " bytes");
            std::vector<Bytes> answers{Forged(whole, length)};
            if (k.tag != 0 && length <= 7) answers.push_back(whole);
            p.plan.Set(answers);
            buffer.Refill();
            if (k.request == 5) {  // a record that can be written
                std::memset(buffer.As<VkParamRecord>(), 0, 304);
                buffer.As<VkParamRecord>()->model_code = 0x10;
            }
            const int result = k.call(buffer);
            ASSERT_EQ(result, k.expected(length));
            ASSERT_TRUE(buffer.GuardsIntact());
            if (k.request == 1 && result != VK_OK) {
                ASSERT_TRUE(buffer.Untouched());
            }
            if (k.request == kRead) {
                // Exactly the answer's payload is copied; everything after it stays as it was.
                const size_t taken = length <= 7 ? whole.size() : length;
                const size_t copied = result == VK_OK ? taken - 44 : 0;
                ASSERT_TRUE(buffer.UntouchedFrom(std::max<size_t>(4, copied)));
                if (result == VK_OK) {
                    const Bytes sent = length <= 7 ? whole : Forged(whole, length);
                    ASSERT_EQ(0, std::memcmp(buffer.As<uint8_t>(), sent.data() + 42, copied));
                }
            }
        }
    }
}

TEST(HostilePeer, SearchFloodsFillNoMoreThanTheCallersRoom) {
    constexpr int kRoom = 7;
    constexpr uint16_t kFlood = 200;
    std::vector<Bytes> text, binary;
    for (uint16_t i = 0; i < kFlood; ++i) {
        std::string a = "A2.0.94.16." + std::to_string(i >> 8) + "." + std::to_string(i & 0xFF) +
                        "/4001/x/y/z/FloodingDeviceName";
        text.push_back(Text(a));
        binary.push_back(AnswerFrame(158, 0, kSearchAnswer, 0x10, i));
    }
    struct Kind {
        const char* what;
        uint16_t port;
        const std::vector<Bytes>* answers;
        size_t slot;
        int (*search)(void*, int*);
    } kinds[] = {
        {"text search", VKA_DEVICE_PORT, &text, VK_SEARCH_RECORD_SIZE,
         [](void* s, int* n) { return vka_search_all(static_cast<VkSearchRecord*>(s), n); }},
        {"binary search", VKB_DEVICE_PORT, &binary, VK_SEARCH_RECORD_SIZE,
         [](void* s, int* n) { return vkb_search_all(static_cast<VkSearchRecord*>(s), n); }},
        {"extended search", VKB_DEVICE_PORT, &binary, VK_SEARCH_RECORD_EX_SIZE,
         [](void* s, int* n) { return vk_search_all_ex(static_cast<VkSearchRecordEx*>(s), n); }},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.what);
        AnswerPlan plan;
        plan.Set(*k.answers);
        ScriptedPeer peer({{"127.255.255.255", k.port}},
                          [&](const PeerRequest&) { return plan.From(kPeer); });
        GuardedBuffer slots(k.slot * kRoom);
        int count = kRoom;
        ASSERT_EQ(k.search(slots.As<void>(), &count), VK_OK);
        EXPECT_EQ(count, kRoom);
        EXPECT_TRUE(slots.GuardsIntact());
    }
}

TEST(HostilePeer, ExtendedSearchAnswersOfEveryLengthFillOnlyTheirPayload) {
    constexpr size_t kLongest = 44 + VK_SEARCH_RECORD_EX_SIZE + 2;
    std::vector<Bytes> answers;
    for (size_t length = 0; length <= kLongest; ++length)
        answers.push_back(
            Forged(AnswerFrame(kLongest, 0, kSearchAnswer, 0x83, static_cast<uint16_t>(length)), length));
    AnswerPlan plan;
    plan.Set(answers);
    ScriptedPeer peer({{"127.255.255.255", VKB_DEVICE_PORT}},
                      [&](const PeerRequest&) { return plan.From(kPeer); });
    constexpr size_t kRoom = 400;
    GuardedBuffer slots(kRoom * VK_SEARCH_RECORD_EX_SIZE);
    int count = kRoom;
    ASSERT_EQ(vk_search_all_ex(slots.As<VkSearchRecordEx>(), &count), VK_OK);
    // Answers with a command byte, a checksum and room for a payload: 44 bytes and longer, one per slot.
    ASSERT_EQ(count, static_cast<int>(kLongest - 44 + 1));
    EXPECT_TRUE(slots.UntouchedFrom(static_cast<size_t>(count) * VK_SEARCH_RECORD_EX_SIZE));
    const auto* bytes = slots.As<uint8_t>();
    for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
        const Bytes& sent = answers[44 + i];
        const size_t copied = std::min<size_t>(i, VK_SEARCH_RECORD_EX_SIZE);
        const uint8_t* slot = bytes + i * VK_SEARCH_RECORD_EX_SIZE;
        ASSERT_EQ(0, std::memcmp(slot, sent.data() + 42, copied)) << "slot " << i;
        for (size_t j = copied; j < VK_SEARCH_RECORD_EX_SIZE; ++j)
            ASSERT_EQ(slot[j], GuardedBuffer::kFill) << "slot " << i << " byte " << j;
    }
}

TEST(HostilePeer, AnswersAtTheTimeOutsEdge) {
    using namespace std::chrono_literals;
    struct Case {
        std::chrono::milliseconds delay;
        int result;
    } cases[] = {{800ms, VK_OK}, {1250ms, VK_ERR_NO_ANSWER}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.delay.count()) + " ms");
        ScriptedPeer peer({{kPeer, VKB_DEVICE_PORT}}, [&](const PeerRequest& q) {
            std::vector<PeerAnswer> out;
            if (q.bytes.size() > 8 && q.bytes[8] == kRead) {
                std::this_thread::sleep_for(c.delay);
                out.push_back({kPeer, AnswerFrame(158, kTag, kRead, 0x10)});
            }
            return out;
        });
        const LoginRecord login = LoginOf(0x10);
        GuardedBuffer record(304);
        EXPECT_EQ(vk_read_setting(kPeer, kMac, record.As<VkParamRecord>(), &login), c.result);
        EXPECT_TRUE(record.GuardsIntact());
        if (c.result != VK_OK) {
            EXPECT_TRUE(record.Untouched());
        }
        if (c.result != VK_OK) std::this_thread::sleep_for(400ms);  // the late answer finds no socket
    }
}
