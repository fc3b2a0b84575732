#include <filesystem>
#include <string>

#include "app/app_delegate.h"
#include "app/status_bar_icon_images.h"
#include "app/status_bar_icon_preference.h"
#include "app_delegate_fixture.h"
#include "localization/interface_language.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/gfx/recording_canvas.h"
#include "platform/system/bundle.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"

namespace tallowmere::testing {
namespace {

using namespace platform;
using StatusBarIconPreference::Style;

std::filesystem::path renderings() {
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings";
    std::filesystem::create_directories(folder);
    return folder;
}

int opaquePixels(const Bitmap& bitmap) {
    int count = 0;
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        for (int x = 0; x < bitmap.pixelsWide(); ++x) count += bitmap.pixel(x, y).alpha > 200;
    }
    return count;
}

class StatusBarIconImagesTest : public AppDelegateTest {};

TEST_F(StatusBarIconImagesTest, EachStyleHasItsPictureFlagsAndDescription) {
    struct Case {
        Style style;
        bool isTemplate;
        std::string description;
    } cases[] = {
        {Style::color, false, "塔洛梅百宝箱 小猫头像"},
        {Style::pixel, false, "像素塔洛梅"},
        {Style::outline, true, "塔洛梅百宝箱 原图线框猫头像"},
        {Style::cartoonInkpaw, false, "虎头虎脑墨爪"},
        {Style::gentleInkpaw, false, "温柔墨爪"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(StatusBarIconPreference::rawValue(c.style)));
        const Image image = StatusBarIconImages::statusBarIconImage(c.style);
        EXPECT_EQ(image.size(), (Size{22, 22}));
        EXPECT_EQ(image.isTemplate(), c.isTemplate);
        EXPECT_EQ(image.accessibilityDescription(), c.description);
        EXPECT_TRUE(image.drawHandler()) << "redrawn at the scale of the screen that shows it";
        auto pixels = image.render(2);
        ASSERT_TRUE(pixels.ok());
        EXPECT_GT(opaquePixels(*pixels), 200) << "the picture is drawn";
    }
}

TEST_F(StatusBarIconImagesTest, PixelStyleKeepsHardEdgesAndMascotsAreSmoothed) {
    struct Case {
        Style style;
        ImageInterpolation interpolation;
        double clipRadius;
    } cases[] = {
        {Style::pixel, ImageInterpolation::none, 4},
        {Style::cartoonInkpaw, ImageInterpolation::high, 5},
        {Style::gentleInkpaw, ImageInterpolation::high, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(StatusBarIconPreference::rawValue(c.style)));
        RecordingCanvas canvas({22, 22});
        const Image image = StatusBarIconImages::statusBarIconImage(c.style);
        (*image.drawHandler())(canvas, Rect{0, 0, 22, 22});
        const auto drawn = canvas.operationsOf<RecordingCanvas::ImageOp>();
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].state.imageInterpolation, c.interpolation);
        const auto clips = canvas.operationsOf<RecordingCanvas::ClipOp>();
        ASSERT_EQ(clips.size(), 1u);
        EXPECT_EQ(clips[0].path, Path::roundedRect({0, 0, 22, 22}, c.clipRadius));
    }
}

TEST_F(StatusBarIconImagesTest, OutlineKeepsOnlyTheDarkLines) {
    auto mask = StatusBarIconImages::makeInkStatusBarIcon("StatusOutline", false, false, Color::sRGB(1, 0, 0));
    ASSERT_TRUE(mask);
    EXPECT_FALSE(mask->isTemplate());
    auto pixels = mask->render(4);
    ASSERT_TRUE(pixels.ok());
    // The picture's white background is gone; its lines are painted in the tint.
    int red = 0, other = 0, clear = 0;
    for (int y = 0; y < pixels->pixelsHigh(); ++y) {
        for (int x = 0; x < pixels->pixelsWide(); ++x) {
            const Pixel p = pixels->pixel(x, y);
            if (p.alpha < 30) ++clear;
            else if (p.alpha > 200) (p.red > 200 && p.green < 40 && p.blue < 40) ? ++red : ++other;
        }
    }
    EXPECT_GT(clear, pixels->pixelsWide() * pixels->pixelsHigh() / 2);
    EXPECT_GT(red, 100);
    EXPECT_EQ(other, 0);
    EXPECT_FALSE(StatusBarIconImages::makeInkStatusBarIcon("NoSuchPicture", true, false, Color::black()));
}

