#include "windows/input_controller.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "localization/interface_language.h"
#include "platform/base/format.h"
#include "platform/base/text.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/event_monitors.h"
#include "quicklaunch/quick_launch_panel.h"
#include "selection/selvane_exclusions.h"
#include "selection/selvane_selection_bar.h"
#include "support/desktop/desktop_fixture.h"
#include "windows/dial_geometry.h"
#include "support/geometry_printing.h"
#include "windows/mouse_snap_palette.h"
#include "windows/screen_geometry.h"
#include "windows/snap_engine.h"
#include "windows/snap_preview_overlay.h"
#include "windows/swipe_classifier.h"

namespace tallowmere {
namespace {

using platform::AXRect;
using platform::EventPhase;
using platform::ScreenPoint;
using testing::SwipeDirection;
using testing::SwipeOptions;

// The placements on the fixture's 1440 × 900 screen, whose visible frame
// is (0, 24) 1440 × 876 in Accessibility space.
constexpr AXRect topHalf{0, 24, 1440, 438};
constexpr AXRect bottomHalf{0, 462, 1440, 438};
constexpr AXRect leftHalf{0, 24, 720, 876};
constexpr AXRect rightHalf{720, 24, 720, 876};
constexpr AXRect topLeftQuarter{0, 24, 720, 438};
constexpr AXRect topRightQuarter{720, 24, 720, 438};
constexpr AXRect bottomLeftQuarter{0, 462, 720, 438};
constexpr AXRect bottomRightQuarter{720, 462, 720, 438};
constexpr AXRect wholeScreen{0, 24, 1440, 876};
constexpr AXRect editorFrame{200, 150, 600, 400};

// A person at the Mac with the input controller switched on as the main
// window hands it over, and another application's window in front.
class InputControllerTest : public testing::DesktopTest {
protected:
    InputControllerTest() {
        setup.grantAccessibility();
        // The person does not act in the first moments after start-up.
        advance(2);
        controller = InputController::make(std::make_shared<SnapEngine>(), nullptr, bar);
        controller->onAction = [this](const std::string& text) { actions.push_back(text); };
        controller->gestureEnabled = true;
        controller->mouseEnabled = true;
        controller->quickLaunchEnabled = true;
        controller->updateGestureMonitor();
        controller->updateMouseMonitor();
        editor = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                      {.title = "Notes", .frame = editorFrame});
    }

    // Puts the pointer on the editor's title bar, 10 pt below its top.
    void pointAtTitleBar() { mouse.moveTo(mouse.titleBarPoint(*editor)); }
    std::size_t actionCount(const std::string& text) const {
        return static_cast<std::size_t>(std::count(actions.begin(), actions.end(), text));
    }
    bool quickLaunchShown() { return controller->quickLaunchPanel().panel()->isVisible(); }

    std::shared_ptr<SelvaneSelectionBar> bar = std::make_shared<SelvaneSelectionBar>();
    std::shared_ptr<InputController> controller;
    std::vector<std::string> actions;
    std::shared_ptr<platform::SimulatedWindow> editor;
};

// --- Switches and monitors -------------------------------------------------------------

TEST_F(InputControllerTest, MonitorsFollowTheSwitchesAndAreNeverDoubled) {
    auto& monitors = platform::EventMonitors::shared();
    // Gesture monitor and the global mouse monitor; the local one beside.
    EXPECT_EQ(monitors.globalMonitorCount(), 2u);
    EXPECT_EQ(monitors.localMonitorCount(), 1u);
    controller->updateGestureMonitor();
    controller->updateMouseMonitor();
    EXPECT_EQ(monitors.globalMonitorCount(), 2u) << "re-installing removes first";
    EXPECT_EQ(monitors.localMonitorCount(), 1u);

    controller->mouseEnabled = controller->quickLaunchEnabled = controller->selvaneEnabled = false;
    controller->updateMouseMonitor();
    EXPECT_FALSE(controller->hasMouseMonitors());
    EXPECT_EQ(monitors.localMonitorCount(), 0u);
    struct Case {
        const char* which;
        bool InputController::*flag;
    } cases[] = {{"mouse", &InputController::mouseEnabled},
                 {"quick launch", &InputController::quickLaunchEnabled},
                 {"selection bar", &InputController::selvaneEnabled}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.which);
        (*controller).*c.flag = true;
        controller->updateMouseMonitor();
        EXPECT_TRUE(controller->hasMouseMonitors());
        (*controller).*c.flag = false;
        controller->updateMouseMonitor();
        EXPECT_FALSE(controller->hasMouseMonitors());
    }

