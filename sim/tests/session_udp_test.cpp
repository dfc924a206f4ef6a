// The device side over real UDP: a client on an ephemeral port talks to a simulated network.
// The answers a device makes to one request leave in order, whatever delay the faults add.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

#include "network.h"
#include "requests.h"

using namespace simtest;

namespace {

class Client {
  public:
    Client() : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&any), sizeof any);
    }
    ~Client() { ::close(fd_); }

    void Send(const char* address, uint16_t port, const std::string& text) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        ::inet_pton(AF_INET, address, &to.sin_addr);
        ::sendto(fd_, text.data(), text.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }

    // Datagrams as "sender: text" until `quiet_ms` pass without one.
    std::vector<std::string> Receive(int quiet_ms = 300) {
        std::vector<std::string> out;
        pollfd p{fd_, POLLIN, 0};
        while (::poll(&p, 1, quiet_ms) > 0) {
            char buf[2048];
            sockaddr_in from{};
            socklen_t len = sizeof from;
            ssize_t n = ::recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n < 0) break;
            char address[16];
            ::inet_ntop(AF_INET, &from.sin_addr, address, sizeof address);
            out.push_back(std::string(address) + ": " + std::string(buf, static_cast<size_t>(n)));
        }
        return out;
    }

  private:
    int fd_;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(SessionOverUdp, ForeignTagAnswerArrivesFirstEvenWithJitter) {
    auto d = NewDevice("VKA100");
    d.requires_login = false;
    d.faults.foreign_tag = true;
    d.faults.jitter_ms = 30;
    vksim::Network net({d});
    Client client;
    for (int i = 0; i < 10; ++i) {
        client.Send("127.0.0.10", vksim::kTextPort, "GDN|2F");
        EXPECT_EQ(client.Receive(100), (Lines{"127.0.0.10: A|2E", "127.0.0.10: ADEV0|2F"}));
    }
}

// Benchmarks measure protocol floors from when each request's last answer left.
TEST(SessionOverUdp, RequestLogNotesEachRequestsAnswersAndWhenTheLastLeft) {
    auto a = NewDevice("VKA100");
    auto b = NewDevice("VKA100", 1);  // on 127.0.0.11
    b.faults.delay_ms = 40;
    vksim::Network net({a, b});
    Client client;
    client.Send("127.255.255.255", vksim::kTextPort, "X");
    ASSERT_EQ(client.Receive(150).size(), 2u);
    client.Send("127.0.0.10", vksim::kTextPort, "X");
    ASSERT_EQ(client.Receive(100).size(), 1u);
    auto log = net.Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].answers, 2u) << "both devices answered the broadcast";
    EXPECT_GE(log[0].last_answer - log[0].at, std::chrono::milliseconds(40));
    EXPECT_EQ(log[1].answers, 1u);
    EXPECT_LT(log[1].last_answer - log[1].at, std::chrono::milliseconds(40));
    net.ClearRequests();  // numbering goes on across a clear
    client.Send("127.0.0.11", vksim::kTextPort, "X");
    ASSERT_EQ(client.Receive(150).size(), 1u);

    log = net.Requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].answers, 1u);
    EXPECT_GE(log[0].last_answer - log[0].at, std::chrono::milliseconds(40)) << "the delayed device's answer";
}
