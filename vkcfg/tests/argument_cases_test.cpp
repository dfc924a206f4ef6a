// The argument checks that the Windows test program runs against the DLL, run here against the shared
// object: every case gives its result, and nothing reaches the device whose address the cases use.
#include <gtest/gtest.h>

#include "interface/argument_cases.h"
#include "support/sim_helpers.h"

TEST(ArgumentChecks, BadArgumentsAreRefusedBeforeAnythingIsSent) {
    auto device = vksim::MakeDevice(vktest::Model("VKB200"), 0);
    vksim::Network net({device});
    VkApi api{};
#define VKCFG_LINKED(result, name, params, argc) api.name = &name;
    VKCFG_EXPORTS(VKCFG_LINKED)
#undef VKCFG_LINKED
    EXPECT_EQ(vk_run_argument_cases(&api, vktest::Ip(device).c_str()), 0) << "see the cases printed above";
    EXPECT_TRUE(net.Requests().empty());
}
