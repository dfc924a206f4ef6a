#include "ops/binary_frames.h"

#include "codec/frame.h"
#include "codec/param_record.h"

namespace vkcfg::ops {

bool CarriesRequestTag(const transport::Datagram& d) {
    return codec::HeaderByte(d.view(), codec::frame::kTag) == codec::kRequestTag;
}

bool SendLogout(Conversation& c, const codec::MacBytes& mac) {
    const auto command = c.broadcast() ? codec::Command::kLogoutByMac : codec::Command::kLogout;
    bool sent = c.Send(codec::BuildDeviceRequest(0, 0, static_cast<uint8_t>(command), mac));
    Pause(kPauseAfterLogoutMs);
    c.Close();
    return sent;
}

void SendSave(Conversation& c, const codec::MacBytes& mac) {
    auto save =
        codec::BuildDeviceRequest(codec::kMarkerRequest, 0, static_cast<uint8_t>(codec::Command::kSave), mac);
    if (c.Send(save)) {
        transport::Datagram ignored;
        c.Await(kAnswerWaitMs, ignored);
    }
    c.Close();
}

}  // namespace vkcfg::ops
