#include "ops/exchange.h"

namespace vkcfg::ops {

void CollectUntilQuiet(transport::UdpSocket& socket, int quiet_ms,
                       const std::function<Batch(const transport::Datagram&)>& on_answer) {
    transport::Datagram datagram;
    for (;;) {
        auto waited = socket.Wait(quiet_ms);
        if (waited != transport::WaitResult::kDatagram) return;  // quiet period over, or the wait failed
        while (socket.Receive(datagram) == transport::ReceiveResult::kDatagram) {
            if (on_answer(datagram) == Batch::kEnd) break;
        }
    }
}

}  // namespace vkcfg::ops
