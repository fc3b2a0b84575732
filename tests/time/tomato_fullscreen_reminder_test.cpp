// Writes renderings/time/tomato_reminder.png under the build folder: the
// reminder on a 1440 × 900 screen.
#include "time/tomato_fullscreen_reminder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "localization/interface_language.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/screen_snapshot.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::Event;
using platform::EventType;

class TomatoFullscreenReminderTest : public DesktopTest {
protected:
    TomatoFullscreenReminderTest() { InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese); }
};

TEST_F(TomatoFullscreenReminderTest, GoneReminderLeavesNoMonitorThatSwallowsInput) {
    auto& monitors = platform::EventMonitors::shared();
    const std::size_t before = monitors.localMonitorCount();
    auto reminder = std::make_shared<TomatoFullscreenReminder>();
    reminder->showReminder();
    ASSERT_EQ(reminder->panels().size(), 1u);
    reminder.reset();
    EXPECT_EQ(monitors.localMonitorCount(), before);
    EXPECT_TRUE(windows.visible().empty()) << "the panels leave with their owner";

    int keys = 0;
    auto counter = monitors.addLocalMonitor(platform::eventMask(EventType::keyDown),
                                            [&](const Event& event) -> std::optional<Event> {
                                                ++keys;
                                                return event;
                                            });
    keyboard.press(53, "\x1b");
    EXPECT_EQ(keys, 1) << "Escape reaches the program again";
    advance(20);  // the pending hide was cancelled with it
    if (counter) monitors.removeMonitor(*counter);
}

TEST_F(TomatoFullscreenReminderTest, ShowingAgainKeepsOneReminder) {
    TomatoFullscreenReminder reminder;
    reminder.showReminder();
    reminder.showReminder();
    EXPECT_EQ(windows.visible().size(), 1u);
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 1u);
    reminder.dismissReminder();
    EXPECT_TRUE(windows.visible().empty());
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 0u);
}

TEST_F(TomatoFullscreenReminderTest, RendersBlackWithTheTomatoInTheMiddle) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    auto reminder = std::make_shared<TomatoFullscreenReminder>();
    reminder->showReminder();
    ASSERT_EQ(reminder->panels().size(), 1u);
    const auto& panel = *reminder->panels().front();
    const auto frame = panel.frame();
    auto made = platform::CairoCanvas::make({frame.width(), frame.height()}, 1);
    ASSERT_TRUE(made.ok());
    auto& canvas = **made;
    canvas.translate(-frame.minX(), -frame.minY());
    platform::ScreenSnapshot::drawOwnWindow(canvas, panel);
    const auto bitmap = canvas.bitmap();
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "time";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(platform::writePng(bitmap, folder / "tomato_reminder.png").ok());

    const auto corner = bitmap.pixel(5, 5);
    EXPECT_EQ(corner.red + corner.green + corner.blue, 0) << "the screen is covered in black";
    // The white message line lies below the middle.
    int whitish = 0;
    for (int y = 450; y < 560; ++y) {
        for (int x = 560; x < 880; ++x) {
            const auto p = bitmap.pixel(x, y);
            if (p.red > 200 && p.green > 200 && p.blue > 200) ++whitish;
        }
    }
    EXPECT_GT(whitish, 200) << "\"时间到了！\" is drawn in white";
}

}  // namespace
}  // namespace tallowmere::testing
