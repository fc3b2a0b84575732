#include "platform/ui/text_view.h"

#include <gtest/gtest.h>

#include "platform/ui/scroll_view.h"
#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class TextViewTest : public testing::TallowmereTest {
protected:
    std::shared_ptr<View> root = View::make({0, 0, 300, 200});
    testing::ViewDriver driver{root};
    std::shared_ptr<TextView> text = TextView::make({0, 0, 300, 200});
    int changes = 0, ends = 0;

    void SetUp() override {
        text->onTextDidChange = [this](TextView&) { ++changes; };
        text->onTextDidEndEditing = [this](TextView&) { ++ends; };
        root->addSubview(text);
    }
};

TEST_F(TextViewTest, TypingEditsLinesAndReportsEachChange) {
    text->setString("127.0.0.1 localhost");
    driver.click(*text);
    driver.key(KeyCode::returnKey, "\r");
    driver.type("# block");
    driver.key(KeyCode::tab, "\t");
    EXPECT_EQ(text->string(), "127.0.0.1 localhost\n# block\t");
    EXPECT_EQ(changes, 9);

    text->setSelectedRange({0, 9});
    text->insertText("::1");
    EXPECT_EQ(text->string(), "::1 localhost\n# block\t");
    driver.router().makeFirstResponder(nullptr);
    EXPECT_EQ(ends, 1);
}

TEST_F(TextViewTest, AReadOnlyViewIgnoresTypingAndGrowsWithItsText) {
    text->setEditable(false);
    driver.click(*text);
    driver.type("x");
    text->insertText("y");
    EXPECT_EQ(text->string(), "");
    EXPECT_EQ(changes, 0);

    text->setString("one\ntwo\nthree");
    text->setTextContainerInset({5, 5});
    const double threeLines = text->fittingHeightForWidth(300);
    text->setString("one");
    EXPECT_GT(threeLines, text->fittingHeightForWidth(300));
}

}  // namespace
}  // namespace tallowmere::platform
