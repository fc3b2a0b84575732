// Pictures a person can look at, written under the build folder:
//   renderings/time/calendar_october_2026.png   reached from 30 September, two events
//   renderings/time/calendar_february_2026.png  the Spring Festival rest days and make-up days
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "time/calendar_brand_artwork.h"
#include "time/calendar_panel_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::Pixel;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "time";
constexpr double margin = 20, scale = 2;

class CalendarRenderingTest : public CalendarPanelTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(renderings);
        // Measured with the fonts that draw it, as in the program.
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    }

    // The shown panel on a strip of desktop, written to `name`.
    platform::Bitmap write(const char* name) {
        auto panel = controller().panel();
        const auto frame = panel->frame();
        auto made = platform::CairoCanvas::make({frame.width() + 2 * margin, frame.height() + 2 * margin}, scale);
        EXPECT_TRUE(made.ok());
        auto& canvas = **made;
        canvas.setFillColor(platform::ScreenSnapshot::desktopColor);
        canvas.fillRect({0, 0, frame.width() + 2 * margin, frame.height() + 2 * margin});
        canvas.translate(margin - frame.minX(), margin - frame.minY());
        platform::ScreenSnapshot::drawOwnWindow(canvas, *panel);
        const auto bitmap = canvas.bitmap();
        EXPECT_TRUE(platform::writePng(bitmap, renderings / name).ok());
        return bitmap;
    }

    // The pixel at a point of the view (y up), 3 pt inside a cell's left edge.
    static Pixel insideCell(const platform::Bitmap& bitmap, const CalendarContentView& view, int index) {
        const auto cell = view.dayButtons()[static_cast<std::size_t>(index)]->frame();
        const double x = cell.minX() + 3 + margin, y = cell.midY() + margin;
        return bitmap.pixel(static_cast<int>(x * scale), static_cast<int>((view.frame().height() + 2 * margin - y) * scale));
    }

    static ::testing::AssertionResult near(Pixel actual, const platform::Color& expected) {
        const auto c = expected.rgba();
        auto off = [](int a, double e) { return std::abs(a - static_cast<int>(std::lround(255 * e))) > 6; };
        if (off(actual.red, c.red) || off(actual.green, c.green) || off(actual.blue, c.blue)) {
            return ::testing::AssertionFailure() << "pixel (" << int(actual.red) << ", " << int(actual.green) << ", "
                                                 << int(actual.blue) << ") is not " << expected.description();
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(CalendarRenderingTest, OctoberFromTheLastDayOfSeptember) {
    setToday("2026-09-30T10:00:00+08:00");
    calendars().setAuthorizationStatus(platform::CalendarAuthorizationStatus::fullAccess);
    addEvent("2026-10-01T00:00:00+08:00", "国庆出游", true, "家庭");
    addEvent("2026-10-09T19:30:00+08:00", "同学聚会");
    auto view = open();
    ASSERT_TRUE(view);
    view->showNextMonth();
    view->dayButtons()[3]->performClick();  // 1 October
    ASSERT_EQ(rows(*view), std::vector<std::string>{"全天  国庆出游"});
    const auto bitmap = write("calendar_october_2026.png");
    EXPECT_TRUE(near(insideCell(bitmap, *view, 3), CalendarBrandArtwork::accent())) << "the selected day is filled";
    EXPECT_FALSE(near(insideCell(bitmap, *view, 10), CalendarBrandArtwork::accent())) << "8 October is not";
}

TEST_F(CalendarRenderingTest, FebruaryWithTheSpringFestival) {
    setToday("2026-02-03T10:00:00+08:00");
    calendars().setAuthorizationStatus(platform::CalendarAuthorizationStatus::denied);
    auto view = open();
    ASSERT_TRUE(view);
    ASSERT_EQ(view->monthLabel().stringValue(), "2026年2月");
    const auto bitmap = write("calendar_february_2026.png");
    EXPECT_TRUE(near(insideCell(bitmap, *view, 8), CalendarBrandArtwork::accent())) << "today, 3 February, is selected";
}

}  // namespace
}  // namespace tallowmere::testing
