#include <gtest/gtest.h>

#include "platform/ui/menu.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

class StatusBarTest : public testing::DesktopTest {
protected:
    StatusBar& bar() { return StatusBar::shared(); }
    // The right edge of the status area on the 1440-point screen.
    const double right = 1440 - StatusBar::systemItemsWidth;
    const double barBottom = 900 - StatusBar::thickness;
};

TEST_F(StatusBarTest, ItemsAreLaidOutRightToLeftInCreationOrder) {
    auto main = bar().statusItem(32);
    auto calendar = bar().statusItem(32);
    auto square = bar().statusItem(StatusItem::squareLength);

    EXPECT_EQ(main->frame(), (ScreenRect{right - 32, barBottom, 32, 24}));
    EXPECT_EQ(calendar->frame(), (ScreenRect{right - 64, barBottom, 32, 24}));
    EXPECT_EQ(square->frame(), (ScreenRect{right - 88, barBottom, 24, 24}));
}

TEST_F(StatusBarTest, HiddenAndRemovedItemsTakeNoRoom) {
    auto first = bar().statusItem(32);
    auto activity = bar().statusItem(1);
    auto web = bar().statusItem(30);
    activity->setVisible(false);

    EXPECT_TRUE(activity->frame().isEmpty());
    EXPECT_EQ(web->frame().maxX(), right - 32);

    activity->setVisible(true);
    activity->setLength(120);
    EXPECT_EQ(activity->frame(), (ScreenRect{right - 152, barBottom, 120, 24}));
    EXPECT_EQ(web->frame().maxX(), right - 152);

    bar().removeStatusItem(first);
    EXPECT_TRUE(first->frame().isEmpty());
    EXPECT_EQ(activity->frame().maxX(), right);
}

TEST_F(StatusBarTest, VariableLengthFollowsTheButtonsContent) {
    auto item = bar().statusItem(StatusItem::variableLength);
    item->button()->setImage(Image::withHandler({18, 18}, [](Canvas&, Rect) { return true; }));
    const double withImage = item->frame().width();
    EXPECT_EQ(withImage, 18 + 2 * StatusBarButton::horizontalPadding);
    item->button()->setTitle("12:30");
    EXPECT_GT(item->frame().width(), withImage);
}

TEST_F(StatusBarTest, ItemWindowIsListedAtTheStatusLevel) {
    auto item = bar().statusItem(32);
    auto info = desktop.windowServer().windowInfo(item->window()->windowNumber());
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->isOnScreen);
    EXPECT_EQ(info->layer, WindowLevel::status);
    EXPECT_EQ(info->bounds, (AXRect{right - 32, 0, 32, 24}));
}

TEST_F(StatusBarTest, ClickSendsTheActionForTheEventsOfItsMask) {
    struct Case {
        const char* name;
        EventMask mask;
        int leftClicks;
        int rightClicks;
    } cases[] = {
        {"default: left mouse up", eventMask(EventType::leftMouseUp), 1, 0},
        {"left and right mouse up", eventMask(EventType::leftMouseUp) | eventMask(EventType::rightMouseUp), 1, 1},
        {"left mouse down", eventMask(EventType::leftMouseDown), 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto item = bar().statusItem(32);
        int left = 0, right = 0;
        item->button()->sendActionOn(c.mask);
        item->button()->onAction = [&](Control&) {
            const auto* event = application.currentEvent();
            ASSERT_NE(event, nullptr);
            (event->buttonNumber == 1 ? right : left)++;
        };
        menuBar.click(*item);
        menuBar.rightClick(*item);
        EXPECT_EQ(left, c.leftClicks);
        EXPECT_EQ(right, c.rightClicks);
        bar().removeStatusItem(item);
    }
}

TEST_F(StatusBarTest, DisabledButtonSendsNothing) {
    auto item = bar().statusItem(32);
    int clicks = 0;
    item->button()->onAction = [&](Control&) { ++clicks; };
    item->button()->setEnabled(false);
    menuBar.click(*item);
    EXPECT_EQ(clicks, 0);
}

TEST_F(StatusBarTest, ItemWithAMenuOpensItBelowTheItem) {
    auto item = bar().statusItem(32);
    int actions = 0;
    item->button()->onAction = [&](Control&) { ++actions; };
    auto menu = Menu::make("Status");
    menu->addItem("Quit");
    item->setMenu(menu);

    menuBar.click(*item);
    ASSERT_TRUE(menus.isOpen());
    EXPECT_EQ(actions, 0);
    const auto* layout = MenuTracker::shared().layoutOf(*menu);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->frame.minX(), item->frame().minX());
    EXPECT_EQ(layout->frame.maxY(), item->frame().minY());
}

