#include "app/main_window_placement.h"
#include "app_delegate_fixture.h"
#include "platform/desktop/screen.h"

namespace tallowmere::testing {
namespace {

using platform::ActivationPolicy;
using platform::ScreenRect;
using platform::ScreenSpec;

// --- The Finder-launch check ----------------------------------------------------------

struct LaunchCase {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> urlsBeforeFirstTurn;
    bool opensMainWindow;
};

void PrintTo(const LaunchCase& c, std::ostream* out) { *out << c.name; }

class FinderLaunchCheckTest : public AppDelegateTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(FinderLaunchCheckTest, OpensTheMainWindowOnlyForAnOrdinaryStart) {
    const LaunchCase& c = GetParam();
    // URLs that arrive while launching are handed over right after it,
    // before the main queue's next turn.
    if (!c.urlsBeforeFirstTurn.empty()) application.receiveURLOpenEvent(c.urlsBeforeFirstTurn);
    launch(c.arguments);
    runUntilIdle();

    EXPECT_EQ(mainWindowIsShown(), c.opensMainWindow);
    EXPECT_EQ(application.activationPolicy(),
              c.opensMainWindow ? ActivationPolicy::regular : ActivationPolicy::accessory);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, FinderLaunchCheckTest,
    ::testing::Values(
        LaunchCase{"ordinary", {}, {}, true},
        LaunchCase{"forFinderAction", {"--finder-action"}, {}, false},
        LaunchCase{"finderActionAmongOthers", {"-psn_0_1", "--finder-action"}, {}, false},
        LaunchCase{"argumentOnlyResemblingIt", {"--finder-action=1"}, {}, true},
        LaunchCase{"acceptedRequest", {}, {"tallowmere-finder://terminal?directory=/tmp"}, false},
        LaunchCase{"otherScheme", {}, {"https://example.com/terminal"}, true},
        LaunchCase{"unknownAction", {}, {"tallowmere-finder://format?directory=/tmp"}, true},
        LaunchCase{"noHost", {}, {"tallowmere-finder:terminal?directory=/tmp"}, true},
        LaunchCase{"notAUrl", {}, {"tallowmere-finder://terminal?directory=\x01"}, true}),
    [](const ::testing::TestParamInfo<LaunchCase>& info) { return std::string(info.param.name); });

TEST_F(AppDelegateTest, LaunchCheckDoesNothingOnceTheDelegateIsGone) {
    launch();
    application.setDelegate({});
    delegate_.reset();

    runUntilIdle();

    EXPECT_EQ(application.activationPolicy(), ActivationPolicy::accessory) << "no main window was shown";
}

// --- Reopen -----------------------------------------------------------------------------------

class MainWindowHandOffTest : public AppDelegateTest {};

TEST_F(MainWindowHandOffTest, ReopenOfAUrlOpenEventShowsNoMainWindow) {
    launch({"--finder-action"});
    runUntilIdle();

    // A URL the bridge ignores: only the event's kind keeps the window closed.
    application.receiveURLOpenEvent({"https://example.com"});
    EXPECT_FALSE(mainWindowIsShown());

    EXPECT_TRUE(application.receiveReopenEvent());
    EXPECT_TRUE(mainWindowIsShown());
    EXPECT_EQ(application.activationPolicy(), ActivationPolicy::regular);
}

TEST_F(MainWindowHandOffTest, ReopenBringsBackAMinimisedOrLoweredWindow) {
    launch();
    runUntilIdle();
    auto window = mainWindow();
    ASSERT_TRUE(window);
    window->setLevel(platform::WindowLevel::floating);
    window->miniaturize();

    EXPECT_TRUE(application.receiveReopenEvent());

    EXPECT_FALSE(window->isMiniaturized());
    EXPECT_EQ(window->level(), platform::WindowLevel::normal);
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(mainWindow(), window) << "the same window comes back, it is never made twice";
}

// --- Size and place -----------------------------------------------------------------------

class MainWindowPlacementTest : public AppDelegateTest {
protected:
    void SetUp() override {
        launch({"--finder-action"});
        runUntilIdle();
    }

    std::shared_ptr<platform::Screen> addScreen(ScreenRect frame) {
        
        return setup.addScreen(ScreenSpec{.frame = frame, .isBuiltIn = false});
    }

