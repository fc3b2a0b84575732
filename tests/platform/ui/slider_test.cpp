#include "platform/ui/slider.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class SliderTest : public testing::TallowmereTest {
protected:
    std::shared_ptr<View> root = View::make({0, 0, 200, 40});
    testing::ViewDriver driver{root};
    std::shared_ptr<Slider> slider = Slider::make(0.5, 0, 1);
    std::vector<double> values;

    void SetUp() override {
        slider->setFrame({0, 0, 116, 20});  // a 100-point track between 8-point knob halves
        slider->onAction = [this](Control&) { values.push_back(slider->doubleValue()); };
        root->addSubview(slider);
    }
};

TEST_F(SliderTest, DraggingTheKnobSetsTheValueAlongTheTrack) {
    driver.press({8, 10});
    driver.dragTo({58, 10});
    driver.dragTo({500, 10});
    driver.release({500, 10});
    EXPECT_EQ(values, (std::vector<double>{0, 0.5, 1})) << "continuous: one action per change, clamped at the end";

    slider->setContinuous(false);
    values.clear();
    driver.press({33, 10});
    driver.dragTo({83, 10});
    driver.release({83, 10});
    EXPECT_EQ(values, std::vector<double>{0.75}) << "not continuous: one action when let go";
}

TEST_F(SliderTest, ValuesStayInRangeAndSnapToTickMarks) {
    struct Case {
        double min, max, set;
        int ticks;
        double expected;
    } cases[] = {
        {0, 1, 2, 0, 1},
        {0, 1, -1, 0, 0},
        {10, 0, 4, 0, 4},  // a backwards range is turned round
        {0, 100, 37, 5, 25},
        {0, 1, std::nan(""), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        auto s = Slider::make(0, c.min, c.max);
        s->setNumberOfTickMarks(c.ticks);
        s->allowsTickMarkValuesOnly = c.ticks > 0;
        s->setDoubleValue(c.set);
        EXPECT_DOUBLE_EQ(s->doubleValue(), c.expected);
    }
    EXPECT_TRUE(values.empty());
}

}  // namespace
}  // namespace tallowmere::platform
