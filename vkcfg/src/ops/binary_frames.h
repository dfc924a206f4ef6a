// Pieces of the second generation's conversations shared by login, parameters and serial settings.
#pragma once

#include "codec/addr_text.h"
#include "ops/conversation.h"
#include "transport/udp_socket.h"

namespace vkcfg::ops {

// True when byte 7 of the datagram holds the request tag (a datagram too short to have one never does).
bool CarriesRequestTag(const transport::Datagram& d);

// Sends the logout frame for `mac` over the conversation (LOGOUT_BY_MAC when it broadcasts), pauses and
// closes the conversation. False when the frame could not be sent.
bool SendLogout(Conversation& c, const codec::MacBytes& mac);

// After an acknowledged write: sends SAVE for `mac`, waits up to 1000 ms for a datagram without looking
// at it, and closes the conversation.
void SendSave(Conversation& c, const codec::MacBytes& mac);

}  // namespace vkcfg::ops
