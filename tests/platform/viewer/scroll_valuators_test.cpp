#include "platform/viewer/scroll_valuators.h"

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

using Axis = ScrollValuators::Axis;

TEST(ScrollValuatorsTest, ValuesBecomePointsScrolledInTheSenseOfAWheel) {
    ScrollValuators valuators;
    valuators.add(2, Axis::horizontal, 15);
    valuators.add(3, Axis::vertical, -120);  // the sign of an increment says nothing
    struct Case {
        const char* what;
        int number;
        double value;
        double x, y;
    } cases[] = {
        {"the first value only sets the baseline", 3, 1000, 0, 0},
        {"growing values scroll down", 3, 1120, 0, -15},
        {"a quarter notch up", 3, 1090, 0, 3.75},
        {"horizontal baseline", 2, 50, 0, 0},
        {"growing values scroll right", 2, 65, -15, 0},
        {"left", 2, 35, 30, 0},
        {"not a scroll valuator", 0, 500, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(valuators.isScrollValuator(c.number), c.number != 0);
        ScrollValuators::Amount amount;
        valuators.update(c.number, c.value, amount);
        EXPECT_DOUBLE_EQ(amount.x, c.x);
        EXPECT_DOUBLE_EQ(amount.y, c.y);
    }

    // Back from elsewhere: the next value is a new baseline, not a jump.
    valuators.reset();
    ScrollValuators::Amount amount;
    valuators.update(3, 90000, amount);
    EXPECT_EQ(amount.y, 0);
    valuators.update(3, 90015, amount);
    EXPECT_DOUBLE_EQ(amount.y, -1.875);
}

}  // namespace
}  // namespace tallowmere::platform
