// Also writes a picture a person can look at, under the build folder:
//   renderings/screen/ruler.png   the ruler with two runs
#include "screen/screen_ruler_controller.h"

#include <filesystem>

#include "platform/desktop/pasteboard.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/screen_snapshot.h"
#include "screen/screen_ruler_view.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

namespace KeyCode = platform::KeyCode;
using platform::Pasteboard;
using platform::ScreenPoint;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "screen";

// The ruler on the built-in screen (scale 2), driven by mouse and keyboard.
class ScreenRulerTest : public DesktopTest {
protected:
    ScreenRulerController& ruler() { return ScreenRulerController::shared(); }
    ScreenRulerView& view() { return *ruler().view(); }
    void open() {
        ruler().showFromMenu();
        ASSERT_TRUE(ruler().isShowing());
    }
    void returnKey() {
        keyboard.press(KeyCode::returnKey, "\r");
        runUntilIdle();
    }
};

TEST_F(ScreenRulerTest, OpensOnTheScreenUnderThePointerAndClosesOnASecondCall) {
    setup.addScreen({.frame = {1440, 0, 1920, 1080}, .backingScaleFactor = 1, .isBuiltIn = false});
    mouse.moveTo({2000, 500});
    open();
    auto panel = ruler().panel();
    EXPECT_EQ(panel->frame(), (platform::ScreenRect{1440, 0, 1920, 1080}));
    EXPECT_EQ(panel->level(), 1000);
    EXPECT_EQ(panel->collectionBehavior().rawValue, 273u);
    EXPECT_FALSE(panel->isKeyWindow()) << "the panel is not made key when it opens";
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 1u);
    EXPECT_EQ(platform::EventMonitors::shared().globalMonitorCount(), 1u);
    ruler().showFromMenu();
    EXPECT_FALSE(ruler().isShowing());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 0u);
    EXPECT_EQ(platform::EventMonitors::shared().globalMonitorCount(), 0u);
}

TEST_F(ScreenRulerTest, ReturnCopiesTheLastSegment) {
    struct Case {
        const char* name;
        std::function<void(MouseDriver&)> clicks;
        std::optional<std::string> copied;
    } cases[] = {
        {"three clicks copy the second segment",
         [](MouseDriver& m) {
             m.click({100, 100});
             m.click({300, 100});
             m.click({300, 250});
         },
         "150 pt / 300 px"},
        {"a double click starts a new run",
         [](MouseDriver& m) {
             m.click({100, 100});
             m.click({200, 100});
             m.doubleClick({203, 103});
             m.click({600, 600});
         },
         "100 pt / 200 px"},
        {"one point copies nothing", [](MouseDriver& m) { m.click({100, 100}); }, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pasteboard::general().setString("before");
        open();
        c.clicks(mouse);
        advance(1);  // the next case's clicks make no double click with these
        returnKey();
        EXPECT_EQ(Pasteboard::general().string(), c.copied.value_or("before"));
        EXPECT_FALSE(ruler().isShowing()) << "Return closes the ruler";
    }
}

TEST_F(ScreenRulerTest, LengthsAreLabelledInPointsAndPixels) {
    open();
    struct Case {
        double distance;
        const char* text;
    } cases[] = {{100, "100 pt / 200 px"}, {12.5, "12.5 pt / 25 px"}, {0, "0 pt / 0 px"}, {-1, "-"},
                 {std::numeric_limits<double>::infinity(), "-"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(view().formattedDistance(c.distance), c.text);
    }
    auto detached = ScreenRulerView::make({0, 0, 100, 100});
    EXPECT_EQ(detached->formattedDistance(12.5), "12.5 pt") << "no window, no pixels";
}

TEST_F(ScreenRulerTest, PointsAreGrabbedDraggedAndTakenBack) {
    open();
    mouse.click({100, 100});
    mouse.click({120, 100});
    advance(1);
    mouse.drag({110, 100}, {-50, 2000});
    ASSERT_EQ(view().points().size(), 2u) << "a click within 14 pt grabs instead of adding";
    EXPECT_EQ(view().points()[0], (platform::Point{0, 900})) << "the nearest, the lower index on a tie, held to the screen";
    EXPECT_EQ(view().points()[1], (platform::Point{120, 100}));

    advance(1);
    mouse.doubleClick({600, 600});  // its first click adds a point, its second starts a new run
    mouse.click({700, 600});
    ASSERT_EQ(view().points().size(), 4u);
    EXPECT_EQ(view().connectsToPrevious(), (std::vector<bool>{false, true, true, false}));
    std::filesystem::create_directories(renderings);
    mouse.click({700, 300});
    EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / "ruler.png").ok());

    struct Undo {
        const char* name;
        std::function<void()> act;
    } undos[] = {
        {"right click", [&] { mouse.click({900, 100}, MouseButton::right); }},
        {"Delete", [&] { keyboard.press(KeyCode::deleteKey); }},
        {"Forward Delete", [&] { keyboard.press(KeyCode::forwardDelete); }},
        {"Command-Z", [&] { keyboard.press('z', {platform::ModifierFlags::command}); }},
    };
    EXPECT_TRUE(ruler().panel()->isKeyWindow()) << "a click in the ruler gives it the keys";
    std::size_t expected = view().points().size();
    for (const auto& undo : undos) {
        SCOPED_TRACE(undo.name);
        undo.act();
        EXPECT_EQ(view().points().size(), --expected);
        EXPECT_FALSE(view().startsNewSegment());
    }
    EXPECT_EQ(view().connectsToPrevious().size(), view().points().size());
}

TEST_F(ScreenRulerTest, EscapeAndTheButtonsClose) {
    open();
    mouse.click({100, 100});
    auto clear = view().clearButtonRect();
    mouse.click({clear.midX(), clear.midY()});
    EXPECT_TRUE(view().points().empty());
    keyboard.press(KeyCode::escape, "\x1b");
    runUntilIdle();
    EXPECT_FALSE(ruler().isShowing());

    open();
    auto close = view().closeButtonRect();
    mouse.click({close.midX(), close.midY()});
    EXPECT_FALSE(ruler().isShowing());
}

TEST_F(ScreenRulerTest, AHiddenPanelGoesWithItsMonitorsBeforeANewOne) {
    open();
    auto first = ruler().panel();
    first->orderOut();
    open();
    EXPECT_NE(ruler().panel(), first);
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 1u);
    EXPECT_EQ(platform::EventMonitors::shared().globalMonitorCount(), 1u);
}

}  // namespace
}  // namespace tallowmere::testing
