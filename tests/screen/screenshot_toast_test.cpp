// Also writes a picture a person can look at, under the build folder:
//   renderings/screen/toast.png   the toast over the desktop
#include "screen/screenshot_toast.h"

#include <filesystem>

#include "platform/desktop/window_level.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "screen";

class ScreenshotToastTest : public DesktopTest {
protected:
    ScreenshotToast& toast() { return ScreenshotToast::shared(); }
    bool shown() { return toast().panel() && toast().panel()->isVisible(); }
};

TEST_F(ScreenshotToastTest, OnlyTheDefaultMessageGetsTheNarrowPanel) {
    struct Case {
        std::string message;
        double width;
    } cases[] = {
        {"已复制到剪切板", 200},
        {"已复制到剪切板，并保存到桌面", 280},
        {"好", 280},  // shorter than the default, still the wide panel
        {"", 280},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        toast().show(c.message);
        const auto frame = toast().panel()->frame();
        EXPECT_EQ(frame.size.width, c.width);
        EXPECT_EQ(frame.size.height, 44);
        // Centred on the full 1440 × 900 frame, menu bar included.
        EXPECT_EQ(frame.midX(), 720);
        EXPECT_EQ(frame.midY(), 450);
    }
}

TEST_F(ScreenshotToastTest, FloatsAboveEverythingWithoutTakingClicksOrFocus) {
    toast().show();
    const auto panel = toast().panel();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->level(), platform::WindowLevel::status);
    EXPECT_EQ(panel->collectionBehavior().rawValue, 257u);
    EXPECT_TRUE(panel->ignoresMouseEvents()) << "clicks on the toast must reach the window below";
    EXPECT_EQ(panel->styleMask().rawValue, platform::WindowStyleMask::nonactivatingPanel);
    EXPECT_FALSE(panel->hidesOnDeactivate());
    EXPECT_FALSE(panel->isKeyWindow());
    std::filesystem::create_directories(renderings);
    EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / "toast.png").ok());

    toast().show("again");
    EXPECT_EQ(toast().panel(), panel) << "one panel for the whole process";
}

TEST_F(ScreenshotToastTest, CentresOnTheScreenUnderThePointer) {
    setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    mouse.moveTo({2000, 300});
    toast().show();
    const auto frame = toast().panel()->frame();
    EXPECT_EQ(frame.midX(), 1440 + 960);
    EXPECT_EQ(frame.midY(), 540);
}

TEST_F(ScreenshotToastTest, HidesSevenTenthsOfASecondAfterTheLastShow) {
    toast().show();
    advance(0.5);
    toast().show("second");
    advance(0.69);
    EXPECT_TRUE(shown()) << "the first show's hide must not cut the second short";
    advance(0.02);
    EXPECT_FALSE(shown());
    toast().show();
    EXPECT_TRUE(shown()) << "the panel comes back after hiding";
}

}  // namespace
}  // namespace tallowmere::testing
