// Logins of vkctl: given passwords, refusals with and without a terminal, the prompt, and the exit
// statuses of the failure classes.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "support/vkctl_runner.h"

using namespace vkctltest;

TEST(VkctlLogin, RefusedPasswordWithAndWithoutPasswordOption) {
    auto binary = Make("VKB200", 0);
    binary.faults.refuse_password = true;
    auto text = Make("VKA100", 1);
    text.faults.refuse_password = true;
    vksim::Network net({binary, text});
    for (const char* ip : {"127.0.0.10", "127.0.0.11"}) {
        SCOPED_TRACE(ip);
        Outcome o = Vkctl({"set", ip, "--password", "wrong", "device_name=X"});
        EXPECT_EQ(o.status, 4);
        EXPECT_TRUE(OneErrorLine(o, "-6"));
        o = Vkctl({"show", ip});  // no password and stdin is no terminal: nobody to ask
        EXPECT_EQ(o.status, 4);
        EXPECT_TRUE(OneErrorLine(o, "no terminal"));
    }
    EXPECT_TRUE(ChangeRequests(net).empty());
    // A second-generation device keeps the session of a refused login until it is told to end it.
    const size_t logins = RequestsWithCommand(net, 17);
    EXPECT_EQ(RequestsWithCommandOnceLogged(net, 21, logins), logins);
}

TEST(VkctlLogin, PasswordFromTheOptionOrTheEnvironment) {
    auto device = Make("VKB302", 0);
    device.password = "s3cret";
    vksim::Network net({device});
    Outcome o = Vkctl({"show", "127.0.0.10", "--json", "--password", "s3cret"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(nlohmann::json::parse(o.out)["password"], "********");  // never printed
    o = Vkctl({"set", "127.0.0.10", "device_name=Env"}, {{"VKCTL_PASSWORD", "s3cret"}});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(net.WithDevice(0, [](vksim::Device& d) { return d.name; }), "Env");
    o = Vkctl({"show", "127.0.0.10", "--password", "nope"},
              {{"VKCTL_PASSWORD", "s3cret"}});  // the option wins
    EXPECT_EQ(o.status, 4);
}

TEST(VkctlLogin, TheTerminalIsAskedWhenTheEmptyLoginIsRefused) {
    auto device = Make("VKA100", 0);
    device.password = "typed";
    vksim::Network net({device});
    const TerminalOutcome o = VkctlOnTerminal({"set", "127.0.0.10", "device_name=Asked"},
                                              {{"User name", ""}, {"Password:", "typed"}});
    EXPECT_EQ(o.status, 0) << o.screen;
    EXPECT_NE(o.screen.find("refused the empty login"), std::string::npos) << o.screen;
    EXPECT_EQ(o.screen.find("typed"), std::string::npos) << "the password was echoed:\n" << o.screen;
    // The first generation's read ended the session: the write logged in again with the typed password.
    EXPECT_EQ(net.WithDevice(0, [](vksim::Device& d) { return d.name; }), "Asked");
    size_t typed_logins = 0;
    for (const auto& r : net.Requests())
        typed_logins += std::string(r.bytes.begin(), r.bytes.end()) == "Ltyped|19";
    EXPECT_EQ(typed_logins, 2u);

    const TerminalOutcome wrong =
        VkctlOnTerminal({"show", "127.0.0.10"}, {{"User name", "admin"}, {"Password:", "guess"}});
    EXPECT_EQ(wrong.status, 4) << wrong.screen;
}

TEST(VkctlExitStatus, CommandLineAndNetworkFailuresHaveTheirOwnStatus) {
    Outcome o = Vkctl({});
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(OneErrorLine(o, "subcommand"));
    o = Vkctl({"launch"});
    EXPECT_EQ(o.status, 2);
    o = Vkctl({"search", "--broadcast", "127.255.255"});
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(OneErrorLine(o, "--broadcast"));
    o = Vkctl({"--help"});
    EXPECT_EQ(o.status, 0);
    EXPECT_NE(o.out.find("7  network error"), std::string::npos);

    // A device that answers the search but stops answering its parameter requests.
    auto silent = Make("VKA100", 0);
    silent.faults.ignore_text_sends = 5;
    {
        vksim::Network net({silent});
        o = Vkctl({"show", "127.0.0.10"});
        EXPECT_EQ(o.status, 6);
        EXPECT_TRUE(OneErrorLine(o, "reading the parameters of 127.0.0.10 failed: -3"));
    }

    // A broadcast address the library cannot use, and the library's port held by another program.
    o = Vkctl({"search"}, {{"VKCFG_BROADCAST", "not-an-address"}});
    EXPECT_EQ(o.status, 7);
    EXPECT_TRUE(OneErrorLine(o, "-1"));
    const int holder = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(holder, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(65281);
    at.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(holder, reinterpret_cast<const sockaddr*>(&at), sizeof at), 0);
    o = Vkctl({"search", "--extended"});
    close(holder);
    EXPECT_EQ(o.status, 7);
    EXPECT_TRUE(OneErrorLine(o, "port 65281"));
}
