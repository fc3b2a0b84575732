#include "platform/ui/pop_up_button.h"

#include <gtest/gtest.h>

#include "platform/gfx/recording_canvas.h"
#include "support/desktop/desktop_fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class PopUpButtonTest : public testing::DesktopTest {
protected:
    std::shared_ptr<View> root = View::make({0, 0, 300, 100});
    testing::ViewDriver driver{root};
    std::shared_ptr<PopUpButton> themes = PopUpButton::make();
    std::vector<std::optional<std::size_t>> actions;

    void SetUp() override {
        themes->addItems({"System", "Light", "Dark"});
        themes->setFrame({10, 10, 120, 22});
        themes->onAction = [this](Control& sender) {
            actions.push_back(static_cast<PopUpButton&>(sender).indexOfSelectedItem());
        };
        root->addSubview(themes);
    }
};

TEST_F(PopUpButtonTest, ChoosingAnItemSelectsItAndRunsTheActionOnce) {
    EXPECT_EQ(themes->indexOfSelectedItem(), 0u) << "a pop-up shows its first item at first";

    driver.click(*themes);
    ASSERT_TRUE(menus.isOpen());
    EXPECT_EQ(menus.itemTitles(), (std::vector<std::string>{"System", "Light", "Dark"}));
    menus.choose("Dark");

    EXPECT_EQ(themes->indexOfSelectedItem(), 2u);
    EXPECT_EQ(themes->titleOfSelectedItem(), "Dark");
    EXPECT_EQ(actions, (std::vector<std::optional<std::size_t>>{2u}));
    EXPECT_EQ(themes->item(2)->state(), MenuItemState::on);
    EXPECT_EQ(themes->item(0)->state(), MenuItemState::off);

    driver.click(*themes);
    menus.dismiss();
    EXPECT_EQ(actions.size(), 1u) << "closing the list without a choice changes nothing";
    EXPECT_EQ(themes->indexOfSelectedItem(), 2u);
}

TEST_F(PopUpButtonTest, SelectionInCodeSendsNothingAndSurvivesEdits) {
    themes->selectItemWithTitle("Light");
    EXPECT_EQ(themes->indexOfSelectedItem(), 1u);
    themes->lastItem()->setRepresentedObject(std::string("dark-id"));
    EXPECT_EQ(themes->indexOfItemWithRepresentedObject(std::string("dark-id")), 2u);

    themes->removeItem(1);
    EXPECT_EQ(themes->indexOfSelectedItem(), 0u) << "removing the chosen item falls back to the first";
    themes->selectItem(std::optional<std::size_t>(7));
    EXPECT_EQ(themes->indexOfSelectedItem(), std::nullopt);
    themes->removeAllItems();
    EXPECT_EQ(themes->titleOfSelectedItem(), "");
    EXPECT_TRUE(actions.empty());
}

TEST_F(PopUpButtonTest, ADisabledPopUpDoesNotOpenAndAPullDownKeepsItsTitle) {
    themes->setEnabled(false);
    driver.click(*themes);
    EXPECT_FALSE(menus.isOpen());

    auto more = PopUpButton::make(true);
    more->addItems({"More", "Copy", "Paste"});
    more->setFrame({150, 10, 100, 22});
    root->addSubview(more);
    driver.click(*more);
    menus.choose("Paste");
    EXPECT_EQ(more->displayedTitle(), "More");
    EXPECT_EQ(more->indexOfSelectedItem(), 2u);

    RecordingCanvas canvas({300, 100});
    root->display(canvas);
    EXPECT_EQ(canvas.drawnTexts(), (std::vector<std::string>{"System", "More"}));
}

}  // namespace
}  // namespace tallowmere::platform
