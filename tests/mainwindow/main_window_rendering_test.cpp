// Pictures a person can look at, written under the build folder with the
// machine's real fonts:
//   renderings/mainwindow/page1-<language>-<appearance>-<width>.png
// page 1 of the main window at 1440 and 900 points wide, in Simplified
// Chinese and English, light and dark;
//   renderings/mainwindow/page2-<language>-<appearance>.png
// page 2 at 1440 points wide, the same four ways.
#include <gtest/gtest.h>

#include <filesystem>

#include "main_window_fixture.h"
#include "mainwindow/horizontal_paging_coordinator.h"
#include "mainwindow/wrapping_columns_view.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/stack_view.h"

namespace tallowmere::testing {
namespace {

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "mainwindow";
constexpr double scale = 2;

// Both languages the pictures are checked in, light and dark.
struct Look {
    InterfaceLanguage::Value language;
    platform::Appearance appearance;
};
constexpr Look looks[] = {
    {InterfaceLanguage::simplifiedChinese, platform::Appearance::light},
    {InterfaceLanguage::simplifiedChinese, platform::Appearance::dark},
    {InterfaceLanguage::english, platform::Appearance::light},
    {InterfaceLanguage::english, platform::Appearance::dark},
};

class MainWindowRenderingTest : public MainWindowTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(renderings);
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    }

    // The window at `width`, tall enough for all of page 1, drawn to `name`.
    platform::Bitmap render(double width, const std::string& name) {
        const double height = layOutPageOne(width);
        auto window = controller().window();
        auto made = platform::CairoCanvas::make({width, height}, scale);
        EXPECT_TRUE(made.ok());
        auto& canvas = **made;
        platform::ScreenSnapshot::drawOwnWindow(canvas, *window);
        auto bitmap = canvas.bitmap();
        EXPECT_TRUE(platform::writePng(bitmap, renderings / name).ok());
        return bitmap;
    }

    // The window 1440 wide on page 2, tall enough for all of it, drawn to `name`.
    platform::Bitmap renderPageTwo(const std::string& name) {
        controller().pagingCoordinator()->showSecondPage();
        advance(0.34);
        auto window = controller().window();
        window->setFrame({0, 0, 1440, 900});
        window->contentView()->layoutSubtreeIfNeeded();
        const double height = controller().secondPageStack()->fittingHeightForWidth(1440 - 60) + 30 + 18 + 12 + 20;
        window->setFrame({0, 0, 1440, height});
        window->contentView()->layoutSubtreeIfNeeded();
        auto made = platform::CairoCanvas::make({1440, height}, scale);
        EXPECT_TRUE(made.ok());
        auto& canvas = **made;
        platform::ScreenSnapshot::drawOwnWindow(canvas, *window);
        auto bitmap = canvas.bitmap();
        EXPECT_TRUE(platform::writePng(bitmap, renderings / name).ok());
        return bitmap;
    }

    // The colour at a point of the window (y up), in 0...255.
    static std::array<int, 3> colourAt(const platform::Bitmap& bitmap, platform::Point point, double height) {
        const auto pixel = bitmap.pixel(static_cast<int>(point.x * scale), static_cast<int>((height - point.y) * scale));
        return {pixel.red, pixel.green, pixel.blue};
    }
};

TEST_F(MainWindowRenderingTest, PageOneInBothLanguagesAndAppearancesAtTwoWidths) {
    for (const auto& c : looks) {
        InterfaceLanguage::setCurrent(c.language);
        application.setAppearance(c.appearance);
        controller_.reset();
        const bool dark = c.appearance == platform::Appearance::dark;
        for (double width : {1440.0, 900.0}) {
            const std::string name = "page1-" + std::string(InterfaceLanguage(c.language).rawValue()) +
                                     (dark ? "-dark-" : "-light-") +
                                     std::to_string(static_cast<int>(width)) + ".png";
            SCOPED_TRACE(name);
            const auto bitmap = render(width, name);
            const double height = controller().window()->frame().height();
            // Page margin and a card's inside, just under the first card's top edge.
            const auto page = colourAt(bitmap, {12, height / 2}, height);
            auto columns = std::static_pointer_cast<WrappingColumnsView>(
                std::static_pointer_cast<platform::StackView>(controller().mainLayoutRoot())->arrangedSubviews()[1]);
            auto card = std::static_pointer_cast<platform::StackView>(columns->columns()[0].view)->arrangedSubviews()[0];
            const auto cardFrame = card->convert(card->bounds(), nullptr);
            const auto inside = colourAt(bitmap, {cardFrame.minX() + 9, cardFrame.maxY() - 6}, height);
            EXPECT_EQ(page, dark ? (std::array<int, 3>{28, 28, 30}) : (std::array<int, 3>{242, 242, 247}));
            EXPECT_EQ(inside, dark ? (std::array<int, 3>{44, 44, 46}) : (std::array<int, 3>{255, 255, 255}));
        }
    }
}

TEST_F(MainWindowRenderingTest, PageTwoInBothLanguagesAndAppearances) {
    for (const auto& c : looks) {
        InterfaceLanguage::setCurrent(c.language);
        application.setAppearance(c.appearance);
        controller_.reset();
        const std::string name = "page2-" + std::string(InterfaceLanguage(c.language).rawValue()) +
                                 (c.appearance == platform::Appearance::dark ? "-dark" : "-light") + ".png";
        SCOPED_TRACE(name);
        const auto bitmap = renderPageTwo(name);
        const double height = controller().window()->frame().height();
        // Just inside the buddy card's top-left corner its blue wash shows
        // over the card's own colour.
        auto columns = std::static_pointer_cast<WrappingColumnsView>(controller().secondPageStack()->arrangedSubviews()[1]);
        auto buddyCard = std::static_pointer_cast<platform::StackView>(columns->columns()[0].view)->arrangedSubviews()[1];
        const auto cardFrame = buddyCard->convert(buddyCard->bounds(), nullptr);
        const auto inside = colourAt(bitmap, {cardFrame.minX() + 12, cardFrame.maxY() - 8}, height);
        EXPECT_GT(inside[2], inside[0] + 12) << "the buddy card is not washed blue";
    }
}

}  // namespace
}  // namespace tallowmere::testing
