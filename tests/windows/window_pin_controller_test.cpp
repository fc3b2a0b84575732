#include "windows/window_pin_controller.h"

#include <gtest/gtest.h>

#include "platform/desktop/desktop.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/image_view.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"
#include "support/geometry_printing.h"

namespace tallowmere {
namespace {

using platform::AXRect;
using platform::ScreenRect;
using platform::SimulatedWindow;
using platform::WindowSpec;

class WindowPinControllerTest : public testing::DesktopTest {
protected:
    WindowPinControllerTest() {
        setup.grantAccessibility();
        setup.grantScreenCapture();
    }

    // A window of its own application, in front.
    std::shared_ptr<SimulatedWindow> frontWindow(WindowSpec spec, std::string name = "Editor") {
        return setup.addFrontWindow({.bundleIdentifier = "com.example." + name, .name = name}, std::move(spec));
    }
    // What the mirror shows now, as pixels.
    platform::Bitmap mirrorPicture() const {
        EXPECT_TRUE(pin->mirrorImageView && pin->mirrorImageView->image());
        if (!pin->mirrorImageView || !pin->mirrorImageView->image()) return {};
        return pin->mirrorImageView->image()->render().value();
    }
    static bool pinned(const WindowPinController::ToggleResult& result) {
        const bool* value = std::get_if<bool>(&result);
        return value && *value;
    }

