#include <gtest/gtest.h>

#include <filesystem>

#include "platform/desktop/desktop_trace.h"
#include "platform/desktop/screen_lock_service.h"
#include "platform/gfx/png.h"
#include "platform/ui/button.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

// Written for a person to look at:
//   renderings/platform/lock_screen.png   the sign-in screen of a locked Mac
const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "platform";

bool near(const Pixel& pixel, const Color& color) {
    const auto rgba = color.rgba();
    auto close = [](std::uint8_t value, double component) { return std::abs(value - component * 255) <= 3; };
    return close(pixel.red, rgba.red) && close(pixel.green, rgba.green) && close(pixel.blue, rgba.blue);
}

class LockScreenTest : public testing::DesktopTest {
protected:
    LockScreenTest() {
        DesktopTrace::shared().onLine = [this](const std::string& line) { trace.push_back(line); };
    }
    void lock() {
        auto lockNow = ScreenLockService::shared().lockFunction();
        ASSERT_TRUE(lockNow);
        ASSERT_EQ((*lockNow)(), 0);
    }
    ScreenPoint fieldCentre() const {
        const auto field = ScreenLockService::signInFieldFrame(desktop.screens().primaryScreen()->frame());
        return {field.midX(), field.midY()};
    }

    std::vector<std::string> trace;
};

TEST_F(LockScreenTest, LockedScreenTakesEveryEventUntilThePersonSignsIn) {
    auto window = Window::make(ScreenRect{200, 200, 300, 200}, WindowStyleMask::titled);
    auto button = Button::make("OK");
    button->setFrame({20, 20, 120, 30});
    int pressed = 0;
    button->onAction = [&](Control&) { ++pressed; };
    window->setContentView(View::make());
    window->contentView()->addSubview(button);
    window->orderFront();
    const ScreenPoint onButton{280, 235};
    mouse.click(onButton);
    ASSERT_EQ(pressed, 1) << "the button is where the test clicks";

    lock();
    EXPECT_EQ(trace, (std::vector<std::string>{"screen locked"}));
    mouse.click(onButton);
    keyboard.press(KeyCode::escape);
    keyboard.press('a');
    EXPECT_EQ(pressed, 1) << "nothing behind the sign-in screen is reached";
    EXPECT_TRUE(ScreenLockService::shared().isLocked()) << "only the password field or Return signs in";

    struct Case {
        const char* how;
        std::function<void()> signIn;
    } cases[] = {
        {"a click on the password field", [&] { mouse.click(fieldCentre()); }},
        {"Return", [&] { keyboard.press(KeyCode::returnKey); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        if (!ScreenLockService::shared().isLocked()) lock();
        trace.clear();
        c.signIn();
        EXPECT_FALSE(ScreenLockService::shared().isLocked());
        EXPECT_EQ(trace, (std::vector<std::string>{"screen unlocked"}));
    }
    mouse.click(onButton);
    EXPECT_EQ(pressed, 2) << "signed in, the program takes clicks again";
}

TEST_F(LockScreenTest, SnapshotShowsTheSignInScreenOverEverything) {
    auto window = Window::make(ScreenRect{200, 200, 300, 200}, WindowStyleMask::titled);
    window->setBackgroundColor(Color::sRGB(0, 1, 0));
    window->orderFront();
    lock();
    auto picture = ScreenSnapshot::render();
    ASSERT_TRUE(picture) << picture.error().message;
    std::filesystem::create_directories(renderings);
    ASSERT_TRUE(writePng(*picture, renderings / "lock_screen.png"));

    EXPECT_FALSE(near(picture->pixel(300, 550), Color::sRGB(0, 1, 0))) << "the window shows through";
    EXPECT_FALSE(near(picture->pixel(1000, 12), ScreenSnapshot::menuBarColor)) << "the menu bar shows through";
    const auto field = ScreenLockService::signInFieldFrame(desktop.screens().primaryScreen()->frame());
    const Pixel inField = picture->pixel(static_cast<int>(field.maxX()) - 20, 900 - static_cast<int>(field.midY()));
    const Pixel beside = picture->pixel(static_cast<int>(field.maxX()) + 20, 900 - static_cast<int>(field.midY()));
    EXPECT_GT(inField.red, beside.red + 20) << "the password field is lighter than the screen around it";

    ScreenLockService::shared().unlock();
    auto unlocked = ScreenSnapshot::render();
    ASSERT_TRUE(unlocked);
    EXPECT_TRUE(near(unlocked->pixel(300, 550), Color::sRGB(0, 1, 0)));
}

}  // namespace
}  // namespace tallowmere::platform
