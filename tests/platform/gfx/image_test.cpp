#include "platform/gfx/image.h"

#include <gtest/gtest.h>

#include "platform/gfx/canvas.h"
#include "platform/gfx/png.h"
#include "platform/gfx/symbol_image.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using ImageTest = testing::TallowmereTest;

Image square(Color color) {
    return Image::withHandler({4, 4}, [color](Canvas& canvas, Rect rect) {
        canvas.setFillColor(color);
        canvas.fillRect(rect);
        return true;
    });
}

TEST_F(ImageTest, HandlerImagesRenderAtAnyScale) {
    const auto one = square(Color::sRGB(0, 1, 0)).render(1);
    const auto three = square(Color::sRGB(0, 1, 0)).render(3);
    ASSERT_TRUE(one.ok() && three.ok());
    EXPECT_EQ(one->pixelsWide(), 4);
    EXPECT_EQ(three->pixelsWide(), 12);
    EXPECT_EQ(three->size(), (Size{4, 4}));
    EXPECT_EQ(three->pixel(11, 11), (Pixel{0, 255, 0, 255}));
}

TEST_F(ImageTest, AFailingHandlerOrAnEmptySizeIsAnError) {
    const Image failing = Image::withHandler({4, 4}, [](Canvas&, Rect) { return false; });
    EXPECT_FALSE(failing.render().ok());
    Image empty = square(Color::black());
    empty.setSize({0, 4});
    EXPECT_EQ(empty.render().error().code, ErrorCode::invalidArgument);
}

TEST_F(ImageTest, CopiesShareThePictureButNotTheirProperties) {
    Image original = square(Color::black());
    original.setTemplate(true);
    original.setAccessibilityDescription("Dot");
    Image copy = original;
    copy.setSize({16, 16});
    copy.setTemplate(false);
    EXPECT_TRUE(copy.sharesPictureWith(original));
    EXPECT_EQ(original.size(), (Size{4, 4}));
    EXPECT_TRUE(original.isTemplate());
    EXPECT_EQ(copy.accessibilityDescription(), "Dot");
}

TEST_F(ImageTest, TemplatesAreTintedByTheirShapeOnly) {
    Image mask = Image::withHandler({4, 4}, [](Canvas& canvas, Rect) {
        canvas.setFillColor(Color::black().withAlphaComponent(0.5));
        canvas.fillRect({0, 0, 2, 4});  // left half, half opaque
        return true;
    });
    mask.setTemplate(true);
    mask.setAccessibilityDescription("Mask");

    const Image tinted = mask.tinted(Color::sRGB(1, 1, 1));
    EXPECT_FALSE(tinted.isTemplate());
    EXPECT_EQ(tinted.accessibilityDescription(), "Mask");
    const Bitmap pixels = tinted.render().value();
    EXPECT_EQ(pixels.pixel(0, 0), (Pixel{255, 255, 255, 128}));
    EXPECT_EQ(pixels.pixel(3, 0).alpha, 0);

    EXPECT_EQ(mask.render(1, Color::sRGB(1, 0, 0)).value().pixel(1, 1), (Pixel{255, 0, 0, 128}));
    // A translucent tint keeps its alpha on top of the shape's.
    EXPECT_EQ(mask.tinted(Color::black().withAlphaComponent(0.5)).render().value().pixel(1, 1).alpha, 64);
}

TEST_F(ImageTest, BitmapImagesTakeTheirSizeFromPixelsAndScale) {
    Bitmap pixels(44, 44, 2);
    pixels.setPixel(0, 0, {1, 2, 3, 255});
    const Image image = Image::fromBitmap(pixels);
    EXPECT_EQ(image.size(), (Size{22, 22}));
    const auto fromPng = Image::fromPngData(encodePng(pixels).value(), 2);
    ASSERT_TRUE(fromPng.ok());
    EXPECT_EQ(fromPng->bitmap()->pixel(0, 0), (Pixel{1, 2, 3, 255}));
    EXPECT_FALSE(Image::fromPngData({1, 2, 3}).ok());
}

TEST_F(ImageTest, EverySymbolIsATemplateThatDrawsSomething) {
    for (std::string_view name : symbolNames()) {
        SCOPED_TRACE(name);
        const auto image = symbolImage(name, "Described");
        ASSERT_TRUE(image);
        EXPECT_TRUE(image->isTemplate());
        EXPECT_EQ(image->size(), (Size{16, 16}));
        EXPECT_EQ(image->accessibilityDescription(), "Described");
        const Bitmap pixels = image->render(2).value();
        int inked = 0;
        for (const Pixel& p : pixels.pixels()) inked += p.alpha > 0;
        EXPECT_GT(inked, 20) << "a symbol is a visible drawing";
    }
}

TEST_F(ImageTest, UnknownSymbolsGiveNone) {
    for (const char* name : {"", "TitlebarTwoFingerBlue", "Circle", "circle ", "no.such.symbol"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(symbolImage(name), std::nullopt);
    }
    const auto large = symbolImage("circle", "", {.pointSize = 29, .weight = FontWeight::semibold});
    ASSERT_TRUE(large);
    EXPECT_EQ(large->size(), (Size{32, 32}));
}

}  // namespace
}  // namespace tallowmere::platform
