#include "mainwindow/horizontal_paging_coordinator.h"

#include <gtest/gtest.h>

#include "platform/gfx/canvas.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/screen_painter.h"
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

// A swatch that counts how often it is asked to draw.
class CountingSwatch : public View {
public:
    static std::shared_ptr<CountingSwatch> make() { return std::shared_ptr<CountingSwatch>(new CountingSwatch()); }
    void draw(platform::Canvas& canvas, platform::Rect) override {
        ++draws;
        canvas.setFillColor(color);
        canvas.fillRect(bounds());
    }
    void setColor(platform::Color newColor) {
        color = newColor;
        setNeedsDisplay();
    }
    int draws = 0;
    platform::Color color = platform::Color::sRGB(0.1, 0.3, 0.9);

private:
    CountingSwatch() : View({40, 40, 200, 120}) {}
};

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

// A fade changes only the pages' alpha: their content is drawn once for
// all its frames, yet a change in a page during the fade shows at once.
TEST_F(HorizontalPagingTest, AFadeDrawsThePagesOnceAndShowsTheirChanges) {
    std::shared_ptr<CountingSwatch> swatches[] = {CountingSwatch::make(), CountingSwatch::make()};
    for (int i = 0; i < 2; ++i) pages[static_cast<std::size_t>(i)]->addSubview(swatches[i]);
    auto made = platform::ScreenPainter::make(desktop.screens().primaryScreen(), 2);
    ASSERT_TRUE(made);
    auto& painter = **made;
    painter.update();
    const int drawnBefore = swatches[0]->draws;

    coordinator->showSecondPage();
    for (int frame = 0; frame < 6; ++frame) {
        advance(1.0 / 60);
        painter.update();
    }
    ASSERT_LT(pages[1]->alphaValue(), 1) << "the fade is still running";
    EXPECT_EQ(swatches[0]->draws, drawnBefore + 1);
    EXPECT_EQ(swatches[1]->draws, 1);

    swatches[0]->setColor(platform::Color::sRGB(0.9, 0.5, 0.1));
    advance(1.0 / 60);
    painter.update();
    auto fresh = platform::ScreenPainter::make(desktop.screens().primaryScreen(), 2);
    ASSERT_TRUE(fresh);
    (*fresh)->update();
    EXPECT_TRUE(painter.bitmap() == (*fresh)->bitmap()) << "the first page still shows its old colour";
}

}  // namespace
}  // namespace tallowmere