    std::shared_ptr<WindowPinController> pin = std::make_shared<WindowPinController>();
};

TEST_F(WindowPinControllerTest, MirrorShowsANewPictureEveryTwelfthOfASecondAndFollowsTheWindow) {
    auto window = frontWindow({.title = "Report", .frame = {100, 124, 400, 300}, .content = "frame 0"});
    ASSERT_TRUE(pinned(pin->toggle(std::nullopt)));
    ASSERT_TRUE(pin->pinnedWindow);
    EXPECT_EQ(pin->pinnedWindow->title, "Report");
    ASSERT_TRUE(pin->mirrorPanel && pin->mirrorPanel->isVisible());
    EXPECT_EQ(pin->mirrorPanel->frame(), ScreenRect(100, 476, 400, 300)) << "exactly over the window";
    EXPECT_TRUE(pin->mirrorPanel->ignoresMouseEvents()) << "read-only: clicks go through";
    EXPECT_EQ(pin->mirrorPanel->level(), platform::WindowLevel::floating);

    // The window's content changes between ticks; each tick shows the new one.
    constexpr double interval = WindowPinController::refreshInterval;
    std::vector<platform::Bitmap> pictures{mirrorPicture()};
    for (int tick = 1; tick <= 3; ++tick) {
        SCOPED_TRACE(tick);
        window->setContent("frame " + std::to_string(tick));
        advance(interval * 0.5);
        EXPECT_EQ(mirrorPicture(), pictures.back()) << "not before the tick";
        advance(interval * 0.6);
        pictures.push_back(mirrorPicture());
        EXPECT_NE(pictures[pictures.size() - 2], pictures.back()) << "the new content shows";
    }
    const int captures = desktop.windowServer().captureCount();
    advance(1.0);
    EXPECT_EQ(desktop.windowServer().captureCount() - captures, 12) << "twelve captures a second";

    window->setFrame({300, 224, 500, 350});
    advance(WindowPinController::refreshInterval);
    EXPECT_EQ(pin->mirrorPanel->frame(), ScreenRect(300, 326, 500, 350)) << "the mirror moved with the window";

}

// The pin ends by itself once the window cannot be read or captured, and
// the next menu shows nothing pinned.
TEST_F(WindowPinControllerTest, PinEndsWithinATickWhenTheWindowCanNoLongerBeSeen) {
    struct Case {
        const char* what;
        std::function<void(SimulatedWindow&)> act;
    } cases[] = {
        {"closed", [](SimulatedWindow& w) { w.close(); }},
        {"minimised", [](SimulatedWindow& w) { w.setMinimized(true); }},
        {"its application hidden", [](SimulatedWindow& w) { w.application()->setHidden(true); }},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto window = frontWindow({.title = "W", .frame = {100, 124, 400, 300}}, "App" + std::to_string(++number));
        ASSERT_TRUE(pinned(pin->toggle(std::nullopt)));
        c.act(*window);
        advance(WindowPinController::refreshInterval);
        EXPECT_FALSE(pin->pinnedWindow);
        EXPECT_FALSE(pin->mirrorPanel);
        EXPECT_TRUE(windows.visible().empty()) << "the mirror is gone from the screen";
        const int captures = desktop.windowServer().captureCount();
        advance(1.0);
        EXPECT_EQ(desktop.windowServer().captureCount(), captures) << "the timer stopped";
    }
}

TEST_F(WindowPinControllerTest, ToggleRefusesWithTheReasonAndUnpinsASecondTime) {
    struct Case {
        const char* what;
        bool trusted, captureAllowed;
        platform::BoundsOffset serverOffset;
        bool frontmostIsSelf;
        std::optional<WindowPinError> expected;
    } cases[] = {
        {"no Accessibility trust", false, true, {}, false, WindowPinError::accessibilityRequired},
        {"no screen recording", true, false, {}, false, WindowPinError::screenRecordingRequired},
        {"only this program was active", true, true, {}, true, WindowPinError::noFocusedWindow},
        {"window server bounds 24 pt off", true, true, {0, -12, 0, 12}, false, WindowPinError::noFocusedWindow},
        {"window server bounds 23 pt off", true, true, {0, -12, 0, 11}, false, std::nullopt},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setup.grantAccessibility(c.trusted);
        setup.grantScreenCapture(c.captureAllowed);
        frontWindow({.title = "W", .frame = {100, 124, 400, 300}, .serverBoundsOffset = c.serverOffset},
                    "App" + std::to_string(++number));
        if (c.frontmostIsSelf) desktop.activate(desktop.currentApplication());
        const int requests = desktop.windowServer().screenCaptureRequestCount();
        auto result = pin->toggle(std::nullopt);
        if (c.expected) {
            ASSERT_TRUE(std::holds_alternative<WindowPinError>(result));
            EXPECT_EQ(std::get<WindowPinError>(result), *c.expected);
            EXPECT_FALSE(pin->pinnedWindow);
            EXPECT_EQ(desktop.windowServer().screenCaptureRequestCount() - requests,
                      *c.expected == WindowPinError::screenRecordingRequired ? 1 : 0);
        } else {
            EXPECT_TRUE(pinned(result));
            auto second = pin->toggle(std::nullopt);
            ASSERT_TRUE(std::holds_alternative<bool>(second));
            EXPECT_FALSE(std::get<bool>(second)) << "the second toggle unpins";
            EXPECT_FALSE(pin->pinnedWindow);
            EXPECT_FALSE(pin->refreshTimer);
        }
    }
}

TEST_F(WindowPinControllerTest, PinsTheNearestWindowAndNamesAnUntitledOneAfterItsApplication) {
    auto app = setup.addApplication({.bundleIdentifier = "com.example.viewer", .name = "Viewer"});
    auto behind = app->addWindow({.title = "", .frame = {100, 124, 400, 300}});
    auto nearer = app->addWindow({.title = "", .frame = {101, 124, 400, 300}});
    nearer->raise();
    desktop.activate(*app);
    // The focused window is `nearer`; `behind` lies within the threshold too
    // but one point further.
    ASSERT_TRUE(pinned(pin->toggle(app->processIdentifier())));
    EXPECT_EQ(pin->pinnedWindow->windowID, static_cast<std::uint32_t>(nearer->windowNumber()));
    EXPECT_EQ(pin->pinnedWindow->title, "Viewer");

    // Equal scores: the window in front wins.
    auto twin = app->addWindow({.title = "", .frame = {101, 124, 400, 300}});
    twin->raise();
    EXPECT_EQ(pin->matchingWindowID(nearer->handle(), app->processIdentifier()),
              static_cast<std::uint32_t>(twin->windowNumber()));
    (void)behind;
}

// The point of a pin: the pinned window stays in sight when another one
// comes in front. The picture is written to
// renderings/windows/window_pin.png for a person to look at.
TEST_F(WindowPinControllerTest, PinnedWindowStaysInSightAboveTheWindowInFront) {
    auto pinnedOne = frontWindow({.title = "Reference", .frame = {120, 140, 560, 420}, .content = "Pinned text"});
    ASSERT_TRUE(pinned(pin->toggle(std::nullopt)));
    const auto alone = platform::ScreenSnapshot::render();
    ASSERT_TRUE(alone.ok());
    auto cover = frontWindow({.title = "Editor", .frame = {80, 100, 900, 600}, .content = "Other text"}, "Other");
    advance(WindowPinController::refreshInterval);
    ASSERT_TRUE(pin->pinnedWindow);

    const auto covered = platform::ScreenSnapshot::render();
    ASSERT_TRUE(covered.ok());
    // The pinned window's title bar, which the other window's white body now
    // covers, still shows through the mirror.
    const double scale = covered->scale();
    const int x = static_cast<int>(300 * scale), y = static_cast<int>(150 * scale);
    ASSERT_NE(alone->pixel(x, y), (platform::Pixel{255, 255, 255, 255})) << "a point of the title bar";
    EXPECT_EQ(covered->pixel(x, y), alone->pixel(x, y));
    const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "windows";
    std::filesystem::create_directories(renderings);
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(renderings / "window_pin.png").ok());
    (void)pinnedOne;
    (void)cover;
}

}  // namespace
}  // namespace tallowmere
