// Pictures written under the build folder:
//   renderings/selection/toolbar_glyphs_1x.png, toolbar_glyphs_2x.png
//     the eyedropper, then every drawn glyph in table order
#include "selection/clip_toolbar_glyph.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "selection";
constexpr const char* drawnNames[] = {"copy", "cut", "paste", "search", "translate", "colorPicker", "screenRuler", "screenshot"};

using ClipToolbarGlyphTest = testing::SimulatedDesktopTest;

bool inked(const platform::Bitmap& bitmap, double x, double y) {
    const double s = bitmap.scale();
    return bitmap.pixel(static_cast<int>(x * s), static_cast<int>(y * s)).alpha > 0;
}

TEST_F(ClipToolbarGlyphTest, GlyphsAreTemplatesDrawnTopDown) {
    struct Case {
        const char* name;
        platform::Point ink, blank;  // points of the 16 × 16 box, y down
    } cases[] = {
        {"search", {12, 12}, {12, 3}},           // the handle runs to the lower right
        {"copy", {9, 1.5}, {9, 14.5}},           // the back sheet's top edge
        {"screenRuler", {4, 5.5}, {4, 10.5}},    // ticks hang from the top edge
        {"screenshot", {8, 8}, {3.5, 8}},        // the cross in the middle
        {"unknown name", {8, 8}, {3.5, 8}},      // falls to the capture frame
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = ClipToolbarGlyph::image(c.name);
        EXPECT_TRUE(image.isTemplate());
        EXPECT_EQ(image.size(), (platform::Size{16, 16}));
        auto bitmap = image.render(2);
        ASSERT_TRUE(bitmap.ok());
        EXPECT_TRUE(inked(*bitmap, c.ink.x, c.ink.y));
        EXPECT_FALSE(inked(*bitmap, c.blank.x, c.blank.y));
    }
    EXPECT_TRUE(ClipToolbarGlyph::image("colorPicker").isTemplate());
}

TEST_F(ClipToolbarGlyphTest, ContactSheetAtOneAndTwoTimes) {
    std::filesystem::create_directories(renderings);
    std::vector<platform::Image> glyphs{ClipToolbarGlyph::image("colorPicker")};
    for (const char* name : drawnNames) glyphs.push_back(ClipToolbarGlyph::drawing(name));
    for (double scale : {1.0, 2.0}) {
        const double cell = 24;
        auto canvas = platform::CairoCanvas::make({cell * static_cast<double>(glyphs.size()), cell}, scale);
        ASSERT_TRUE(canvas.ok());
        (*canvas)->setFillColor(platform::Color::white());
        (*canvas)->fillRect({0, 0, cell * static_cast<double>(glyphs.size()), cell});
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            auto tinted = glyphs[i].tinted(platform::Color::black());
            (*canvas)->drawImage(tinted, {cell * static_cast<double>(i) + 4, 4, 16, 16});
        }
        auto bitmap = (*canvas)->bitmap();
        const auto file = renderings / (scale == 1 ? "toolbar_glyphs_1x.png" : "toolbar_glyphs_2x.png");
        EXPECT_TRUE(platform::writePng(bitmap, file).ok()) << file;
    }
}

TEST_F(ClipToolbarGlyphTest, ItemWidthIsTheTitlePlusRoomForTheGlyph) {
    struct Case {
        double measured;
        int minimum, width;
    } cases[] = {
        {0, 58, 58}, {30, 58, 58}, {30.01, 58, 59}, {40.2, 58, 69}, {90, 88, 118}, {-1, 70, 70},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.measured);
        EXPECT_EQ(selvaneToolbarItemWidth(c.measured, c.minimum), c.width);
    }
    // The fixture measures 7.5 pt per Latin letter and 15 per Chinese one at 15 pt.
    EXPECT_EQ(selvaneToolbarItemWidth("复制", 58), 58);
    EXPECT_EQ(selvaneToolbarItemWidth("Screen Ruler", 88), 118);
}

}  // namespace
}  // namespace tallowmere
