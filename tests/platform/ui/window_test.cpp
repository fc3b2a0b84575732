#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "platform/ui/window_controller.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

class RecordingWindowDelegate final : public WindowDelegate {
public:
    bool windowShouldClose(Window&) override {
        events.push_back("shouldClose");
        return allowClose;
    }
    void windowWillClose(Window&) override { events.push_back("willClose"); }
    void windowDidResize(Window&) override { events.push_back("didResize"); }
    void windowDidBecomeKey(Window&) override { events.push_back("didBecomeKey"); }

    bool allowClose = true;
    std::vector<std::string> events;
};

class WindowTest : public testing::DesktopTest {
protected:
    std::vector<int> listedNumbers() {
        std::vector<int> numbers;
        for (const auto& info : desktop.windowServer().windowList(WindowListOption::onScreenOnly)) {
            numbers.push_back(info.windowNumber);
        }
        return numbers;
    }
};

TEST_F(WindowTest, OrderedFrontWindowIsListedAtItsLevelAboveLowerLevels) {
    auto normal = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled);
    normal->setTitle("Settings");
    auto floating = Window::make<Panel>(ScreenRect{200, 200, 200, 100}, WindowStyleMask::nonactivatingPanel);
    floating->setFloatingPanel(true);

    EXPECT_TRUE(listedNumbers().empty()) << "a window was listed before it was ordered in";
    floating->orderFront();
    normal->orderFront();

    auto info = desktop.windowServer().windowInfo(normal->windowNumber());
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->isOnScreen);
    EXPECT_EQ(info->layer, WindowLevel::normal);
    EXPECT_EQ(info->name, std::optional<std::string>("Settings"));
    // The frame includes the title bar and is reported in Accessibility space.
    EXPECT_EQ(info->bounds, (AXRect{100, 900 - 428, 400, 328}));
    EXPECT_EQ(desktop.windowServer().windowInfo(floating->windowNumber())->layer, WindowLevel::floating);
    EXPECT_EQ(listedNumbers(), (std::vector<int>{floating->windowNumber(), normal->windowNumber()}))
        << "the floating panel must stay in front of the normal window ordered after it";

    normal->orderOut();
    EXPECT_EQ(listedNumbers(), (std::vector<int>{floating->windowNumber()}));
}

TEST_F(WindowTest, TitledWindowComesOnScreenBelowTheMenuBar) {
    auto window = Window::make(ScreenRect{100, 800, 400, 300}, WindowStyleMask::titled);
    window->orderFront();
    EXPECT_EQ(window->frame().maxY(), 900 - 24);
    auto borderless = Window::make(ScreenRect{0, 0, 1440, 900}, WindowStyleMask::borderless);
    borderless->orderFront();
    EXPECT_EQ(borderless->frame(), (ScreenRect{0, 0, 1440, 900}));
}

TEST_F(WindowTest, KeyStatusMovesBetweenWindowsThatCanTakeIt) {
    auto first = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled);
    auto second = Window::make(ScreenRect{200, 200, 400, 300}, WindowStyleMask::titled);
    auto overlay = Window::make(ScreenRect{0, 0, 50, 50}, WindowStyleMask::borderless);
    first->makeKeyAndOrderFront();
    EXPECT_TRUE(first->isKeyWindow());
    second->makeKeyAndOrderFront();
    EXPECT_FALSE(first->isKeyWindow());
    EXPECT_TRUE(second->isKeyWindow());
    EXPECT_EQ(desktop.windowServer().keyWindowNumber(), second->windowNumber());
    overlay->makeKeyAndOrderFront();
    EXPECT_TRUE(second->isKeyWindow()) << "a borderless window took key status";
    second->orderOut();
    EXPECT_EQ(application.keyWindow(), nullptr);
}

TEST_F(WindowTest, CloseAsksTheDelegateFirst) {
    auto window = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled | WindowStyleMask::closable);
    auto delegate = std::make_shared<RecordingWindowDelegate>();
    window->setDelegate(delegate);
    window->orderFront();

    delegate->allowClose = false;
    window->performClose();
    EXPECT_TRUE(window->isVisible());
    delegate->allowClose = true;
    window->performClose();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"shouldClose", "shouldClose", "willClose"}));
}

