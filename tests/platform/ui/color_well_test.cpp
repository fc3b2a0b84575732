#include "platform/ui/color_well.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class ColorWellTest : public testing::TallowmereTest {};

TEST_F(ColorWellTest, TheClickedWellAloneTakesThePanelsColour) {
    auto root = View::make({0, 0, 200, 50});
    testing::ViewDriver driver(root);
    auto outline = ColorWell::make(Color::black());
    auto fill = ColorWell::make(Color::white());
    outline->setFrame({0, 0, 44, 23});
    fill->setFrame({60, 0, 44, 23});
    root->addSubview(outline);
    root->addSubview(fill);
    int actions = 0;
    outline->onAction = [&](Control&) { ++actions; };

    EXPECT_FALSE(ColorWell::deliverPanelColor(Color::system(SystemColor::red))) << "no well is active yet";
    driver.click(*fill);
    driver.click(*outline);
    EXPECT_FALSE(fill->isActive()) << "activation is exclusive";
    EXPECT_TRUE(ColorWell::deliverPanelColor(Color::system(SystemColor::red)));
    EXPECT_EQ(outline->color(), Color::system(SystemColor::red));
    EXPECT_EQ(fill->color(), Color::white());
    EXPECT_EQ(actions, 1);

    outline->deactivate();
    outline->setEnabled(false);
    driver.click(*outline);
    EXPECT_FALSE(outline->isActive()) << "a disabled well does not open the panel";
}

}  // namespace
}  // namespace tallowmere::platform
