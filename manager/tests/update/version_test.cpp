// Version texts to numbers, and the gate built on them.
#include <gtest/gtest.h>

#include <string>

#include "core/update/version.h"

namespace torvane {
namespace {

TEST(ParseVersion, TakesTheRunOfDigitsAndPointsFromTheFirstDigit) {
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {"V1.20", 1.2},
        {"Ver 2.05b", 2.05},
        {"1.2.3", 0},
        {"no digits", 0},
        {"", 0},
        {"V3", 3},
        {"V1.", 1},
        {std::string("V1.5\0"
                     "9",
                     6),
         1.5},                                          // the text ends at its first zero byte
        {"v12345678901234567890", 1234567890123456.0},  // at most 16 characters of the run
        {"1.10", 1.1},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ParseVersion(c.text), c.expected) << c.text;
}

TEST(VersionGate, RefusesOnlyAnImageThatNeedsANewerDevice) {
    struct Case {
        const char* minimum;
        const char* device;
        bool passes;
    };
    const Case cases[] = {
        {"1.10", "1.1", true},   // both 1.1
        {"1.2", "1.10", false},  // 1.2 > 1.1
        {"V2.0", "V2.0", true},     {"V2.1", "V2.0", false},
        {"1.2.3", "V0.1", true},  // a minimum of 0 fits all
        {"V1.0", "unknown", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VersionGatePasses(c.minimum, c.device), c.passes) << c.minimum << " vs " << c.device;
}

}  // namespace
}  // namespace torvane