TEST_F(StatusBarTest, ItemsAreTraced) {
    auto item = bar().statusItem(32);
    item->setAutosaveName("Tallowmere.MainIndependent");
    item->setVisible(false);
    bar().removeStatusItem(item);
    const auto& lines = uiTrace();
    auto has = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text) != lines.end(); };
    EXPECT_TRUE(has("status item \"Tallowmere.MainIndependent\" hidden"));
    EXPECT_TRUE(has("status item \"Tallowmere.MainIndependent\" removed"));
}

}  // namespace
}  // namespace tallowmere::platform

namespace tallowmere::platform {
namespace {

// Other applications' items share the status area: a Command-drag moves any
// item, the program's windows follow, and what is pushed past the left end
// of the menu bar is neither drawn nor clickable.
TEST_F(StatusBarTest, OtherApplicationsItemsShareTheAreaAndMoveWithACommandDrag) {
    auto& area = desktop.statusArea();
    const int clock = area.addOtherItem({"com.example.clock", "9:41", 40});
    auto own = bar().statusItem(30);
    EXPECT_EQ(own->frame(), (ScreenRect{right - 70, barBottom, 30, 24})) << "a new item goes left of those there";
    EXPECT_EQ(area.frameOf(clock), (ScreenRect{right - 40, barBottom, 40, 24}));

    // The program's item dragged right of the clock, with Command held.
    mouse.modifiers = ModifierFlags{ModifierFlags::command};
    mouse.drag(own->frame().center(), {right - 5, barBottom + 12});
    mouse.modifiers = {};
    EXPECT_EQ(own->frame(), (ScreenRect{right - 30, barBottom, 30, 24}));
    EXPECT_EQ(area.frameOf(clock), (ScreenRect{right - 70, barBottom, 40, 24}));
    EXPECT_EQ(area.clickCount(clock), 0) << "the drag was taken for a click";

    // A plain click reaches the other application's item, not the program.
    int actions = 0;
    own->button()->onAction = [&](Control&) { ++actions; };
    menuBar.clickAt(area.frameOf(clock).center());
    EXPECT_EQ(area.clickCount(clock), 1);
    menuBar.click(*own);
    EXPECT_EQ(actions, 1);

    // A very long item pushes the items to its left off the menu bar.
    auto wide = bar().statusItem(20);
    const int pushed = area.addOtherItem({"com.example.vpn", "VPN", 30});
    const ScreenPoint pushedAt = area.frameOf(pushed).center();
    wide->setLength(5000);
    EXPECT_TRUE(area.frameOf(pushed).isEmpty());
    EXPECT_NE(area.itemAt(pushedAt), std::optional<int>(pushed)) << "the long item itself lies there now";
    menuBar.clickAt(pushedAt);
    EXPECT_EQ(area.clickCount(pushed), 0);
    EXPECT_FALSE(wide->frame().isEmpty()) << "the long item itself still starts in the menu bar";
    auto beyond = bar().statusItem(24);
    EXPECT_TRUE(beyond->frame().isEmpty());
    EXPECT_FALSE(beyond->window()->isVisible());
    wide->setLength(20);
    EXPECT_FALSE(area.frameOf(pushed).isEmpty());
    EXPECT_TRUE(beyond->window()->isVisible());
}

}  // namespace
}  // namespace tallowmere::platform
