#include "platform/desktop/window_server.h"

#include <gtest/gtest.h>

#include "platform/gfx/canvas.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::AXRect;
using platform::ScreenRect;
using platform::WindowInfo;
using platform::WindowOrderingMode;
namespace WindowListOption = platform::WindowListOption;
namespace WindowLevel = platform::WindowLevel;

class WindowServerTest : public SimulatedDesktopTest {
  protected:
    void SetUp() override {
        editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
        notes = editor->addWindow({.title = "Notes", .frame = {100, 100, 800, 600}});
        todo = editor->addWindow({.title = "Todo", .frame = {150, 150, 400, 300}});
    }
    platform::WindowServer& server() { return desktop.windowServer(); }

    std::vector<std::string> listedTitles(unsigned options, int relativeTo = 0) {
        std::vector<std::string> titles;
        for (const WindowInfo& info : server().windowList(options, relativeTo)) {
            titles.push_back(info.name.value_or("?"));
        }
        return titles;
    }

    std::shared_ptr<platform::SimulatedApplication> editor;
    std::shared_ptr<platform::SimulatedWindow> notes, todo;
};

TEST_F(WindowServerTest, ListsFrontToBackByLevelWithTheProgramsOwnWindows) {
    setup.grantScreenCapture();
    const int status = server().registerOwnWindow({.frame = {1300, 876, 24, 24},
                                                   .title = "Status",
                                                   .level = WindowLevel::status,
                                                   .visible = true});
    const int panel = server().registerOwnWindow(
        {.frame = {600, 300, 300, 200}, .title = "Panel", .visible = true});
    const int hidden = server().registerOwnWindow({.frame = {0, 0, 10, 10}, .title = "Hidden"});
    EXPECT_EQ(listedTitles(WindowListOption::onScreenOnly),
              (std::vector<std::string>{"Status", "Panel", "Todo", "Notes"}));
    EXPECT_EQ(listedTitles(WindowListOption::all).size(), 5u) << "off-screen windows too";

    server().orderOwnWindow(panel, WindowOrderingMode::below, notes->windowNumber());
    EXPECT_EQ(listedTitles(WindowListOption::onScreenOnly),
              (std::vector<std::string>{"Status", "Todo", "Notes", "Panel"}));
    server().orderOwnWindow(hidden, WindowOrderingMode::above, todo->windowNumber());
    EXPECT_EQ(listedTitles(WindowListOption::onScreenAboveWindow, notes->windowNumber()),
              (std::vector<std::string>{"Status", "Hidden", "Todo"}));
    EXPECT_EQ(
        listedTitles(WindowListOption::onScreenBelowWindow | WindowListOption::includingWindow,
                     notes->windowNumber()),
        (std::vector<std::string>{"Notes", "Panel"}));
    EXPECT_EQ(listedTitles(WindowListOption::includingWindow, status),
              (std::vector<std::string>{"Status"}));

    // Own windows list in top-left coordinates, like every other window.
    EXPECT_EQ(server().windowInfo(status)->bounds, (AXRect{1300, 0, 24, 24}));
    EXPECT_EQ(server().windowInfo(status)->layer, WindowLevel::status);
    server().orderOwnWindow(hidden, WindowOrderingMode::out);
    server().removeOwnWindow(panel);
    EXPECT_EQ(listedTitles(WindowListOption::onScreenOnly),
              (std::vector<std::string>{"Status", "Todo", "Notes"}));
}

TEST_F(WindowServerTest, OtherApplicationsWindowNamesNeedScreenCapturePermission) {
    server().registerOwnWindow({.frame = {600, 300, 300, 200}, .title = "Panel", .visible = true});
    EXPECT_EQ(listedTitles(WindowListOption::onScreenOnly),
              (std::vector<std::string>{"Panel", "?", "?"}));
    EXPECT_FALSE(server().captureWindow(notes->windowNumber()));
    EXPECT_FALSE(server().requestScreenCaptureAccess());
    EXPECT_EQ(server().screenCaptureRequestCount(), 1);
    setup.grantScreenCapture();
    EXPECT_EQ(listedTitles(WindowListOption::onScreenOnly),
              (std::vector<std::string>{"Panel", "Todo", "Notes"}));
}

TEST_F(WindowServerTest, ClickThroughWindowsAreNotUnderThePointer) {
    const int overlay = server().registerOwnWindow({.frame = {0, 0, 1440, 900},
                                                    .title = "Overlay",
                                                    .level = WindowLevel::popUpMenu,
                                                    .visible = true,
                                                    .ignoresMouseEvents = true});
    EXPECT_EQ(server().windowAt({300, 500}), todo);
    server().setOwnWindowIgnoresMouseEvents(overlay, false);
    EXPECT_EQ(server().windowAt({300, 500})->windowNumber(), overlay);
}

TEST_F(WindowServerTest, CapturesPictureTheWindowAsItWasCaptured) {
    setup.grantScreenCapture();
    auto image = server().captureWindow(todo->windowNumber());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (platform::Size{400, 300}));
    todo->setTitle("Renamed later");
    todo->setFrame({0, 0, 10, 10});
    auto bitmap = image->render(1);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixelsWide(), 400);
    const auto body = bitmap->pixel(200, 200), bar = bitmap->pixel(5, 10);
    EXPECT_EQ(body.red, 255) << "a white window body";
    EXPECT_LT(bar.red, 240) << "a grey title bar at the top";
    // The same window captured again draws the same pixels.
    auto again = server().captureWindow(notes->windowNumber())->render(1);
    auto twice = server().captureWindow(notes->windowNumber())->render(1);
    ASSERT_TRUE(again && twice);
    EXPECT_TRUE(*again == *twice);

    notes->setMinimized(true);
    EXPECT_FALSE(server().captureWindow(notes->windowNumber())) << "not on screen";
}

TEST_F(WindowServerTest, ScreenCapturesDrawOwnWindowsThroughTheUiLayer) {
    const int panel = server().registerOwnWindow(
        {.frame = {1000, 100, 200, 100}, .title = "Panel", .visible = true});
    std::vector<int> drawn;
    server().drawOwnWindow = [&](platform::Canvas& canvas,
                                 const platform::SimulatedWindow& window) {
        drawn.push_back(window.windowNumber());
        canvas.setFillColor(platform::Color::sRGB(1, 0, 0));
        canvas.fillRect(platform::rect_cast<platform::LocalSpace>(window.screenFrame()));
    };
    auto shot = server().captureScreenRect({900, 50, 400, 200});
    ASSERT_TRUE(shot);
    auto bitmap = shot->render(1);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(drawn, (std::vector<int>{panel}));
    // Screen (1100, 150) is 200 pt from the capture's left and 100 pt up from its bottom.
    EXPECT_EQ(bitmap->pixel(200, 100).red, 255);
    EXPECT_EQ(bitmap->pixel(200, 100).green, 0);
    // Without permission the editor's windows are not in the picture: the desktop shows.
    auto behind = server().captureScreenRect({100, 300, 50, 50})->render(1);
    ASSERT_TRUE(behind);
    EXPECT_LT(behind->pixel(25, 25).red, 100);
}

}  // namespace
}  // namespace tallowmere::testing
