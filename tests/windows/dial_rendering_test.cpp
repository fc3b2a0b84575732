// Pictures a person can look at, written under the build folder:
//   renderings/windows/dial_themes.png   every dial theme, one placement chosen
//   renderings/windows/snap_preview.png  the preview over a desktop snapshot
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/application_icon.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "support/desktop/desktop_fixture.h"
#include "windows/dial_painter.h"
#include "windows/snap_engine.h"
#include "windows/snap_preview_overlay.h"

namespace tallowmere {
namespace {

using platform::Bitmap;
using platform::Color;
using platform::Pixel;
using platform::Rect;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "windows";

// A colour as 8-bit sRGB after painting over an opaque backdrop.
Pixel composited(const Color& color, const Color& backdrop) {
    const auto c = color.rgba(), b = backdrop.rgba();
    auto mix = [&](double top, double bottom) {
        return static_cast<std::uint8_t>(std::lround(255 * (top * c.alpha + bottom * (1 - c.alpha))));
    };
    return {mix(c.red, b.red), mix(c.green, b.green), mix(c.blue, b.blue), 255};
}

::testing::AssertionResult near(Pixel actual, Pixel expected, int tolerance = 4) {
    auto off = [&](int a, int e) { return std::abs(a - e) > tolerance; };
    if (off(actual.red, expected.red) || off(actual.green, expected.green) || off(actual.blue, expected.blue)) {
        return ::testing::AssertionFailure() << "pixel (" << int(actual.red) << ", " << int(actual.green) << ", "
                                             << int(actual.blue) << "), expected about (" << int(expected.red) << ", "
                                             << int(expected.green) << ", " << int(expected.blue) << ")";
    }
    return ::testing::AssertionSuccess();
}

class DialRenderingTest : public testing::DesktopTest {
protected:
    void SetUp() override { std::filesystem::create_directories(renderings); }
};

TEST_F(DialRenderingTest, ContactSheetOfEveryTheme) {
    constexpr int columns = 8;
    constexpr double cellWidth = 130, cellHeight = 150, dial = 106, scale = 2;
    const int rows = static_cast<int>((windowDialThemeCount + columns - 1) / columns);
    const Color backdrop = Color::sRGB(0.5, 0.5, 0.5);
    auto made = platform::CairoCanvas::make({columns * cellWidth, rows * cellHeight}, scale);
    ASSERT_TRUE(made.ok());
    auto& canvas = **made;
    canvas.setFillColor(backdrop);
    canvas.fillRect({0, 0, columns * cellWidth, rows * cellHeight});

    const std::vector<SnapTarget> targets(allSnapTargets.begin(), allSnapTargets.end() - 1);
    // Where each theme's dial sits: cells run left to right from the top row.
    auto dialOrigin = [&](std::size_t i) {
        const double column = static_cast<double>(i % columns), row = static_cast<double>(i / columns);
        return platform::Point{column * cellWidth + (cellWidth - dial) / 2, (rows - 1 - row) * cellHeight + 30};
    };
    for (std::size_t i = 0; i < windowDialThemeCount; ++i) {
        const auto& theme = windowDialThemeTable[i];
        const auto origin = dialOrigin(i);
        canvas.save();
        canvas.translate(origin.x, origin.y);
        DialPainter(canvas, {0, 0, dial, dial}, theme.theme, 1, ApplicationIcon::image())
            .paint(targets, targets[i % targets.size()]);
        canvas.restore();
        canvas.drawText(theme.name, {origin.x, origin.y - 22}, platform::Font::systemFont(11), Color::white());
    }
    const Bitmap sheet = canvas.bitmap();
    ASSERT_TRUE(platform::writePng(sheet, renderings / "dial_themes.png").ok());

    // Spot checks, in pixels from the top-left: the plain disc below the
    // centre of `arc`, and its chosen top-left placement's highlight beside
    // the arrow.
    auto pixelAt = [&](std::size_t theme, platform::Point local) {
        const auto origin = dialOrigin(theme);
        const double x = origin.x + local.x, y = rows * cellHeight - (origin.y + local.y);
        return sheet.pixel(static_cast<int>(x * scale), static_cast<int>(y * scale));
    };
    const Pixel disc = composited(background(WindowDialTheme::arc), backdrop);
    EXPECT_TRUE(near(pixelAt(0, {53, 13}), disc)) << "arc's disc";
    const Color highlight = DialPainter::highlightColor(WindowDialTheme::arc, SnapTarget::topLeft);
    const auto over = composited(highlight, Color::sRGB(disc.red / 255.0, disc.green / 255.0, disc.blue / 255.0));
    EXPECT_TRUE(near(pixelAt(0, {26, 67.4}), over)) << "arc's highlight";
    EXPECT_TRUE(near(pixelAt(0, {2, 2}), composited(backdrop, backdrop))) << "outside the disc";
}

TEST_F(DialRenderingTest, PreviewOverlayOnTheScreen) {
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    editor->addWindow({.title = "Notes.txt", .frame = {160, 120, 700, 480}});
    auto front = editor->addWindow({.title = "Plan.md", .frame = {520, 260, 760, 520}});
    desktop.activate(*editor);
    const auto before = platform::ScreenSnapshot::render();
    ASSERT_TRUE(before.ok());

    SnapPreviewOverlay overlay;
    SnapEngine engine;
    const auto frame = engine.targetFrame(front->frame(), SnapTarget::left, nullptr);
    ASSERT_TRUE(frame);
    overlay.show(*frame);
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(renderings / "snap_preview.png").ok());
    const auto after = platform::ScreenSnapshot::render();
    ASSERT_TRUE(after.ok());

    // Pixels from the top-left of the 1440 × 900 screen; the overlay covers
    // x 0 ... 720 under the menu bar.
    const Color blue = Color::system(platform::SystemColor::blue);
    auto backdropAt = [&](int x, int y) {
        const Pixel p = before->pixel(x, y);
        return Color::sRGB(p.red / 255.0, p.green / 255.0, p.blue / 255.0);
    };
    EXPECT_TRUE(near(after->pixel(360, 500), composited(blue.withAlphaComponent(0.09), backdropAt(360, 500))))
        << "the tinted inside";
    EXPECT_TRUE(near(after->pixel(0, 500), composited(blue.withAlphaComponent(0.72), backdropAt(0, 500)), 20))
        << "the border";
    EXPECT_EQ(after->pixel(1000, 500), before->pixel(1000, 500)) << "right of the preview";
}

}  // namespace
}  // namespace tallowmere