    controller->gestureEnabled = false;
    controller->updateGestureMonitor();
    EXPECT_EQ(monitors.globalMonitorCount(), 0u);
    pointAtTitleBar();
    trackpad.swipe(SwipeDirection::right, 60);
    EXPECT_EQ(editor->frame(), editorFrame) << "a swipe with gestures off does nothing";
}

TEST_F(InputControllerTest, ReinstallingTheScrollMonitorDiscardsASwipeInProgress) {
    pointAtTitleBar();
    trackpad.swipe(SwipeDirection::right, 60, {.finish = EventPhase::none});
    ASSERT_TRUE(controller->previewOverlay().isVisible());
    controller->updateGestureMonitor();
    EXPECT_FALSE(controller->isSwiping());
    EXPECT_FALSE(controller->previewOverlay().isVisible());
    trackpad.scroll(0, 0, EventPhase::ended);
    EXPECT_EQ(editor->frame(), editorFrame);
}

// --- Swipes ----------------------------------------------------------------------------------

TEST_F(InputControllerTest, ASwipeOnATitleBarPreviewsThenPlacesTheWindow) {
    struct Case {
        SwipeDirection direction;
        SwipeOptions options;
        SnapTarget target;
        AXRect frame;
    } cases[] = {
        {SwipeDirection::up, {}, SnapTarget::top, topHalf},
        {SwipeDirection::down, {}, SnapTarget::bottom, bottomHalf},
        {SwipeDirection::left, {}, SnapTarget::left, leftHalf},
        {SwipeDirection::right, {}, SnapTarget::right, rightHalf},
        {SwipeDirection::upLeft, {}, SnapTarget::topLeft, topLeftQuarter},
        {SwipeDirection::upRight, {}, SnapTarget::topRight, topRightQuarter},
        {SwipeDirection::downLeft, {}, SnapTarget::bottomLeft, bottomLeftQuarter},
        {SwipeDirection::downRight, {}, SnapTarget::bottomRight, bottomRightQuarter},
        // The person's classic scrolling setting gives the same placements.
        {SwipeDirection::up, {.naturalScrolling = false}, SnapTarget::top, topHalf},
        {SwipeDirection::left, {.naturalScrolling = false}, SnapTarget::left, leftHalf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rawValue(c.target));
        editor->setFrame(editorFrame);
        actions.clear();
        pointAtTitleBar();
        SwipeOptions open = c.options;
        open.finish = EventPhase::none;
        trackpad.swipe(c.direction, 60, open);
        runUntilIdle();
        EXPECT_EQ(controller->gestureTarget(), c.target);
        ASSERT_TRUE(controller->previewOverlay().isVisible());
        EXPECT_EQ(ScreenGeometry::toAccessibility(controller->previewOverlay().overlayWindow()->frame()), c.frame);
        EXPECT_EQ(editor->frame(), editorFrame) << "nothing moves before the fingers lift";
        ASSERT_FALSE(actions.empty());
        EXPECT_EQ(actions.back(), platform::formatTemplate(L("预览：%@，松开触控板确认"), title(c.target)));

        trackpad.scroll(0, 0, EventPhase::ended, EventPhase::none, c.options);
        runUntilIdle();
        EXPECT_EQ(editor->frame(), c.frame);
        EXPECT_FALSE(controller->previewOverlay().isVisible());
        EXPECT_EQ(actions.back(), "手势：" + title(c.target));
    }
}

TEST_F(InputControllerTest, KeepingOnSwipingUpMaximises) {
    pointAtTitleBar();
    trackpad.swipe(SwipeDirection::up, 40, {.steps = 2, .stepInterval = 0.2, .finish = EventPhase::none});
    EXPECT_EQ(controller->gestureTarget(), SnapTarget::top) << "a quick swipe up is the top half";
    advance(0.4);
    trackpad.scroll(0, 5, EventPhase::changed);
    EXPECT_EQ(controller->gestureTarget(), SnapTarget::maximize) << "still going after 0.7 s";
    trackpad.scroll(0, 0, EventPhase::ended);
    EXPECT_EQ(editor->frame(), wholeScreen);
}

