// The model family: layout, channels and update variant by model code, and which read blocks belong to
// the model a search reported.
#include <gtest/gtest.h>

#include "core/model_family.h"
#include "vkcfg.h"

namespace torvane {
namespace {

TEST(ModelFamily, LayoutChannelsAndUpdateVariantByModelCode) {
    struct Case {
        uint8_t code;
        std::optional<ParamLayout> layout;
        int channels;
        UpdateVariant variant;
        bool standard;
    };
    const Case cases[] = {
        {VK_MODEL_VKA100, ParamLayout::kFirstGeneration, 1, UpdateVariant::kA, true},
        {VK_MODEL_VKB220, ParamLayout::kFirstGeneration, 1, UpdateVariant::kC, true},
        {VK_MODEL_VKB200, ParamLayout::kSinglePort, 1, UpdateVariant::kB, true},
        {VK_MODEL_VKB304, ParamLayout::kMultiPort, 4, UpdateVariant::kC, false},
        {VK_MODEL_VLC602, ParamLayout::kMultiPort, 3, UpdateVariant::kC, false},
        {VK_MODEL_EXTENDED, ParamLayout::kExtended, 0, UpdateVariant::kC, false},
        {0x35, std::nullopt, 0, UpdateVariant::kC, false},  // high nibble 3, but no such model
        {0x00, std::nullopt, 0, UpdateVariant::kC, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        EXPECT_EQ(LayoutOf(c.code), c.layout);
        EXPECT_EQ(ChannelCount(c.code), c.channels);
        EXPECT_EQ(UpdateVariantFor(c.code), c.variant);
        EXPECT_EQ(IsStandardDevice(c.code), c.standard);
    }
}

TEST(ModelFamily, ABlockOfAnotherLayoutIsNotTaken) {
    EXPECT_TRUE(SameLayout(VK_MODEL_VKA100, VK_MODEL_VKB220));  // both first generation, single-port
    EXPECT_TRUE(SameLayout(VK_MODEL_VKB304, VK_MODEL_VKB304));
    EXPECT_TRUE(SameLayout(VK_MODEL_VKB302, 0x93));              // two channels either way
    EXPECT_FALSE(SameLayout(VK_MODEL_VKB302, VK_MODEL_VKB304));  // fields of channels 2 and 3 would be lost
    EXPECT_FALSE(SameLayout(VK_MODEL_VKB200, VK_MODEL_VKB301));
    EXPECT_FALSE(SameLayout(VK_MODEL_VKB200, 0x00));
    EXPECT_FALSE(SameLayout(0x35, 0x35));
}

}  // namespace
}  // namespace torvane