TEST_F(StatusBarIconImagesTest, AMissingPictureFallsBackToTheColourIcon) {
    struct Case {
        Style style;
        const char* resource;
    } cases[] = {
        {Style::pixel, "StatusPixelTallowmere"},
        {Style::outline, "StatusOutline"},
        {Style::cartoonInkpaw, "StatusCartoonInkpaw"},
        {Style::gentleInkpaw, "StatusGentleInkpaw"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resource);
        Bundle::main().setResource(c.resource, "png", std::nullopt);
        const Image image = StatusBarIconImages::statusBarIconImage(c.style);
        EXPECT_EQ(image.accessibilityDescription(), "塔洛梅百宝箱 小猫头像");
        EXPECT_FALSE(image.isTemplate());
        const Image preview = StatusBarIconImages::statusBarIconLargePreviewImage(c.style);
        EXPECT_EQ(preview.size(), (Size{22, 22})) << "the preview falls back to the menu-bar picture";
        // A resource that is there but is no picture falls back the same way.
        Bundle::main().setResource(c.resource, "png", std::string("not a picture"));
        EXPECT_EQ(StatusBarIconImages::statusBarIconImage(c.style).accessibilityDescription(),
                  "塔洛梅百宝箱 小猫头像");
    }
}

TEST_F(StatusBarIconImagesTest, LargePreviewIsThePictureAtItsOwnSize) {
    EXPECT_EQ(StatusBarIconImages::statusBarIconLargePreviewImage(Style::cartoonInkpaw).size(), (Size{64, 64}));
    EXPECT_EQ(StatusBarIconImages::statusBarIconLargePreviewImage(Style::pixel).size(), (Size{22, 22}));
    EXPECT_GT(StatusBarIconImages::statusBarIconLargePreviewImage(Style::color).size().width, 22);
}

TEST_F(StatusBarIconImagesTest, ChangingTheStyleRedrawsTheMainItemWithoutARelaunch) {
    launch({"--finder-action"});
    auto button = delegate().statusItem()->button();
    ASSERT_TRUE(button->image());
    EXPECT_EQ(button->image()->accessibilityDescription(), "塔洛梅百宝箱 小猫头像");
    StatusBarIconPreference::setStyle(Style::outline);
    ASSERT_TRUE(button->image());
    EXPECT_TRUE(button->image()->isTemplate());
    EXPECT_EQ(button->image()->accessibilityDescription(), "塔洛梅百宝箱 原图线框猫头像");
}

// Pictures for a person to look at: every style on a light and a dark menu
// bar, as the menu bar shows them at twice the points.
TEST_F(StatusBarIconImagesTest, WritesEveryStyleOnLightAndDarkMenuBars) {
    struct Bar {
        const char* name;
        Color background;
        Color templateTint;
    } bars[] = {{"light", Color::sRGB(0.93, 0.93, 0.94), Color::black()},
                {"dark", Color::sRGB(0.16, 0.16, 0.18), Color::white()}};
    for (const auto& bar : bars) {
        for (Style style : StatusBarIconPreference::allStyles) {
            const std::string name = std::string(StatusBarIconPreference::rawValue(style));
            SCOPED_TRACE(name + " " + bar.name);
            auto canvas = CairoCanvas::make({44, 30}, 4);
            ASSERT_TRUE(canvas.ok());
            (*canvas)->setFillColor(bar.background);
            (*canvas)->fillRect({0, 0, 44, 30});
            Image image = StatusBarIconImages::statusBarIconImage(style);
            if (image.isTemplate()) image = image.tinted(bar.templateTint);
            (*canvas)->drawImage(image, {11, 4, 22, 22});
            const auto file = renderings() / ("status_icon_" + name + "_" + bar.name + ".png");
            ASSERT_TRUE(writePng((*canvas)->bitmap(), file).ok());
            EXPECT_TRUE(std::filesystem::exists(file));
        }
    }
}

TEST_F(StatusBarIconImagesTest, CalendarDayUsesTheSmallerSizeForTwoDigits) {
    struct Case {
        int day;
        double size;
    } cases[] = {{1, 10.2}, {9, 10.2}, {10, 9.2}, {31, 9.2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day);
        const Image icon = calendarDayIcon(c.day);
        EXPECT_TRUE(icon.isTemplate());
        EXPECT_EQ(icon.size(), (Size{24, 24}));
        RecordingCanvas canvas({24, 24});
        (*icon.drawHandler())(canvas, Rect{0, 0, 24, 24});
        const auto texts = canvas.operationsOf<RecordingCanvas::TextOp>();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text.text(), std::to_string(c.day));
        const auto font = texts[0].text.attributesAt(0).font;
        ASSERT_TRUE(font);
        EXPECT_EQ(font->pointSize(), c.size);
    }
}

TEST_F(StatusBarIconImagesTest, CalendarItemRedrawsWhenTheDayChangesOnly) {
    launch({"--finder-action"});
    auto button = delegate().calendarStatusItem()->button();
    ASSERT_TRUE(button->image());
    const Image first = *button->image();
    delegate().updateStatusBarActivityDisplay();
    EXPECT_TRUE(button->image()->sharesPictureWith(first)) << "the same day is not drawn again";
    advance(24 * 3600);
    delegate().updateStatusBarActivityDisplay();
    EXPECT_FALSE(button->image()->sharesPictureWith(first)) << "a new day is drawn";
}

}  // namespace
}  // namespace tallowmere::testing
