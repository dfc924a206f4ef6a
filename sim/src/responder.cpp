#include "responder.h"

#include "layouts.h"

namespace vksim {
namespace {

std::vector<Bytes> RespondText(Device& d, const Request& r) {
    const bool search = r.bytes.size() == 1 && r.bytes[0] == 'X';
    if (!search) return {};
    if (d.model->generation == Generation::kText) return {TextSearchAnswer(d)};
    return {Bytes{'V', 'B'}};  // a second-generation device names itself, so the caller switches
}

std::vector<Bytes> RespondBinary(Device& d, const Request& r) {
    if (r.bytes.size() < 42 || !FrameChecksumOk(r.bytes)) return {};
    const uint8_t command = r.bytes[8];
    if (command == kCmdSearch) {
        if (d.model->generation == Generation::kExtended) return {ExtendedSearchAnswer(d)};
        return {ParameterFrame(d, kCmdSearchAnswer, 0)};
    }
    return {};
}

}  // namespace

std::vector<uint16_t> ListeningPorts(const Device& d) {
    switch (d.model->generation) {
        case Generation::kText:
            return {kTextPort};
        case Generation::kBinary:
            return {kTextPort, kBinaryPort};
        case Generation::kExtended:
            return {kBinaryPort};
    }
    return {};
}

std::vector<Bytes> Respond(Device& d, const Request& r) {
    return r.port == kTextPort ? RespondText(d, r) : RespondBinary(d, r);
}

}  // namespace vksim