TEST_F(WindowTest, ContentViewFollowsTheContentArea) {
    auto window = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled | WindowStyleMask::resizable);
    auto content = View::make();
    window->setContentView(content);
    EXPECT_EQ(content->frame(), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(content->window(), window);

    window->setContentSize({500, 200});
    EXPECT_EQ(content->frame(), (Rect{0, 0, 500, 200}));
    EXPECT_EQ(window->frame().maxY(), 100 + 300 + Window::titleBarHeight) << "the top-left corner moved";

    window->setStyleMask(window->styleMask().rawValue | WindowStyleMask::fullSizeContentView);
    EXPECT_EQ(window->contentLayoutRect().height(), window->frame().height() - Window::titleBarHeight);
}

TEST_F(WindowTest, CentreAndFullScreenUseTheScreen) {
    auto window = Window::make(ScreenRect{0, 0, 400, 300}, WindowStyleMask::titled);
    window->center();
    const auto visible = desktop.screens().primaryScreen()->visibleFrame();
    EXPECT_DOUBLE_EQ(window->frame().midX(), visible.midX());
    EXPECT_GT(window->frame().midY(), visible.midY()) << "centred windows sit a little above the middle";

    const auto before = window->frame();
    window->toggleFullScreen();
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_EQ(window->frame(), (ScreenRect{0, 0, 1440, 900}));
    window->toggleFullScreen();
    EXPECT_EQ(window->frame(), before);
}

TEST_F(WindowTest, PanelsThatHideOnDeactivateGoWhenAnotherApplicationIsActivated) {
    application.activate(true);
    auto panel = Window::make<Panel>(ScreenRect{100, 100, 200, 100}, WindowStyleMask::titled);
    auto staying = Window::make<Panel>(ScreenRect{400, 100, 200, 100}, WindowStyleMask::nonactivatingPanel);
    staying->setHidesOnDeactivate(false);
    panel->orderFront();
    staying->orderFront();

    auto other = desktop.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    ASSERT_TRUE(other);
    (*other)->runningApplication()->activate({.ignoringOtherApps = true});

    EXPECT_FALSE(application.isActive());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(staying->isVisible());
}

// The trace says what a person sees: a panel made transparent has gone, as
// one ordered out has, and a transparent one ordered in has not appeared.
TEST_F(WindowTest, TheTraceFollowsWhatCanBeSeen) {
    auto panel = Window::make<Panel>(ScreenRect{100, 100, 200, 100}, WindowStyleMask::borderless);
    panel->setTitle("Web");
    const std::string shown = "panel shown \"Web\" #" + std::to_string(panel->windowNumber()) + " level 0 at ";
    const std::string hidden = "panel hidden \"Web\" #" + std::to_string(panel->windowNumber());
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> lines;
        bool onScreen;
    } steps[] = {
        {"ordered in", [&] { panel->orderFront(); }, {shown}, true},
        {"made transparent", [&] { panel->setAlphaValue(0); }, {hidden}, false},
        {"ordered out while transparent", [&] { panel->orderOut(); }, {}, false},
        {"ordered in while transparent", [&] { panel->orderBack(); }, {}, false},
        {"given alpha", [&] { panel->setAlphaValue(1); }, {shown}, true},
        {"half transparent", [&] { panel->setAlphaValue(0.5); }, {}, true},
        {"ordered out", [&] { panel->orderOut(); }, {hidden}, false},
        {"given alpha while out", [&] { panel->setAlphaValue(0); panel->setAlphaValue(1); }, {}, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        const auto before = uiTrace().size();
        step.act();
        const std::vector<std::string> lines(uiTrace().begin() + static_cast<std::ptrdiff_t>(before), uiTrace().end());
        ASSERT_EQ(lines.size(), step.lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(lines[i].starts_with(step.lines[i])) << lines[i];
        EXPECT_EQ(panel->isOnScreen(), step.onScreen);
    }
}

TEST_F(WindowTest, ControllerShowsItsWindowAndIsKnownToIt) {
    auto window = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled);
    auto controller = WindowController::make(window);
    EXPECT_EQ(window->windowController(), controller);
    controller->showWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(windows.visibleTitles().size(), 1u);
}

TEST_F(WindowTest, DestroyedWindowLeavesTheWindowServer) {
    int number = 0;
    {
        auto window = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled);
        window->orderFront();
        number = window->windowNumber();
    }
    EXPECT_FALSE(desktop.windowServer().windowInfo(number));
}

}  // namespace
}  // namespace tallowmere::platform
