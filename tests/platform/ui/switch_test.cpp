#include "platform/ui/switch.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class SwitchTest : public testing::TallowmereTest {
protected:
    std::shared_ptr<View> root = View::make({0, 0, 100, 50});
    testing::ViewDriver driver{root};
    std::shared_ptr<Switch> toggle = Switch::make();
    int actions = 0;

    void SetUp() override {
        toggle->setFrame({10, 10, 38, 22});
        toggle->onAction = [this](Control&) { ++actions; };
        root->addSubview(toggle);
    }
};

TEST_F(SwitchTest, AClickOrTheSpaceBarTogglesItAndSendsOneAction) {
    driver.click(*toggle);
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(actions, 1);

    EXPECT_EQ(driver.router().firstResponder(), toggle) << "the click gave it the keys";
    driver.key(KeyCode::space, " ");
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(actions, 2);
}

TEST_F(SwitchTest, SettingTheStateInCodeSendsNothingAndADisabledSwitchStaysPut) {
    toggle->setOn(true);
    toggle->setState(ControlState::mixed);
    EXPECT_TRUE(toggle->isOn()) << "a switch has no mixed state";
    EXPECT_EQ(actions, 0);

    toggle->setEnabled(false);
    driver.click(*toggle);
    toggle->performClick();
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(actions, 0);
}

}  // namespace
}  // namespace tallowmere::platform
