#include "platform/system/system_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using SystemLogTest = testing::TallowmereTest;

TEST_F(SystemLogTest, EachCallIsOneLineInTheContextsSink) {
    SystemLog::shared().log("Unable to persist configuration: The disk is full.");
    SystemLog::shared().log("Default input source selection failed: -50\nsecond line\n");
    const std::vector<std::string> expected{
        "Unable to persist configuration: The disk is full.",
        "Default input source selection failed: -50 second line",
    };
    EXPECT_EQ(SystemLog::shared().lines(), expected);

    AppContext fresh({.deterministic = true});
    EXPECT_TRUE(SystemLog::shared().lines().empty()) << "a fresh context starts with an empty sink";
}

}  // namespace
}  // namespace tallowmere::platform