TEST_F(InputControllerTest, SwipesThatMustPlaceNothing) {
    struct Case {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"ends below the threshold",
         [this] { trackpad.swipe(SwipeDirection::right, 20); }},
        {"cancelled by the system",
         [this] {
             trackpad.swipe(SwipeDirection::right, 60, {.finish = EventPhase::cancelled});
         }},
        {"a mouse wheel",
         [this] { trackpad.swipe(SwipeDirection::right, 60, {.preciseDeltas = false}); }},
        {"a wheel notch interrupts a swipe",
         [this] {
             trackpad.swipe(SwipeDirection::right, 60, {.finish = EventPhase::none});
             trackpad.wheel(1);
             trackpad.scroll(0, 0, EventPhase::ended);
         }},
        {"starts 50 pt below the window's top",
         [this] {
             mouse.moveTo(desktop.screens().toScreen(platform::AXPoint{500, editorFrame.minY() + 50}));
             trackpad.swipe(SwipeDirection::right, 60);
         }},
        {"over the desktop",
         [this] {
             mouse.moveTo({1200, 100});
             trackpad.swipe(SwipeDirection::right, 60);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor->setFrame(editorFrame);
        actions.clear();
        pointAtTitleBar();
        c.act();
        runUntilIdle();
        EXPECT_EQ(editor->frame(), editorFrame);
        EXPECT_FALSE(controller->previewOverlay().isVisible());
        EXPECT_FALSE(controller->isSwiping());
        EXPECT_EQ(std::count_if(actions.begin(), actions.end(),
                                [](const std::string& text) { return text.rfind("手势", 0) == 0; }),
                  0);
    }
}

TEST_F(InputControllerTest, MomentumAfterLiftOffDoesNotPlaceTwice) {
    int moves = 0;
    auto observer = desktop.notificationCenter().addObserver(platform::Desktop::windowDidChangeFrameNotification,
                                                             nullptr, [&moves](const auto&) { ++moves; });
    pointAtTitleBar();
    trackpad.swipe(SwipeDirection::right, 60, {.momentumSteps = 6});
    runUntilIdle();
    desktop.notificationCenter().removeObserver(observer);
    EXPECT_EQ(editor->frame(), rightHalf);
    EXPECT_EQ(actionCount("手势：" + title(SnapTarget::right)), 1u);
    EXPECT_LE(moves, 3) << "one placement: position, size, position";
}

TEST_F(InputControllerTest, ASwipeThatTurnsBackKeepsItsTargetAndTheClassicDirectionFlipsVertical) {
    pointAtTitleBar();
    trackpad.scroll(0, 0, EventPhase::began);
    trackpad.scroll(30, 0, EventPhase::changed);
    trackpad.scroll(-20, 0, EventPhase::changed);
    trackpad.scroll(0, 0, EventPhase::ended);
    EXPECT_EQ(editor->frame(), rightHalf) << "10 pt net is below the threshold; the target stays";

    editor->setFrame(editorFrame);
    controller->naturalDirectionEnabled = false;
    pointAtTitleBar();
    trackpad.swipe(SwipeDirection::up, 40);
    EXPECT_EQ(editor->frame(), bottomHalf);
}

TEST_F(InputControllerTest, AWindowThatRefusesItsPlacementIsReportedAsAFailure) {
    editor->setResizable(false);
    pointAtTitleBar();
    trackpad.swipe(SwipeDirection::left, 60);
    runUntilIdle();
    EXPECT_EQ(editor->frame().size, editorFrame.size);
    EXPECT_EQ(actions.back(), L("手势贴靠失败"));

    mouse.dragTitleBar(*editor, {4, 400}, 12);
    runUntilIdle();
    EXPECT_EQ(actions.back(), L("鼠标贴靠失败"));

    editor->setResizable(true);
    setup.grantAccessibility(false);
    editor->setFrame(editorFrame);
    pointAtTitleBar();
    controller->gestureEnabled = true;
    trackpad.swipe(SwipeDirection::left, 60);
    runUntilIdle();
    EXPECT_EQ(editor->frame(), editorFrame) << "without trust nothing is placed";
}

// --- Title-bar drags --------------------------------------------------------------------

TEST_F(InputControllerTest, DroppingATitleBarOnAPaletteTargetPlacesTheWindowThere) {
    struct Case {
        SnapTarget target;
        AXRect frame;
    } cases[] = {
        {SnapTarget::topLeft, topLeftQuarter},       {SnapTarget::top, topHalf},
        {SnapTarget::topRight, topRightQuarter},     {SnapTarget::left, leftHalf},
        {SnapTarget::maximize, wholeScreen},         {SnapTarget::right, rightHalf},
        {SnapTarget::bottomLeft, bottomLeftQuarter}, {SnapTarget::bottom, bottomHalf},
        {SnapTarget::bottomRight, bottomRightQuarter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rawValue(c.target));
        editor->setFrame(editorFrame);
        actions.clear();
        const ScreenPoint grip = mouse.titleBarPoint(*editor);
        mouse.moveTo(grip);
        mouse.press();
        mouse.moveTo({grip.x + 6.9, grip.y});
        EXPECT_FALSE(controller->mousePalette().isVisible()) << "6.9 pt is not a drag yet";
        mouse.moveTo({grip.x + 10, grip.y});
        ASSERT_TRUE(controller->mousePalette().isVisible());
        const auto origin = controller->mousePalette().paletteWindow()->frame().origin;
        const auto local = DialGeometry({0, 0, MouseSnapPalette::side, MouseSnapPalette::side}, 1).point(c.target);
        mouse.moveTo({origin.x + local.x, origin.y + local.y}, 4);
        EXPECT_EQ(controller->mousePalette().paletteView()->selectedTarget(), c.target);
        EXPECT_TRUE(controller->previewOverlay().isVisible());
        mouse.release();
        runUntilIdle();
        EXPECT_EQ(editor->frame(), c.frame);
        EXPECT_FALSE(controller->mousePalette().isVisible());
        EXPECT_FALSE(controller->previewOverlay().isVisible());
        EXPECT_EQ(actions.front(), L("鼠标：拖入旁边的布局选项"));
        EXPECT_EQ(actions.back(), "鼠标：" + title(c.target));
    }
}

TEST_F(InputControllerTest, DraggingToAScreenEdgePreviewsAndSnapsOnRelease) {
    struct Case {
        const char* edge;
        ScreenPoint to;
        AXRect frame;
    } cases[] = {
        {"left", {4, 400}, leftHalf},
        {"right", {1436, 400}, rightHalf},
        {"top, over the menu bar: the upper half", {700, 882}, topHalf},
        {"top-left corner", {6, 880}, topLeftQuarter},
        {"bottom edge", {700, 3}, bottomHalf},
        {"bottom-right corner", {1435, 5}, bottomRightQuarter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        editor->setFrame(editorFrame);
        mouse.moveTo(mouse.titleBarPoint(*editor));
        mouse.press();
        mouse.moveTo(c.to, 10);
        ASSERT_TRUE(controller->previewOverlay().isVisible());
        EXPECT_EQ(ScreenGeometry::toAccessibility(controller->previewOverlay().overlayWindow()->frame()), c.frame);
        mouse.release();
        EXPECT_EQ(editor->frame(), c.frame);
    }
}

TEST_F(InputControllerTest, AfterThePaletteHidesItselfADropAwayFromTheEdgesLeavesTheWindow) {
    const ScreenPoint grip = mouse.titleBarPoint(*editor);
    mouse.moveTo(grip);
    mouse.press();
    mouse.moveTo({grip.x + 20, grip.y - 20}, 3);
    ASSERT_TRUE(controller->mousePalette().isVisible());
    advance(MouseSnapPalette::automaticHideDelay + MouseSnapPalette::automaticHideFade + 0.1);
    EXPECT_FALSE(controller->mousePalette().isVisible());
    mouse.moveTo({grip.x + 100, grip.y - 100}, 3);
    const auto dropped = editor->frame();
    actions.clear();
    mouse.release();
    runUntilIdle();
    EXPECT_EQ(editor->frame(), dropped);
    EXPECT_TRUE(actions.empty());

    // Edge snapping goes on after the palette has gone.
    mouse.moveTo(mouse.titleBarPoint(*editor));
    mouse.press();
    mouse.moveTo({grip.x + 20, grip.y - 20}, 3);
    advance(3);
    mouse.moveTo({4, 300}, 5);
    mouse.release();
    EXPECT_EQ(editor->frame(), leftHalf);
}

TEST_F(InputControllerTest, EdgeTargetsDependOnThePointerAlone) {
    auto screen = setup.primaryScreen();
    // Visible frame in Accessibility space: (0, 24) 1440 × 876.
    struct Case {
        const char* where;
        platform::AXPoint pointer;
        std::optional<SnapTarget> target;
    } cases[] = {
        {"12 pt from the left edge", {12, 400}, SnapTarget::left},
        {"12.5 pt from the left edge", {12.5, 400}, std::nullopt},
        {"12 pt from the right edge", {1428, 400}, SnapTarget::right},
        {"near left and top", {10, 30}, SnapTarget::topLeft},
        {"near right and top", {1435, 30}, SnapTarget::topRight},
        {"top away from the sides", {700, 30}, SnapTarget::top},
        {"over the menu bar", {700, 13}, SnapTarget::top},
        {"bottom", {700, 895}, SnapTarget::bottom},
        {"bottom-left", {5, 895}, SnapTarget::bottomLeft},
        {"bottom-right", {1439, 895}, SnapTarget::bottomRight},
        {"middle", {700, 400}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(controller->edgeSnapTarget(ScreenGeometry::toScreen(c.pointer), std::nullopt, screen), c.target);
    }
    controller->edgeSnapEnabled = false;
    EXPECT_EQ(controller->edgeSnapTarget({5, 400}, std::nullopt, screen), std::nullopt);
}

TEST_F(InputControllerTest, TheMainWindowIsDraggedAndSnappedByTheProgram) {
    auto window = platform::Window::make(platform::ScreenRect{300, 200, 500, 400},
                                         platform::WindowStyleMask{platform::WindowStyleMask::titled});
    window->orderFront();
    controller->setMainWindow(window);
    const ScreenPoint grip{window->frame().minX() + 200, window->frame().maxY() - 10};
    mouse.moveTo(grip);
    mouse.press();
    mouse.moveTo({grip.x + 5, grip.y});
    EXPECT_EQ(window->frame().origin, (ScreenPoint{300, 200})) << "under 7 pt nothing moves";
    mouse.moveTo({grip.x + 50, grip.y - 30}, 2);
    EXPECT_EQ(window->frame().origin, (ScreenPoint{350, 170}));
    EXPECT_TRUE(controller->mousePalette().isVisible());
    mouse.moveTo({4, 400}, 6);
    EXPECT_TRUE(controller->previewOverlay().isVisible());
    actions.clear();
    mouse.release();
    runUntilIdle();
    EXPECT_EQ(window->frame(), (platform::ScreenRect{0, 0, 720, 876}));
    EXPECT_TRUE(actions.empty()) << "no status line for the program's own window";

    // Its buttons' corner is not a grip.
    mouse.moveTo({window->frame().minX() + 40, window->frame().maxY() - 10});
    mouse.press();
    mouse.moveTo({300, 300}, 4);
    mouse.release();
    EXPECT_EQ(window->frame(), (platform::ScreenRect{0, 0, 720, 876}));
}

// --- Menu bar and long press ----------------------------------------------------------------

TEST_F(InputControllerTest, ADoubleClickOnTheEmptyMenuBarOpensQuickLaunch) {
    // A menu title of the front application, found where the hit test says so.
    auto app = setup.addApplication({.bundleIdentifier = "com.example.menus", .name = "Menus", .menuTitles = {"File", "Edit"}});
    ASSERT_TRUE(app);
    desktop.activate(*app);
    std::optional<ScreenPoint> menuTitle;
    for (double x = 0; x < 600 && !menuTitle; x += 4) {
        auto hit = platform::AXElement::systemWide().elementAtPosition({x, 12});
        auto role = hit ? hit->attribute(platform::AXAttribute::role) : platform::Result<platform::AXValue>(platform::AXValue());
        if (role && role->asString() && *role->asString() == platform::AXRole::menuBarItem) menuTitle = ScreenPoint{x, 888};
    }
    ASSERT_TRUE(menuTitle) << "no menu title in the menu bar";
    struct Case {
        const char* where;
        ScreenPoint at;
        bool opens;
    } cases[] = {
        {"on a menu title", *menuTitle, false},
        {"on the empty menu bar", {900, 892}, true},
        {"20 pt below the top: the strip is 28 pt high", {900, 880}, true},
        {"29 pt below the top", {900, 871}, false},
        {"on the desktop", {1200, 200}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        controller->quickLaunchPanel().panel()->orderOut();
        actions.clear();
        mouse.doubleClick(c.at);
        EXPECT_EQ(quickLaunchShown(), c.opens);
        if (c.opens) {
            EXPECT_EQ(actions, std::vector<std::string>{L("已打开快捷启动")});
            const auto frame = controller->quickLaunchPanel().panel()->frame();
            EXPECT_NEAR(frame.midX(), c.at.x, 0.5);
            EXPECT_LE(frame.maxY(), c.at.y - QuickLaunchPanel::gapBelowPoint + 0.5);
        }
    }
    platform::UserDefaults::standard().set("quickLaunchEnabled", false);
    actions.clear();
    mouse.doubleClick({900, 892});
    EXPECT_FALSE(quickLaunchShown()) << "the panel declines when quick launch is stored off";
    EXPECT_TRUE(actions.empty());
}

TEST_F(InputControllerTest, APressHeldOneSecondOpensTheDestination) {
    struct Case {
        const char* what;
        double seconds;
        double tremor;
        bool opens;
        ScreenPoint at = {1100, 200};
    } cases[] = {
        {"held a second", 1.0, 0, true},
        {"held a second with a 5 pt tremor", 1.0, 5, true},
        {"released at 0.9 s", 0.9, 0, false},
        {"moved 7 pt", 1.0, 7, false},
        {"in a text field", 1.0, 0, false, desktop.screens().toScreen(platform::AXPoint{editorFrame.minX() + 60, editorFrame.minY() + 80})},
    };
    editor->addElement({.role = platform::AXRole::textField, .frame = {20, 70, 300, 24}, .value = "search", .editable = true});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScreenPoint at = c.at;
        controller->quickLaunchPanel().panel()->orderOut();
        mouse.moveTo(at);
        mouse.press();
        if (c.tremor > 0) mouse.moveTo({at.x + c.tremor, at.y});
        advance(c.seconds - 0.01);
        EXPECT_FALSE(quickLaunchShown());
        advance(0.01);
        EXPECT_EQ(quickLaunchShown(), c.opens);
        mouse.release();
        advance(1);
        EXPECT_EQ(quickLaunchShown(), c.opens) << "the panel stays after the release";
    }
}

TEST_F(InputControllerTest, APendingLongPressEndsWithoutEffect) {
    struct Case {
        const char* what;
        std::function<void()> during;
    } cases[] = {
        {"the destination changes",
         [] { LongPressDestinationPreference::set(LongPressDestination::disabled); }},
        {"quick launch is stored off",
         [] { platform::UserDefaults::standard().set("quickLaunchEnabled", false); }},
        {"the monitors are re-installed", [this] { controller->updateMouseMonitor(); }},
        {"the main window turns quick launch off", [this] { controller->quickLaunchEnabled = false; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LongPressDestinationPreference::set(LongPressDestination::quickLaunch);
        platform::UserDefaults::standard().removeObject("quickLaunchEnabled");
        controller->quickLaunchEnabled = true;
        mouse.moveTo({1100, 200});
        mouse.press();
        advance(0.5);
        c.during();
        advance(0.6);
        EXPECT_FALSE(quickLaunchShown());
        mouse.release();
    }
}

TEST_F(InputControllerTest, ALongPressOverTextOpensTheSelectionBarWhenThatIsTheDestination) {
    auto text = editor->addElement({.role = platform::AXRole::textArea,
                                    .frame = {0, 60, 600, 300},
                                    .value = "Hello world",
                                    .selectedRange = platform::AXRange{0, 5}});
    auto password = editor->addElement({.role = platform::AXRole::secureTextField, .frame = {20, 370, 200, 24}, .value = "hunter2"});
    controller->selvaneEnabled = true;
    controller->updateMouseMonitor();
    LongPressDestinationPreference::set(LongPressDestination::selvane);

    const ScreenPoint inText = desktop.screens().toScreen(platform::AXPoint{editorFrame.minX() + 100, editorFrame.minY() + 100});
    mouse.moveTo(inText);
    mouse.press();
    text->setSelectedRange({0, 5});  // the application selects a word
    advance(1.0);
    mouse.release();
    EXPECT_TRUE(bar->panel().isVisible()) << "a press in a text area keeps a long press meant for the bar";
    EXPECT_EQ(bar->panel().selectedText(), "Hello");
    EXPECT_FALSE(quickLaunchShown());
    advance(1);
    EXPECT_TRUE(bar->panel().isVisible()) << "the release after a long press hands nothing over";

    const ScreenPoint inPassword = desktop.screens().toScreen(platform::AXPoint{editorFrame.minX() + 50, editorFrame.minY() + 380});
    mouse.longPress(inPassword, 1.0);
    EXPECT_TRUE(bar->panel().isVisible());
    EXPECT_TRUE(bar->panel().isSecureSelection());
    EXPECT_EQ(bar->panel().selectedText(), "");
    (void)password;
}

// --- Selection hand-off -----------------------------------------------------------------------

TEST_F(InputControllerTest, ADragOverTextHandsTheSelectionOnAfterTheRelease) {
    auto text = editor->addElement({.role = platform::AXRole::textArea, .frame = {0, 60, 600, 300}, .value = "Hello world"});
    controller->selvaneEnabled = true;
    controller->updateMouseMonitor();
    const ScreenPoint from = desktop.screens().toScreen(platform::AXPoint{editorFrame.minX() + 40, editorFrame.minY() + 100});
    const ScreenPoint to{from.x + 60, from.y};

    mouse.drag(from, to);
    advance(0.19);
    EXPECT_FALSE(bar->panel().isVisible()) << "not before two reads, 0.12 s and 0.20 s after the release";
    advance(0.02);
    ASSERT_TRUE(bar->panel().isVisible());
    EXPECT_EQ(bar->panel().selectedText(), platform::Text::trimmingWhitespaceAndNewlines(text->selectedText()))
        << "what the drag selected, trimmed";
    EXPECT_FALSE(bar->panel().selectedText().empty());

    // Inside "world": a short drag or a double click there selects letters,
    // where at `from` it would select only the space before it.
    const ScreenPoint inWorld{from.x + 20, from.y};
    struct Case {
        const char* what;
        std::function<void()> act;
        bool shows;
    } cases[] = {
        {"a click came first",
         [&] {
             mouse.drag(from, to);
             mouse.click(from);
         },
         false},
        {"a click without movement", [&] { mouse.click(from); }, false},
        {"a drag of 7 pt", [&] { mouse.drag(inWorld, {inWorld.x + 7, inWorld.y}); }, false},
        {"a drag of 8 pt", [&] { mouse.drag(inWorld, {inWorld.x + 8, inWorld.y}); }, true},
        {"a double click", [&] { mouse.doubleClick(inWorld); }, true},
        {"a key typed just before", [&] {
             mouse.drag(from, to);
             keyboard.type("a");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bar->hide();
        advance(1);
        c.act();
        advance(0.21);
        EXPECT_EQ(bar->panel().isVisible(), c.shows);
        if (desktop.input().pressedMouseButtons()) mouse.release();
        advance(1);
    }

    SelvaneExclusions::add("com.example.editor", "Editor");
    bar->hide();
    mouse.drag(from, to);
    mouse.doubleClick(from);
    advance(0.5);
    EXPECT_FALSE(bar->panel().isVisible()) << "never in an excluded application";
}

TEST_F(InputControllerTest, AClickInTheProgramsOwnWindowHidesBothPanelsAndCancelsThePress) {
    auto window = platform::Window::make(platform::ScreenRect{900, 100, 400, 300},
                                         platform::WindowStyleMask{platform::WindowStyleMask::titled});
    window->orderFront();
    mouse.doubleClick({900, 892});
    ASSERT_TRUE(quickLaunchShown());
    const std::int64_t generation = controller->selvaneSelectionGeneration();
    mouse.moveTo({1100, 200});
    mouse.press();
    EXPECT_FALSE(quickLaunchShown());
    EXPECT_FALSE(controller->isLongPressPending());
    EXPECT_GT(controller->selvaneSelectionGeneration(), generation);
    advance(1.5);
    EXPECT_FALSE(quickLaunchShown()) << "no long press from the program's own window";
    mouse.release();
}

// --- The stored long-press destination --------------------------------------------------------

TEST_F(InputControllerTest, LongPressDestinationReadsTheOlderKeysWhenItHasNoValidValue) {
    using platform::PropertyValue;
    struct Case {
        const char* what;
        std::optional<PropertyValue> destination, selvaneKey, quickLaunchKey, quickLaunchEnabled;
        LongPressDestination current;
        bool allowsQuickLaunch;
    } cases[] = {
        {"no key at all", {}, {}, {}, {}, LongPressDestination::quickLaunch, true},
        {"selection bar by the older key", {}, true, {}, {}, LongPressDestination::selvane, false},
        {"quick launch off by the older key", {}, {}, false, {}, LongPressDestination::disabled, false},
        {"older quick-launch key not a Boolean", {}, {}, "no", {}, LongPressDestination::quickLaunch, true},
        {"stored destination wins", "disabled", true, true, {}, LongPressDestination::disabled, false},
        {"unknown destination falls back", "sideways", true, {}, {}, LongPressDestination::selvane, false},
        {"quick launch switched off", "quickLaunch", {}, {}, false, LongPressDestination::quickLaunch, false},
        {"quick-launch switch not a Boolean", "quickLaunch", {}, {}, "yes", LongPressDestination::quickLaunch, true},
    };
    auto& defaults = platform::UserDefaults::standard();
    auto store = [&defaults](std::string_view key, const std::optional<PropertyValue>& value) {
        if (value) {
            defaults.set(key, *value);
        } else {
            defaults.removeObject(key);
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store(LongPressDestinationPreference::key, c.destination);
        store(LongPressDestinationPreference::selvaneLongPressKey, c.selvaneKey);
        store(LongPressDestinationPreference::quickLaunchLongPressKey, c.quickLaunchKey);
        store(LongPressDestinationPreference::quickLaunchEnabledKey, c.quickLaunchEnabled);
        EXPECT_EQ(LongPressDestinationPreference::current(), c.current);
        EXPECT_EQ(LongPressDestinationPreference::allowsQuickLaunch(), c.allowsQuickLaunch);
    }

    for (auto destination : allLongPressDestinations) {
        SCOPED_TRACE(rawValue(destination));
        LongPressDestinationPreference::set(destination);
        EXPECT_EQ(defaults.string(LongPressDestinationPreference::key), std::string(rawValue(destination)));
        EXPECT_EQ(defaults.storedBoolean(LongPressDestinationPreference::quickLaunchLongPressKey),
                  destination == LongPressDestination::quickLaunch);
        EXPECT_EQ(defaults.storedBoolean(LongPressDestinationPreference::selvaneLongPressKey),
                  destination == LongPressDestination::selvane);
        defaults.removeObject(LongPressDestinationPreference::key);
        EXPECT_EQ(LongPressDestinationPreference::current(), destination) << "the older keys agree";
    }
}

TEST(SwipeClassifierTest, SumsAndDurationChooseThePlacement) {
    struct Case {
        double x, y, seconds;
        std::optional<SnapTarget> target;
    } cases[] = {
        {25.9, -25.9, 0, std::nullopt},  // too short to say anything yet
        {30, 0, 0, SnapTarget::right},
        {-30, 0, 0, SnapTarget::left},
        {30, 25, 0, SnapTarget::topRight},  // both at least 24, ratio 1.2
        {60, 25, 0, SnapTarget::right},     // ratio 2.4: horizontal
        {52, 24, 0, SnapTarget::topRight},  // ratio just under 2.2
        {30, 23.9, 0, SnapTarget::right},   // one axis under 24
        {-30, 30, 0, SnapTarget::topLeft},
        {-30, -30, 0, SnapTarget::bottomLeft},
        {30, -30, 0, SnapTarget::bottomRight},
        {30, -20, 0, SnapTarget::right},
        {20, 30, 0, SnapTarget::top},
        {-20, -30, 0, SnapTarget::bottom},
        {0, 26, 0, SnapTarget::top},  // a tie of axes goes vertical
        {0, 40, 0.5, SnapTarget::top},
        {0, 40, 0.7, SnapTarget::maximize},
        {0, 34.9, 2, SnapTarget::top},  // slow but short
        {0, -40, 2, SnapTarget::bottom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << ", " << c.y << " after " << c.seconds << " s");
        EXPECT_EQ(SwipeClassifier::classify(c.x, c.y, c.seconds), c.target);
    }
}

}  // namespace
}  // namespace tallowmere
