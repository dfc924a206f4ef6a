#include "ops/serial.h"

#include "codec/frame.h"
#include "codec/models.h"
#include "ops/conversation.h"

namespace vkcfg::ops {
namespace {

// Serial-line requests never broadcast: a short address text is parsed like any other (and fails).
Destination Addressed(const char* ip) {
    return {codec::AddrTextToBytes(ip), false};
}

}  // namespace

int TextSerialSet(const char* ip, codec::SerialItem item, int value) {
    auto c = Conversation::Open(Addressed(ip), VKA_DEVICE_PORT);
    if (!c) return VK_ERR_NETWORK;
    if (!c->Send(codec::TextSerialCommand(item, value))) return VK_ERR_NETWORK;
    transport::Datagram d;
    Outcome o = c->Await(kAnswerWaitMs, d);
    c->Close();
    if (o == Outcome::kTimeout) return VK_ERR_NO_ANSWER;
    if (o == Outcome::kFailure) return VK_ERR_NETWORK;
    auto status = codec::HeaderByte(d.view(), 0);
    if (!status) return VK_ERR_NO_ANSWER;  // an empty datagram
    return *status == 'A' ? VK_OK : VK_ERR_UNEXPECTED;
}

int BinarySerialSet(const char* ip, codec::SerialItem item, int value, uint8_t channel) {
    auto block = codec::SerialChangeBlock(item, value);
    if (!block) return VK_ERR_ARGUMENT;
    auto c = Conversation::Open(Addressed(ip), VKB_DEVICE_PORT);
    if (!c) return VK_ERR_NETWORK;
    if (!c->Send(codec::BuildSerialFrame(channel, *block))) return VK_ERR_NETWORK;
    transport::Datagram d;
    Outcome o = c->Await(kAnswerWaitMs, d);
    c->Close();
    if (o == Outcome::kTimeout) return VK_ERR_NO_ANSWER;
    if (o == Outcome::kAnswer && codec::IsSerialAcknowledgement(d.view())) return VK_OK;
    return VK_ERR_UNEXPECTED;
}

int SerialSet(const char* ip, codec::SerialItem item, int value, const LoginRecord& login) {
    switch (codec::FamilyOf(login.model_code)) {
        case codec::Family::kFirstGeneration:
            return TextSerialSet(ip, item, value);
        case codec::Family::kSinglePort:
            return BinarySerialSet(ip, item, value, 0);
        case codec::Family::kMultiPort:
            return BinarySerialSet(ip, item, value, login.channel);
        case codec::Family::kOther:
            break;
    }
    return VK_ERR_ARGUMENT;
}

}  // namespace vkcfg::ops
