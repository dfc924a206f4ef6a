#include "responder.h"

#include "handlers.h"

namespace vksim {

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
    if (r.port != kTextPort) return RespondBinary(d, r);
    return IsUpdateRequest(r.bytes) ? RespondUpdate(d, r) : RespondText(d, r);
}

}  // namespace vksim
