#include "ops/text_params.h"

#include <cstring>
#include <string>
#include <vector>

#include "codec/text_commands.h"
#include "ops/conversation.h"

namespace vkcfg::ops {
namespace {

using transport::Datagram;

struct Reply {
    bool answered = false;  // some datagram arrived for this request
    std::string answer;     // the last datagram read, as taken
};

// Sends a request and reads what arrives until an answer carries the request's tag or 100 ms pass
// without a datagram; a request that drew nothing is sent again, up to 5 sends. An attempt that drew
// only answers tagged for other requests (late answers to earlier ones) counts as unanswered too, so a
// lost answer is asked for again instead of being silently missing from the result.
Reply Ask(Conversation& c, const std::string& request) {
    const std::string_view tag = codec::TagOf(request);
    Reply reply;
    Datagram d;
    for (int send = 0; send < kTextCommandSends; ++send) {
        if (!c.Send(request)) return reply;
        bool own_or_untagged = false;
        while (c.Await(kTextCommandWaitMs, d) == Outcome::kAnswer) {
            reply.answered = true;
            reply.answer = codec::TakeAnswer(request, codec::AnswerText(d.view()));
            const bool has_tag = reply.answer.find(tag) != std::string::npos;
            if (has_tag || codec::AnswerTag(reply.answer).empty()) own_or_untagged = true;
            if (has_tag) break;  // answers tagged for other requests are read past, their values not taken
        }
        if (reply.answered && own_or_untagged) return reply;
        reply.answered = false;
    }
    return reply;
}

// Runs the requests in order (request 0, the device selection, only by broadcast) and ends the
// device's session with "O" whatever the outcome.
template <typename OnAnswer>
int RunSequence(const char* ip, const std::vector<std::string>& requests, OnAnswer on_answer) {
    auto c = Conversation::Open(DestinationOf(ip), VKA_DEVICE_PORT);
    if (!c) return VK_ERR_NETWORK;
    int result = VK_OK;
    for (size_t i = c->broadcast() ? 0 : 1; i < requests.size(); ++i) {
        Reply r = Ask(*c, requests[i]);
        if (!r.answered) {
            result = VK_ERR_NO_ANSWER;
            break;
        }
        if (r.answer.empty() || r.answer[0] != 'A') {
            result = VK_ERR_UNEXPECTED;
            break;
        }
        on_answer(r.answer);
    }
    c->Send(codec::kEndOfSession);
    Pause(kPauseAfterLogoutMs);
    return result;
}

bool MissingAddressAndMac(const char* ip, const char* mac_text) {
    return std::strlen(ip) <= 6 && std::strlen(mac_text) <= 10;
}

}  // namespace

int TextReadSettings(const char* ip, const char* mac_text, VkaWorkBlock& block) {
    if (MissingAddressAndMac(ip, mac_text)) return VK_ERR_ARGUMENT;
    VkaWorkBlock read = block;
    int result = RunSequence(ip, codec::ReadRequests(mac_text),
                             [&](const std::string& answer) { codec::StoreAnswer(answer, read); });
    if (result == VK_OK) block = read;  // a failed read leaves the caller's block as it was
    return result;
}

int TextWriteSettings(const char* ip, const char* mac_text, const VkaWorkBlock& block) {
    if (MissingAddressAndMac(ip, mac_text)) return VK_ERR_ARGUMENT;
    return RunSequence(ip, codec::WriteRequests(mac_text, block), [](const std::string&) {});
}

}  // namespace vkcfg::ops
