// A scripted peer for tests that need answers no well-behaved device gives: it listens on loopback
// addresses of its own choosing and answers each request with whatever the test's script returns.
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vktest {

using Bytes = std::vector<uint8_t>;

struct PeerRequest {
    std::string destination;  // the address the request was sent to
    uint16_t port;
    Bytes bytes;
};

// One answer: the bytes and the loopback address it is sent from (on the port the request came in on).
struct PeerAnswer {
    std::string from;
    Bytes bytes;
};

class ScriptedPeer {
  public:
    using Script = std::function<std::vector<PeerAnswer>(const PeerRequest&)>;

    // Binds every address:port given ("127.255.255.255" to hear broadcasts) and runs until destroyed.
    ScriptedPeer(std::vector<std::pair<std::string, uint16_t>> listen, Script script);
    ~ScriptedPeer();

    std::vector<PeerRequest> Requests() const;

  private:
    void Run();
    int SocketFor(const std::string& address, uint16_t port);

    Script script_;
    std::vector<int> fds_;
    std::vector<std::pair<std::string, uint16_t>> bound_;
    std::vector<int> extra_fds_;  // answer sockets made on demand
    std::vector<std::pair<std::string, uint16_t>> extra_bound_;
    mutable std::mutex mutex_;
    std::vector<PeerRequest> requests_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

Bytes Text(const std::string& s);
// A frame with its checksum (CRC-16/XMODEM, written bitwise here) appended low byte first.
Bytes WithChecksum(Bytes body);

}  // namespace vktest
