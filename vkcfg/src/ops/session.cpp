#include "ops/session.h"

#include <cstring>
#include <string>

#include "codec/frame.h"
#include "codec/models.h"
#include "codec/param_record.h"
#include "codec/text_commands.h"
#include "ops/binary_frames.h"
#include "ops/conversation.h"

namespace vkcfg::ops {
namespace {

using codec::AnswerText;
using transport::Datagram;

bool Contains(const Datagram& d, std::string_view tag) {
    return AnswerText(d.view()).find(tag) != std::string_view::npos;
}
bool Accepted(const Datagram& d) {
    return codec::HeaderByte(d.view(), 0) == 'A';
}

int OutcomeCode(Outcome o) {
    return o == Outcome::kTimeout ? VK_ERR_NO_ANSWER : VK_ERR_NETWORK;
}

// Every ending of a first-generation login other than success closes the device's session.
int EndTextLogin(Conversation& c, int result) {
    c.Send(codec::kEndOfSession);
    Pause(kPauseAfterLogoutMs);
    c.Close();
    return result;
}

}  // namespace

bool IsTextModel(uint8_t model_code) {
    return codec::FamilyOf(model_code) == codec::Family::kFirstGeneration;
}

int TextLogin(const char* ip, const char* mac_text, const LoginRecord& login) {
    if (!IsTextModel(login.model_code)) return VK_ERR_ARGUMENT;
    auto c = Conversation::Open(DestinationOf(ip), VKA_DEVICE_PORT);
    if (!c) return VK_ERR_NETWORK;
    Datagram d;
    if (c->broadcast()) {
        if (!c->Send(codec::SelectRequest(mac_text, codec::kLoginSelectTag)))
            return EndTextLogin(*c, VK_ERR_NETWORK);
        Outcome o = c->AwaitMatching(kAnswerWaitMs, d,
                                     [](const Datagram& x) { return Contains(x, codec::kLoginSelectTag); });
        if (o != Outcome::kAnswer) return EndTextLogin(*c, OutcomeCode(o));
        if (!Accepted(d)) return EndTextLogin(*c, VK_ERR_UNEXPECTED);
    }
    if (!c->Send(codec::PasswordRequest(login.password))) return EndTextLogin(*c, VK_ERR_NETWORK);
    Outcome o = c->AwaitMatching(kAnswerWaitMs, d,
                                 [](const Datagram& x) { return Contains(x, codec::kLoginPasswordTag); });
    if (o != Outcome::kAnswer) return EndTextLogin(*c, OutcomeCode(o));
    if (!Accepted(d)) return EndTextLogin(*c, VK_ERR_PASSWORD);
    return VK_OK;
}

int TextLogout(const char* ip) {
    auto c = Conversation::Open(DestinationOf(ip), VKA_DEVICE_PORT);
    if (!c) return VK_ERR_NETWORK;
    const bool sent = c->Send(codec::kEndOfSession);
    c->Close();
    Pause(kPauseAfterLogoutMs);
    return sent ? VK_OK : VK_ERR_NETWORK;
}

int BinaryLogin(const char* ip, const codec::MacBytes& mac, const LoginRecord& login) {
    auto c = Conversation::Open(DestinationOf(ip), VKB_DEVICE_PORT);
    if (!c) return VK_ERR_NETWORK;
    const auto command = c->broadcast() ? codec::Command::kLoginByMac : codec::Command::kLogin;
    codec::ShortFrame f;
    f.tag = codec::kRequestTag;
    f.command = command;
    f.mac = mac;
    std::memcpy(f.password.data(), login.password, f.password.size());
    if (!c->Send(codec::BuildShortFrame(f))) return VK_ERR_NETWORK;

    Datagram d;
    Outcome o = c->AwaitMatching(kAnswerWaitMs, d, CarriesRequestTag);
    if (o != Outcome::kAnswer) {
        SendLogout(*c, mac);
        return OutcomeCode(o);
    }
    if (!codec::ChecksumMatches(d.view())) {
        SendLogout(*c, mac);
        return VK_ERR_UNEXPECTED;
    }
    c->Close();
    return codec::HeaderByte(d.view(), codec::frame::kCommand) == static_cast<uint8_t>(codec::Command::kLogin)
               ? VK_OK
               : VK_ERR_PASSWORD;
}

int BinaryLogout(const char* ip, const codec::MacBytes& mac) {
    auto c = Conversation::Open(DestinationOf(ip), VKB_DEVICE_PORT);
    if (!c) return VK_ERR_NETWORK;
    return SendLogout(*c, mac) ? VK_OK : VK_ERR_NETWORK;
}

int Login(const char* ip, const codec::MacBytes& mac, const LoginRecord& login) {
    if (IsTextModel(login.model_code)) return TextLogin(ip, codec::MacText(mac).c_str(), login);
    return BinaryLogin(ip, mac, login);
}

int Logout(const char* ip, const codec::MacBytes& mac, const LoginRecord& login) {
    if (IsTextModel(login.model_code)) return TextLogout(ip);
    return BinaryLogout(ip, mac);
}

}  // namespace vkcfg::ops
