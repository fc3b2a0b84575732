#include "platform/ui/combo_box.h"

#include <gtest/gtest.h>

#include "support/desktop/desktop_fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class ComboBoxTest : public testing::DesktopTest {};

TEST_F(ComboBoxTest, PickingFromTheListSetsTheTextAndTypingLeavesTheList) {
    auto root = View::make({0, 0, 200, 50});
    testing::ViewDriver driver(root);
    auto sizes = ComboBox::make({"48", "64", "80"});
    sizes->setFrame({0, 0, 72, 22});
    root->addSubview(sizes);
    int picks = 0;
    sizes->onSelectionDidChange = [&](ComboBox&) { ++picks; };

    driver.click(sizes->convertToWindow(sizes->arrowRect().center()));
    ASSERT_TRUE(menus.isOpen());
    menus.choose("64");
    EXPECT_EQ(sizes->stringValue(), "64");
    EXPECT_EQ(sizes->indexOfSelectedItem(), 1u);
    EXPECT_EQ(picks, 1);

    driver.click(sizes->convertToWindow({10, 11}));
    driver.type("72");
    EXPECT_EQ(sizes->stringValue(), "72");
    EXPECT_EQ(sizes->indexOfSelectedItem(), std::nullopt) << "typed text is not a list item";
}

}  // namespace
}  // namespace tallowmere::platform