    ScreenRect showAt(platform::ScreenPoint mouse) {
        desktop.input().warpMouse(mouse);
        delegate().showMainWindow();
        advance(1);  // the move is animated
        return mainWindow()->frame();
    }
};

TEST_F(MainWindowPlacementTest, NewWindowIsMadeOnceWithoutBeingShown) {
    auto controller = delegate().ensureMainWindowController();
    ASSERT_EQ(delegate().ensureMainWindowController(), controller);
    auto window = controller->window();
    ASSERT_TRUE(window);

    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->title(), "塔洛梅百宝箱");
    using Style = platform::WindowStyleMask;
    for (auto style : {Style::titled, Style::closable, Style::miniaturizable, Style::resizable,
                       Style::fullSizeContentView}) {
        EXPECT_TRUE(window->styleMask().contains(style)) << "style bit " << style;
    }
    using Behavior = platform::WindowCollectionBehavior;
    EXPECT_EQ(window->collectionBehavior().rawValue, Behavior::moveToActiveSpace | Behavior::fullScreenPrimary)
        << "the window follows the person to their current space and can go full screen";
    EXPECT_EQ(window->minSize().width, 580);
    EXPECT_EQ(window->minSize().height, 1);
    EXPECT_FALSE(window->isReleasedWhenClosed) << "closing only hides it; the next showing re-shows the same window";
}

TEST_F(MainWindowPlacementTest, NewWindowFillsTheScreenUpToItsLargestSize) {
    const ScreenRect frame = showAt({720, 450});
    const ScreenRect visible = desktop.screens().primaryScreen()->visibleFrame();

    EXPECT_EQ(frame.width(), 1400) << "1440 less 20 points each side";
    EXPECT_EQ(frame.height(), std::min(visible.height() - 40, 840.0));
    EXPECT_EQ(frame.midX(), visible.midX());
    EXPECT_EQ(frame.midY(), visible.midY());
    EXPECT_TRUE(mainWindow()->isKeyWindow());
}

TEST_F(MainWindowPlacementTest, OpensCentredOnTheScreenUnderThePointer) {
    auto second = addScreen({1440, 0, 1920, 1080});
    ASSERT_TRUE(second);

    const ScreenRect frame = showAt({2000, 500});

    EXPECT_EQ(frame.midX(), second->visibleFrame().midX());
    EXPECT_EQ(frame.midY(), second->visibleFrame().midY());
}

TEST_F(MainWindowPlacementTest, ShrinksToASmallScreenAndKeepsItsSizeWhenShownAgain) {
    auto small = addScreen({1440, 0, 800, 600});
    ASSERT_TRUE(small);

    const ScreenRect onSmall = showAt({1500, 300});
    EXPECT_EQ(onSmall.width(), small->visibleFrame().width() - 40);
    EXPECT_EQ(onSmall.height(), small->visibleFrame().height() - 40);

    mainWindow()->setFrame({100, 100, 300, 500});
    mainWindow()->close();
    const ScreenRect again = showAt({720, 450});
    EXPECT_EQ(again.width(), 580) << "never narrower than the window's minimum width";
    EXPECT_EQ(again.height(), 500);
    EXPECT_EQ(again.midX(), desktop.screens().primaryScreen()->visibleFrame().midX());
    EXPECT_TRUE(mainWindowIsShown());
}

// --- The placement rules --------------------------------------------------------------------

std::shared_ptr<platform::Screen> screen(ScreenRect frame) {
    return std::make_shared<platform::Screen>(ScreenSpec{.frame = frame});
}

TEST(MainWindowPlacementRules, TargetScreenFallsBackInOrder) {
    auto left = screen({0, 0, 1000, 800});
    auto wide = screen({1000, 0, 1600, 800});
    auto alsoWide = screen({2600, 0, 1600, 800});
    const std::vector<std::shared_ptr<platform::Screen>> screens{left, wide, alsoWide};
    const platform::ScreenPoint outside{-500, -500};

    struct Case {
        const char* name;
        platform::ScreenPoint mouse;
        std::shared_ptr<platform::Screen> windowScreen;
        std::shared_ptr<platform::Screen> mainScreen;
        std::shared_ptr<platform::Screen> expected;
    } cases[] = {
        {"under the pointer", {1200, 400}, left, left, wide},
        {"on the edge two screens share", {1000, 400}, left, left, wide},
        {"the window's own", outside, alsoWide, left, alsoWide},
        {"the main screen", outside, nullptr, left, left},
        {"the first of the widest", outside, nullptr, nullptr, wide},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MainWindowPlacement::targetScreen(c.mouse, c.windowScreen, c.mainScreen, screens), c.expected);
    }
    EXPECT_FALSE(MainWindowPlacement::targetScreen(outside, nullptr, nullptr, {}));
}

TEST(MainWindowPlacementRules, NewWindowRoom) {
    auto main = screen({0, 0, 1280, 800});
    auto other = screen({1280, 0, 1920, 1080});
    EXPECT_EQ(MainWindowPlacement::initialVisibleFrame(main, {other, main}), main->visibleFrame());
    EXPECT_EQ(MainWindowPlacement::initialVisibleFrame(nullptr, {other, main}), other->visibleFrame());
    EXPECT_EQ(MainWindowPlacement::initialVisibleFrame(nullptr, {}), (ScreenRect{0, 0, 1440, 900}));

    struct Case {
        double fitting;
        std::optional<double> screenHeight;
        double expected;
    } cases[] = {
        {600.2, 900, 641},   // rounded up, plus 40
        {2000, 900, 860},    // the screen less 40
        {600, std::nullopt, 600},  // the desired height stands in for the screen's
        {100, 20, 1},        // a sliver of a screen still leaves a window
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fitting);
        EXPECT_EQ(MainWindowPlacement::fittedContentHeight(c.fitting, c.screenHeight), c.expected);
    }
}

}  // namespace
}  // namespace tallowmere::testing
