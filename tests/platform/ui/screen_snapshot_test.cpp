#include <gtest/gtest.h>

#include "platform/gfx/canvas.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

// A solid square, to find the item's drawing in the pixels.
Image solidSquare(const Color& color) {
    return Image::withHandler({16, 16}, [color](Canvas& canvas, Rect rect) {
        canvas.setFillColor(color);
        canvas.fillRect(rect);
        return true;
    });
}

bool near(const Pixel& pixel, const Color& color) {
    const auto rgba = color.rgba();
    auto close = [](std::uint8_t value, double component) { return std::abs(value - component * 255) <= 3; };
    return close(pixel.red, rgba.red) && close(pixel.green, rgba.green) && close(pixel.blue, rgba.blue);
}

class ScreenSnapshotTest : public testing::DesktopTest {};

TEST_F(ScreenSnapshotTest, PngShowsTheMenuBarWithTwoStatusItemsOverTheDesktop) {
    const auto red = Color::sRGB(1, 0, 0), blue = Color::sRGB(0, 0, 1);
    auto first = StatusBar::shared().statusItem(32);
    first->button()->setImage(solidSquare(red));
    auto second = StatusBar::shared().statusItem(32);
    second->button()->setImage(solidSquare(blue));
    auto window = Window::make(ScreenRect{200, 200, 300, 200}, WindowStyleMask::titled);
    window->setBackgroundColor(Color::sRGB(0, 1, 0));
    window->orderFront();

    const auto file = home() / "snapshot.png";
    ASSERT_TRUE(ScreenSnapshot::writePng(file));
    auto decoded = readPng(file);
    ASSERT_TRUE(decoded) << decoded.error().message;
    const Bitmap& image = *decoded;
    ASSERT_EQ(image.pixelsWide(), 1440);
    ASSERT_EQ(image.pixelsHigh(), 900);

    // Rows count from the top: the menu bar is rows 0 to 23.
    EXPECT_TRUE(near(image.pixel(1000, 12), ScreenSnapshot::menuBarColor));
    EXPECT_TRUE(near(image.pixel(1000, 23), ScreenSnapshot::menuBarColor));
    EXPECT_TRUE(near(image.pixel(1000, 24), ScreenSnapshot::desktopColor)) << "the menu bar is taller than 24 points";
    EXPECT_TRUE(near(image.pixel(700, 450), ScreenSnapshot::desktopColor));

    auto centreRow = [](const StatusItem& item) { return 900 - static_cast<int>(item.frame().midY()); };
    EXPECT_TRUE(near(image.pixel(static_cast<int>(first->frame().midX()), centreRow(*first)), red));
    EXPECT_TRUE(near(image.pixel(static_cast<int>(second->frame().midX()), centreRow(*second)), blue));
    EXPECT_LT(second->frame().midX(), first->frame().midX());

    // The window's content, below its title bar.
    const auto p = image.pixel(350, 900 - 300);
    EXPECT_TRUE(near(p, Color::sRGB(0, 1, 0))) << int(p.red) << "," << int(p.green) << "," << int(p.blue);
}

TEST_F(ScreenSnapshotTest, HiddenWindowsAreNotDrawn) {
    auto window = Window::make(ScreenRect{200, 200, 300, 200}, WindowStyleMask::borderless);
    window->setBackgroundColor(Color::sRGB(0, 1, 0));
    window->orderFront();
    window->orderOut();
    auto bitmap = ScreenSnapshot::render();
    ASSERT_TRUE(bitmap);
    EXPECT_TRUE(near(bitmap->pixel(350, 600), ScreenSnapshot::desktopColor));
}

TEST_F(ScreenSnapshotTest, DesktopCapturesDrawTheProgramsWindows) {
    auto window = Window::make(ScreenRect{200, 200, 300, 200}, WindowStyleMask::borderless);
    window->setBackgroundColor(Color::sRGB(0, 1, 0));
    window->orderFront();
    auto capture = desktop.windowServer().captureScreenRect(ScreenRect{250, 250, 20, 20});
    ASSERT_TRUE(capture);
    auto pixels = capture->render();
    ASSERT_TRUE(pixels);
    EXPECT_TRUE(near(pixels->pixel(10, 10), Color::sRGB(0, 1, 0)));
}

TEST_F(ScreenSnapshotTest, ArrangementShowsEveryScreenInItsPlaceAndOtherWindowsWithTheirButtons) {
    // A smaller screen to the right, its top level with the primary's.
    setup.addScreen({.frame = {1440, 300, 800, 600}, .isBuiltIn = false});
    desktop.screens().setDock({DockEdge::bottom, 64});
    auto app = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    ASSERT_TRUE(app);
    auto window = app->addWindow({.title = "Notes", .frame = {1500, 100, 400, 300}});
    // Selected blanks, so the highlight shows without glyphs over it.
    window->addElement({.role = AXRole::textArea, .frame = {0, 28, 400, 272}, .value = "      x",
                        .selectedRange = AXRange{0, 6}});

    const auto file = home() / "arrangement.png";
    ASSERT_TRUE(ScreenSnapshot::writeArrangementPng(file));
    auto decoded = readPng(file);
    ASSERT_TRUE(decoded) << decoded.error().message;
    const Bitmap& image = *decoded;
    ASSERT_EQ(image.pixelsWide(), 2240);
    ASSERT_EQ(image.pixelsHigh(), 900);
    struct Case {
        const char* what;
        int x, y;  // from the picture's top-left
        Color color;
    } cases[] = {
        {"the primary screen's desktop", 700, 500, ScreenSnapshot::desktopColor},
        {"nothing below the smaller screen", 1800, 700, Color::black()},
        {"the Dock, in the middle of the primary screen's bottom", 720, 896, Color::sRGB(0.4995, 0.5645, 0.6555)},
        {"the window on the second screen", 1700, 300, Color::white()},
        {"its close button", 1515, 114, Color::sRGB(1.0, 0.37, 0.34)},
        {"its minimise button", 1535, 114, Color::sRGB(1.0, 0.74, 0.18)},
        {"its zoom button", 1555, 114, Color::sRGB(0.16, 0.79, 0.25)},
        {"its selected text, 8 pt in from the text's corner", 1512, 140, Color::sRGB(0.70, 0.84, 1.0)},
        {"its text after the selection", 1500 + 8 + 6 * 13 + 30, 140, Color::white()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(near(image.pixel(c.x, c.y), c.color));
    }
    // The buttons are drawn where the window's button elements are.
    const auto& buttons = window->children();
    ASSERT_GE(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->subrole(), AXSubrole::closeButton);
    EXPECT_TRUE(buttons[0]->axFrame().contains(AXPoint{1515, 114}));
    EXPECT_TRUE(buttons[1]->axFrame().contains(AXPoint{1535, 114}));

    for (const auto& refused : {home() / "missing/arrangement.png", std::filesystem::path("relative.png")}) {
        SCOPED_TRACE(refused.string());
        EXPECT_FALSE(ScreenSnapshot::writeArrangementPng(refused).ok());
        EXPECT_FALSE(std::filesystem::exists(refused));
    }
}

}  // namespace
}  // namespace tallowmere::platform
