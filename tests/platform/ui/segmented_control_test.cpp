#include "platform/ui/segmented_control.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class SegmentedControlTest : public testing::TallowmereTest {};

TEST_F(SegmentedControlTest, ClicksSelectByTrackingMode) {
    struct Case {
        const char* what;
        SegmentTrackingMode mode;
        std::vector<int> clicks;
        std::optional<int> selectedDuringLastAction;
        std::vector<bool> selectedAfter;
    } cases[] = {
        {"select one", SegmentTrackingMode::selectOne, {0, 2}, 2, {false, false, true}},
        {"select any toggles", SegmentTrackingMode::selectAny, {0, 2, 0}, 2, {false, false, true}},
        {"momentary keeps nothing", SegmentTrackingMode::momentary, {1}, 1, {false, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto root = View::make({0, 0, 300, 40});
        testing::ViewDriver driver(root);
        auto control = SegmentedControl::make({"Edge", "Chrome", "Globe"}, c.mode);
        control->setFrame({0, 0, 300, 22});
        root->addSubview(control);
        std::vector<std::optional<int>> seen;
        control->onAction = [&](Control&) { seen.push_back(control->selectedSegment()); };

        for (int segment : c.clicks) {
            const Point inside = control->convertToWindow({segment * 100.0 + 50, 11});
            ASSERT_EQ(control->segmentAt({segment * 100.0 + 50, 11}), segment);
            driver.click(inside);
        }
        ASSERT_EQ(seen.size(), c.clicks.size()) << "one action per click";
        EXPECT_EQ(seen.back(), c.selectedDuringLastAction);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(control->isSelected(i), c.selectedAfter[i]) << "segment " << i;
    }
}

TEST_F(SegmentedControlTest, DisabledSegmentsAndCodeChangesSendNothing) {
    auto control = SegmentedControl::make({"A", "B"});
    int actions = 0;
    control->onAction = [&](Control&) { ++actions; };
    control->setSelectedSegment(1);
    control->setEnabled(false, 0);
    control->performClick(0);
    EXPECT_EQ(control->selectedSegment(), 1);
    control->setSelectedSegment(5);
    EXPECT_EQ(control->selectedSegment(), std::nullopt) << "an index outside the control clears the selection";
    EXPECT_EQ(actions, 0);

    control->setWidth(48, 0);
    control->setWidth(48, 1);
    EXPECT_EQ(control->intrinsicContentSize().width, 96);
}

}  // namespace
}  // namespace tallowmere::platform
