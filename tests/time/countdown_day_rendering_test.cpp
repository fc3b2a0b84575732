// Pictures a person can look at, written under the build folder:
//   renderings/time/countdown_card.png      the main window's card, 12 days ahead
//   renderings/time/countdown_editor.png    the editor on the stored day
//   renderings/time/countdown_reminder.png  the reminder on the day itself
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/gregorian_calendar.h"
#include "platform/base/iso8601.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "platform/ui/window_controller.h"
#include "support/desktop/desktop_fixture.h"
#include "support/scoped_time_zone.h"
#include "time/countdown_day_controller.h"

namespace tallowmere::testing {
namespace {

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "time";
constexpr double margin = 20, scale = 2;

class CountdownDayRenderingTest : public DesktopTest {
protected:
    ScopedTimeZone zone_{"Asia/Shanghai"};

    void SetUp() override {
        std::filesystem::create_directories(renderings);
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
        platform::UserDefaults::standard().set("interfaceLanguage", std::string("zh-Hans"));
        clock().setNow(platform::Iso8601::parse("2026-09-19T10:00:00+08:00").value());
    }

    void store(platform::CalendarDay day) {
        auto& defaults = platform::UserDefaults::standard();
        defaults.set(CountdownDayController::targetDateKey,
                     platform::PropertyValue(
                         platform::GregorianCalendar::current().startOfDay(day).timeIntervalSince1970()));
        defaults.set(CountdownDayController::titleKey, platform::PropertyValue(std::string("国庆旅行")));
        defaults.set(CountdownDayController::emojiKey, platform::PropertyValue(std::string("🏖️")));
    }

    // The window on a strip of desktop, written to `name`; its size in pixels.
    static platform::Size write(const platform::Window& window, const char* name) {
        const auto frame = window.frame();
        auto made = platform::CairoCanvas::make({frame.width() + 2 * margin, frame.height() + 2 * margin}, scale);
        EXPECT_TRUE(made.ok());
        auto& canvas = **made;
        canvas.setFillColor(platform::ScreenSnapshot::desktopColor);
        canvas.fillRect({0, 0, frame.width() + 2 * margin, frame.height() + 2 * margin});
        canvas.translate(margin - frame.minX(), margin - frame.minY());
        platform::ScreenSnapshot::drawOwnWindow(canvas, window);
        const auto bitmap = canvas.bitmap();
        EXPECT_TRUE(platform::writePng(bitmap, renderings / name).ok());
        return {static_cast<double>(bitmap.pixelsWide()), static_cast<double>(bitmap.pixelsHigh())};
    }
};

TEST_F(CountdownDayRenderingTest, CardEditorAndReminder) {
    store({2026, 10, 1});
    auto& controller = CountdownDayController::shared();

    auto cardWindow = platform::Window::make(platform::ScreenRect{100, 100, 420, 190},
                                             platform::WindowStyleMask{platform::WindowStyleMask::borderless});
    auto card = controller.makeCardView();
    cardWindow->setContentView(card);
    card->layoutSubtreeIfNeeded();
    EXPECT_EQ(write(*cardWindow, "countdown_card.png").width, (420 + 2 * margin) * scale);

    controller.presentEditor();
    write(*controller.editorWindowController()->window(), "countdown_editor.png");
    controller.cancelEditor();

    store({2026, 9, 19});
    controller.scheduleDueReminder();
    runUntilIdle();
    ASSERT_TRUE(controller.dueWindowController());
    const auto size = write(*controller.dueWindowController()->window(), "countdown_reminder.png");
    EXPECT_EQ(size.height, (CountdownDayController::reminderHeight + 2 * margin) * scale);
}

}  // namespace
}  // namespace tallowmere::testing
