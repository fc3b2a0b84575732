#include "mainwindow/horizontal_paging_coordinator.h"

#include <gtest/gtest.h>

#include "platform/ui/event_monitors.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::EventPhase;
using platform::ScreenRect;
using platform::View;
using platform::Window;
using testing::SwipeDirection;
using testing::SwipeOptions;

// Two pages in a shown window, the pointer over it.
class HorizontalPagingTest : public testing::DesktopTest {
protected:
    HorizontalPagingTest() {
        window->setContentView(host);
        window->orderFront();
        for (auto& page : pages) {
            page->setPlacement(platform::Placement::filling());
            host->addSubview(page);
        }
        host->layoutSubtreeIfNeeded();
        coordinator = HorizontalPagingCoordinator::install(host, pages);
        coordinator->onPageChanged = [this](int page) { changes.push_back(page); };
        mouse.moveTo({300, 300});
    }

    // The fingers move by `dx` (right positive) in one event of a swipe in progress.
    void fingers(double dx, double dy = 0, bool natural = true) {
        trackpad.scroll(dx, dy, EventPhase::changed, EventPhase::none, SwipeOptions{.naturalScrolling = natural});
    }
    bool shows(int index) const { return !pages[static_cast<std::size_t>(index)]->isHidden(); }

    std::shared_ptr<Window> window = Window::make(ScreenRect{100, 100, 600, 400}, platform::WindowStyleMask::titled);
    std::shared_ptr<View> host = View::make();
    std::vector<std::shared_ptr<View>> pages{View::make(), View::make()};
    std::shared_ptr<HorizontalPagingCoordinator> coordinator;
    std::vector<int> changes;
};

TEST_F(HorizontalPagingTest, OnlyTheFirstPageShowsAtFirst) {
    EXPECT_TRUE(shows(0));
    EXPECT_FALSE(shows(1));
    EXPECT_EQ(pages[1]->alphaValue(), 0);
    EXPECT_EQ(coordinator->currentPage(), 0);
}

TEST_F(HorizontalPagingTest, ASwipeTurnsThePageOnlyPastThirtyFourPoints) {
    fingers(-34);
    EXPECT_EQ(coordinator->currentPage(), 0) << "exactly 34 points does nothing";
    EXPECT_EQ(coordinator->accumulatedScroll(), 34);
    fingers(-0.5);
    EXPECT_EQ(coordinator->currentPage(), 1);
    EXPECT_EQ(coordinator->accumulatedScroll(), 0);
    EXPECT_EQ(changes, std::vector<int>{1});

    fingers(30);
    fingers(4);
    EXPECT_EQ(coordinator->currentPage(), 1);
    fingers(1);
    EXPECT_EQ(coordinator->currentPage(), 0);
}

TEST_F(HorizontalPagingTest, TheSameFingerMovementTurnsTheSameWayWithEitherScrollingSetting) {
    for (bool natural : {true, false}) {
        SCOPED_TRACE(natural ? "natural scrolling" : "classic scrolling");
        trackpad.swipe(SwipeDirection::left, 60, SwipeOptions{.naturalScrolling = natural});
        EXPECT_EQ(coordinator->currentPage(), 1);
        trackpad.swipe(SwipeDirection::right, 60, SwipeOptions{.naturalScrolling = natural});
        EXPECT_EQ(coordinator->currentPage(), 0);
    }
}

TEST_F(HorizontalPagingTest, OnlyMostlyHorizontalScrollsCount) {
    fingers(-20, 20);
    fingers(-20, 25);
    EXPECT_EQ(coordinator->accumulatedScroll(), 0) << "a diagonal or vertical scroll is the page's own";
    fingers(-20, 19);
    EXPECT_EQ(coordinator->accumulatedScroll(), 20);
}

TEST_F(HorizontalPagingTest, ASlowSwipeThatEndsStartsTheNextOneFromZero) {
    trackpad.swipe(SwipeDirection::left, 30);
    EXPECT_EQ(coordinator->accumulatedScroll(), 0);
    trackpad.swipe(SwipeDirection::left, 30);
    EXPECT_EQ(coordinator->currentPage(), 0);
    EXPECT_TRUE(changes.empty());
}

TEST_F(HorizontalPagingTest, ASwipePastTheLastPageChangesNothing) {
    coordinator->showSecondPage();
    changes.clear();
    fingers(-40);
    EXPECT_EQ(coordinator->currentPage(), 1);
    EXPECT_EQ(coordinator->accumulatedScroll(), 0);
    EXPECT_TRUE(changes.empty());
    coordinator->showThirdPage();
    coordinator->showSecondPage();
    EXPECT_TRUE(changes.empty()) << "no third page, and the second is current";
}

TEST_F(HorizontalPagingTest, ScrollsInAnotherWindowNeverTurnThePage) {
    auto other = Window::make(ScreenRect{800, 100, 300, 300}, platform::WindowStyleMask::titled);
    other->setContentView(View::make());
    other->orderFront();
    mouse.moveTo({900, 200});
    trackpad.swipe(SwipeDirection::left, 80);
    EXPECT_EQ(coordinator->currentPage(), 0);
    EXPECT_EQ(coordinator->accumulatedScroll(), 0);
}

TEST_F(HorizontalPagingTest, PagesCrossFadeOverAThirdOfASecond) {
    coordinator->showSecondPage();
    EXPECT_TRUE(shows(0));
    EXPECT_TRUE(shows(1));
    advance(0.17);
    EXPECT_GT(pages[1]->alphaValue(), 0);
    EXPECT_LT(pages[1]->alphaValue(), 1);
    advance(0.2);
    EXPECT_EQ(pages[1]->alphaValue(), 1);
    EXPECT_EQ(pages[0]->alphaValue(), 0);
    EXPECT_FALSE(shows(0));
}

TEST_F(HorizontalPagingTest, TurningBackDuringAFadeKeepsTheCurrentPageVisible) {
    coordinator->showSecondPage();
    advance(0.1);
    coordinator->showFirstPage();
    advance(1);
    EXPECT_TRUE(shows(0));
    EXPECT_EQ(pages[0]->alphaValue(), 1);
    EXPECT_FALSE(shows(1));
}

TEST_F(HorizontalPagingTest, ASecondCoordinatorOnTheHostReplacesTheFirst) {
    const auto monitors = platform::EventMonitors::shared().localMonitorCount();
    std::weak_ptr<HorizontalPagingCoordinator> first = coordinator;
    coordinator.reset();
    auto second = HorizontalPagingCoordinator::install(host, pages);
    EXPECT_TRUE(first.expired());
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), monitors);
    EXPECT_EQ(HorizontalPagingCoordinator::installedOn(*host), second);

    trackpad.swipe(SwipeDirection::left, 80);
    EXPECT_EQ(second->currentPage(), 1);
    EXPECT_TRUE(changes.empty()) << "the first coordinator no longer turns pages";
}

}  // namespace
}  // namespace tallowmere
