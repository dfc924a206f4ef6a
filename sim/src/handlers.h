// The device side, split by protocol: text requests on port 65535, binary frames on port 65280.
#pragma once

#include <vector>

#include "responder.h"

namespace vksim {

// Every device on the text port: "X" and, for the first generation, selection, session and parameters.
std::vector<Bytes> RespondText(Device& d, const Request& r);

// Every device on the binary port: search, session, parameter frames, SAVE and serial settings.
std::vector<Bytes> RespondBinary(Device& d, const Request& r);

// Every device's side of the firmware update on the text port; requests of the update start with a
// byte from 0xF7 to 0xFA, which no text command does.
bool IsUpdateRequest(const Bytes& bytes);
std::vector<Bytes> RespondUpdate(Device& d, const Request& r);

// The update memories and identity a new device of its model starts with.
void InitUpdateState(Device& d);

// Parameter access needs an open session unless the device is set to need none.
inline bool ParametersOpen(const Device& d) {
    return !d.requires_login || d.session_open;
}

// Ends the session; a write not yet saved is dropped with it.
inline void EndSession(Device& d) {
    d.session_open = false;
    d.pending_write.clear();
}

// What a device sends back to a parameter write it will not take: one byte, which is no frame.
inline Bytes WriteRefusal() {
    return Bytes{0x00};
}

// The extended device's parameter write (marker 0xFF, plain block from byte 42): acknowledgement,
// refusal, or nothing for a frame that is not one.
std::vector<Bytes> ExtendedWrite(Device& d, const Bytes& frame);

}  // namespace vksim
