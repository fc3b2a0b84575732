#include "platform/gfx/geometry.h"

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

TEST(IntegralRectTest, NearEdgesRoundDownAndFarEdgesUp) {
    struct Case {
        AXRect rect;
        AXRect integral;
    } cases[] = {
        {{0, 0, 10, 10}, {0, 0, 10, 10}},
        {{0.5, 0.5, 10, 10}, {0, 0, 11, 11}},
        {{-0.5, -1.25, 2, 2.5}, {-1, -2, 3, 4}},
        {{201.6, 120.25, 1036.8, 682.5}, {201, 120, 1038, 683}},
        {{10, 10, -4.5, 2}, {5, 10, 5, 2}},  // a negative width counts from the far edge
    };
    for (const Case& c : cases) EXPECT_EQ(c.rect.integral(), c.integral);
}

}  // namespace
}  // namespace tallowmere::platform
