// vkctl against devices whose answers are too short for their frames: the program reports the refusal,
// ends the device's session and exits with its status for a refused request, never with a signal.
#include <gtest/gtest.h>

#include "support/vkctl_runner.h"

using namespace vkctltest;

TEST(VkctlHostileDevice, ShowOfAReadAnswerCutShortReportsItAndLogsOut) {
    for (int cut : {11, 12, 13, 100}) {
        SCOPED_TRACE("read answer of " + std::to_string(cut) + " bytes");
        auto device = Make("VKB304", 0);
        device.faults.cut = cut;
        vksim::Network net({device});
        Outcome o = Vkctl({"show", "127.0.0.10"});
        EXPECT_EQ(o.status, 5);
        EXPECT_TRUE(OneErrorLine(o, "-2"));
        EXPECT_EQ(RequestsWithCommand(net, 11), 1u);
        EXPECT_EQ(RequestsWithCommandOnceLogged(net, 21, 1), 1u);  // the session is ended all the same
    }
}
