#include "platform/gfx/cairo_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "platform/gfx/symbol_image.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

class CairoCanvasTest : public testing::TallowmereTest {
protected:
    std::unique_ptr<CairoCanvas> makeCanvas(Size size, double scale = 1) {
        auto made = CairoCanvas::make(size, scale);
        EXPECT_TRUE(made.ok());
        return std::move(made).value();
    }
    // The pixel under a point of the canvas's y-up point space.
    static Pixel pixelAt(const Bitmap& bitmap, double x, double y) {
        return bitmap.pixel(static_cast<int>(x * bitmap.scale()),
                            static_cast<int>(bitmap.pixelsHigh() - y * bitmap.scale()));
    }
};

constexpr Pixel opaqueRed{255, 0, 0, 255};
constexpr Pixel transparent{0, 0, 0, 0};

TEST_F(CairoCanvasTest, RoundedRectFillsItsCentreButNotItsCorners) {
    for (double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        auto canvas = makeCanvas({40, 30}, scale);
        canvas->setFillColor(Color::sRGB(1, 0, 0));
        canvas->fillRoundedRect({0, 0, 40, 30}, 10);
        const Bitmap bitmap = canvas->bitmap();
        EXPECT_EQ(bitmap.pixelsWide(), static_cast<int>(40 * scale));
        EXPECT_EQ(pixelAt(bitmap, 20, 15), opaqueRed);
        EXPECT_EQ(pixelAt(bitmap, 0.5, 0.5), transparent) << "bottom-left corner is rounded off";
        EXPECT_EQ(pixelAt(bitmap, 39.5, 29.5), transparent) << "top-right corner is rounded off";
        EXPECT_EQ(pixelAt(bitmap, 20, 0.5), opaqueRed) << "edge between the corners is filled";
    }
}

TEST_F(CairoCanvasTest, UserSpaceIsYUpUnlessTheCallerFlipsIt) {
    auto canvas = makeCanvas({10, 10});
    canvas->setFillColor(Color::sRGB(1, 0, 0));
    canvas->fillRect({0, 0, 10, 3});  // the bottom three points
    canvas->save();
    canvas->translate(0, 10);
    canvas->scale(1, -1);
    canvas->setFillColor(Color::sRGB(0, 0, 1));
    canvas->fillRect({0, 0, 10, 2});  // flipped: the top two points
    canvas->restore();
    const Bitmap bitmap = canvas->bitmap();
    EXPECT_EQ(bitmap.pixel(5, 9), opaqueRed) << "bitmap rows run from the top";
    EXPECT_EQ(bitmap.pixel(5, 0), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(bitmap.pixel(5, 5), transparent);
}

TEST_F(CairoCanvasTest, AlphaClipAndCompositingShapeWhatIsPainted) {
    auto canvas = makeCanvas({20, 10});
    canvas->setFillColor(Color::sRGB(0, 0, 1));
    canvas->fillRect({0, 0, 10, 10});  // left half blue, right half empty
    canvas->save();
    canvas->setCompositingOperation(CompositingOperation::sourceAtop);
    canvas->setFillColor(Color::sRGB(1, 0, 0));
    canvas->fillRect({0, 0, 20, 10});
    canvas->restore();
    canvas->save();
    canvas->clipToRect({0, 0, 5, 10});
    canvas->setAlpha(0.5);
    canvas->setFillColor(Color::sRGB(0, 1, 0));
    canvas->fillRect({0, 0, 20, 10});
    canvas->restore();

    const Bitmap bitmap = canvas->bitmap();
    EXPECT_EQ(pixelAt(bitmap, 7, 5), opaqueRed) << "sourceAtop recolours what is there";
    EXPECT_EQ(pixelAt(bitmap, 15, 5), transparent) << "sourceAtop leaves empty pixels empty";
    const Pixel blended = pixelAt(bitmap, 2, 5);
    EXPECT_NEAR(blended.red, 128, 1);
    EXPECT_NEAR(blended.green, 128, 1);
    EXPECT_EQ(blended.alpha, 255);
}

TEST_F(CairoCanvasTest, EveryKindOfDrawingTakesTheCanvasAlpha) {
    const Color green = Color::sRGB(0, 1, 0);
    Bitmap greenPixels(2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) greenPixels.setPixel(x, y, {0, 255, 0, 255});
    struct Case {
        const char* name;
        std::function<void(Canvas&)> draw;
    } cases[] = {
        {"fill", [&](Canvas& c) { c.setFillColor(green), c.fillRect({0, 0, 20, 20}); }},
        {"stroke",
         [&](Canvas& c) {
             c.setStrokeColor(green), c.setLineWidth(20);
             c.stroke(Path::rect({0, -10, 20, 20}));
         }},
        {"linear gradient", [&](Canvas& c) { c.drawLinearGradient(Gradient(green, green), {0, 0}, {20, 20}); }},
        {"radial gradient", [&](Canvas& c) { c.drawRadialGradient(Gradient(green, green), {10, 10}, 0, {10, 10}, 30); }},
        {"image", [&](Canvas& c) { c.drawImage(Image::fromBitmap(greenPixels), {0, 0, 20, 20}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto canvas = makeCanvas({20, 20});
        canvas->setFillColor(Color::sRGB(1, 0, 0));
        canvas->fillRect({0, 0, 20, 20});
        canvas->setAlpha(0.5);
        c.draw(*canvas);
        const Pixel blended = canvas->bitmap().pixel(5, 15);
        EXPECT_NEAR(blended.red, 128, 1);
        EXPECT_NEAR(blended.green, 128, 1);
        EXPECT_EQ(blended.alpha, 255);
    }
}

// A layer holds its whole area whatever the clip, is painted back as one
// piece at the canvas alpha, and only in the user space it was drawn in.
TEST_F(CairoCanvasTest, ALayerIsPaintedBackAsOnePieceWhereItWasDrawn) {
    auto canvas = makeCanvas({30, 10}, 2);
    canvas->save();
    canvas->clipToRect({0, 0, 5, 10});
    auto layer = canvas->makeLayer({0, 0, 20, 10}, [&] {
        canvas->setFillColor(Color::sRGB(1, 0, 0));
        canvas->fillRect({0, 0, 30, 10});
        canvas->setFillColor(Color::sRGB(0, 0, 1));
        canvas->fillRect({10, 0, 10, 10});
    });
    canvas->restore();
    ASSERT_TRUE(layer);
    EXPECT_EQ(pixelAt(canvas->bitmap(), 2, 5), transparent) << "making a layer paints nothing";

    canvas->setAlpha(0.5);
    EXPECT_TRUE(canvas->drawLayer(*layer));
    const Bitmap painted = canvas->bitmap();
    EXPECT_EQ(pixelAt(painted, 2, 5), (Pixel{255, 0, 0, 128}));
    EXPECT_EQ(pixelAt(painted, 15, 5), (Pixel{0, 0, 255, 128})) << "the red beneath shows through the blue";
    EXPECT_EQ(pixelAt(painted, 25, 5), transparent) << "drawing past the layer's area is cut off";

    canvas->translate(1, 0);
    EXPECT_FALSE(canvas->drawLayer(*layer)) << "painted in another user space";
    canvas->translate(-1, 0);
    canvas->setAppearance(Appearance::dark);
    EXPECT_FALSE(canvas->drawLayer(*layer)) << "painted in another appearance";
    EXPECT_EQ(canvas->bitmap(), painted);
}

// Nor is a layer cut by a curved clip around it: a glow drawn in the layer
// reaches past that clip.
TEST_F(CairoCanvasTest, ALayerKeepsItsGlowsPastACurvedClipAroundIt) {
    auto canvas = makeCanvas({40, 40}, 2);
    canvas->save();
    canvas->clip(Path::ellipse({12, 12, 16, 16}));
    auto layer = canvas->makeLayer({0, 0, 40, 40}, [&] {
        canvas->save();
        canvas->clip(Path::ellipse({1, 1, 38, 38}));
        canvas->setShadow(Shadow{{0, 0}, 6, Color::sRGB(1, 0, 0)});
        canvas->setFillColor(Color::sRGB(1, 0, 0));
        canvas->fillEllipse({16, 16, 8, 8});
        canvas->restore();
    });
    canvas->restore();
    ASSERT_TRUE(layer);
    EXPECT_TRUE(canvas->drawLayer(*layer));
    EXPECT_GT(pixelAt(canvas->bitmap(), 20, 11).alpha, 0);
}

TEST_F(CairoCanvasTest, DynamicColorsPaintInTheCanvasAppearance) {
    auto canvas = makeCanvas({4, 4});
    canvas->setAppearance(Appearance::dark);
    canvas->setFillColor(Color::system(SystemColor::textBackground));
    canvas->fillRect({0, 0, 4, 4});
    EXPECT_LT(canvas->bitmap().pixel(1, 1).red, 60) << "text background is dark in dark appearance";
}

TEST_F(CairoCanvasTest, LinearGradientRunsAlongItsAngle) {
    auto canvas = makeCanvas({100, 10});
    canvas->drawLinearGradient(Gradient(Color::sRGB(0, 0, 0), Color::sRGB(1, 1, 1)), Path::rect({0, 0, 100, 10}), 0);
    const Bitmap bitmap = canvas->bitmap();
    EXPECT_LT(bitmap.pixel(1, 5).red, 10);
    EXPECT_GT(bitmap.pixel(98, 5).red, 245);
    EXPECT_NEAR(bitmap.pixel(50, 5).red, 128, 3);
}

// A large slanted gradient is painted a different way from a small one;
// painted whole or tile by tile (small clips), it must look the same.
TEST_F(CairoCanvasTest, LargeSlantedGradientsMatchTheSameGradientPaintedInSmallTiles) {
    const Color blue = Color::sRGB(0.1, 0.3, 0.9), pink = Color::sRGB(0.95, 0.4, 0.6);
    struct Case {
        const char* name;
        Gradient gradient;
        Point start, end;
        double alpha;
    } cases[] = {
        {"down and right", Gradient(blue, pink), {0, 300}, {400, 0}, 1},
        {"up and right, translucent, in a layer", Gradient(blue.withAlphaComponent(0.6), pink), {0, 0}, {400, 300}, 0.5},
        {"nearly upright", Gradient(blue, pink), {0, 0}, {25, 300}, 1},
        {"short and sharp", Gradient({{0, blue}, {0.5, pink}, {0.5, blue}, {1, pink}}), {150.3, 150.1}, {170.2, 130.7}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // On white, so the comparison is not of colours divided by a small alpha.
        const auto paint = [&](Canvas& canvas) {
            canvas.setFillColor(Color::white());
            canvas.fillRect({0, 0, 400, 300});
            canvas.setAlpha(c.alpha);
            canvas.drawLinearGradient(c.gradient, c.start, c.end);
        };
        auto whole = makeCanvas({400, 300}, 2);
        paint(*whole);
        auto tiled = makeCanvas({400, 300}, 2);
        for (double x = 0; x < 400; x += 40) {
            for (double y = 0; y < 300; y += 30) {
                tiled->save();
                tiled->clipToRect({x, y, 40, 30});
                paint(*tiled);
                tiled->restore();
            }
        }
        const Bitmap a = whole->bitmap(), b = tiled->bitmap();
        int worst = 0;
        for (int y = 0; y < a.pixelsHigh(); ++y) {
            for (int x = 0; x < a.pixelsWide(); ++x) {
                const Pixel p = a.pixel(x, y), q = b.pixel(x, y);
                worst = std::max({worst, std::abs(p.red - q.red), std::abs(p.green - q.green),
                                  std::abs(p.blue - q.blue), std::abs(p.alpha - q.alpha)});
            }
        }
        EXPECT_LE(worst, 2) << "the whole gradient's colours stray from the tiles'";
    }
}

TEST_F(CairoCanvasTest, BitmapImagesScaleWithTheChosenInterpolation) {
    Bitmap checker(2, 2);
    checker.setPixel(0, 0, {255, 255, 255, 255});
    checker.setPixel(1, 1, {255, 255, 255, 255});
    checker.setPixel(1, 0, {0, 0, 0, 255});
    checker.setPixel(0, 1, {0, 0, 0, 255});
    const Image image = Image::fromBitmap(checker);

    auto canvas = makeCanvas({20, 20});
    canvas->setImageInterpolation(ImageInterpolation::none);
    canvas->drawImage(image, {0, 0, 20, 20});
    const Bitmap bitmap = canvas->bitmap();
    // Hard pixel edges: the top-left quarter is exactly white right up to the middle.
    EXPECT_EQ(bitmap.pixel(9, 9), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(bitmap.pixel(10, 9), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(bitmap.pixel(10, 10), (Pixel{255, 255, 255, 255}));
}

TEST_F(CairoCanvasTest, HandlerImagesDrawInALayerOfTheirOwn) {
    // A tinted template uses sourceAtop inside its handler; the blue already
    // on the canvas must not turn red.
    auto canvas = makeCanvas({20, 20});
    canvas->setFillColor(Color::sRGB(0, 0, 1));
    canvas->fillRect({0, 0, 20, 20});
    const Image dot = Image::withHandler({10, 10}, [](Canvas& c, Rect r) {
        c.fillEllipse(r.insetBy(3, 3));
        return true;
    });
    canvas->drawImage(dot.tinted(Color::sRGB(1, 0, 0)), {0, 0, 20, 20});
    const Bitmap bitmap = canvas->bitmap();
    EXPECT_EQ(pixelAt(bitmap, 10, 10), opaqueRed);
    EXPECT_EQ(pixelAt(bitmap, 1, 1), (Pixel{0, 0, 255, 255}));
}

TEST_F(CairoCanvasTest, TextPaintsInItsColourInsideItsMeasuredBox) {
    auto canvas = makeCanvas({120, 40});
    canvas->drawText("Hello", {10, 10}, Font::systemFont(20, FontWeight::bold), Color::sRGB(1, 0, 0));
    const Bitmap bitmap = canvas->bitmap();
    int inked = 0;
    for (int y = 0; y < bitmap.pixelsHigh(); ++y)
        for (int x = 0; x < bitmap.pixelsWide(); ++x) {
            const Pixel p = bitmap.pixel(x, y);
            if (p.alpha == 0) continue;
            ++inked;
            EXPECT_EQ(p.green, 0);
            EXPECT_GE(x, 10) << "text starts at its origin";
            EXPECT_LE(bitmap.pixelsHigh() - y, 40 - 2) << "text grows upward from a y-up origin";
            EXPECT_GE(bitmap.pixelsHigh() - y, 9);
        }
    EXPECT_GT(inked, 30);
}

TEST_F(CairoCanvasTest, AttachedPictureStandsUprightBeforeItsText) {
    // Red over green, so a picture drawn upside down shows.
    const Image picture = Image::withHandler({10, 10}, [](Canvas& c, Rect r) {
        c.setFillColor(Color::sRGB(0, 1, 0));
        c.fillRect({r.minX(), r.minY(), r.width(), r.height() / 2});
        c.setFillColor(Color::sRGB(1, 0, 0));
        c.fillRect({r.minX(), r.midY(), r.width(), r.height() / 2});
        return true;
    });
    const Font font = Font::systemFont(14);
    AttributedString text = AttributedString::attachment(picture, {0, -2, 10, 10}, {.font = font});
    text.append("  Hi", {.font = font, .foregroundColor = Color::sRGB(0, 0, 1)});
    for (const bool flipped : {false, true}) {
        SCOPED_TRACE(flipped ? "flipped" : "y up");
        auto canvas = makeCanvas({80, 40});
        if (flipped) {
            canvas->translate(0, 40);
            canvas->scale(1, -1);
        }
        canvas->drawText(text, Point{5, 10});
        const Bitmap bitmap = canvas->bitmap();
        // Device rows from the top: the red half lies above the green half.
        std::vector<int> redRows, greenRows;
        for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
            const Pixel p = bitmap.pixel(10, y);
            if (p == opaqueRed) redRows.push_back(y);
            if (p == Pixel{0, 255, 0, 255}) greenRows.push_back(y);
        }
        ASSERT_GE(redRows.size(), 4u);
        ASSERT_GE(greenRows.size(), 4u);
        EXPECT_LT(redRows.back(), greenRows.front()) << "the picture is upright";
        EXPECT_LE(greenRows.back() - redRows.front(), 10) << "the picture keeps its size";
        EXPECT_EQ(bitmap.pixel(5, redRows.front()), opaqueRed) << "the picture starts at the text's origin";
        for (int y = 0; y < bitmap.pixelsHigh(); ++y)
            for (int x = 0; x < 15; ++x) EXPECT_EQ(bitmap.pixel(x, y).blue, 0) << "the text comes after the picture";
    }
}

TEST_F(CairoCanvasTest, ShadowFallsAtItsOffset) {
    auto canvas = makeCanvas({40, 40});
    canvas->setShadow(Shadow{{6, -6}, 0, Color::sRGB(0, 0, 0, 1)});
    canvas->setFillColor(Color::sRGB(1, 0, 0));
    canvas->fillRect({10, 20, 10, 10});
    const Bitmap bitmap = canvas->bitmap();
    EXPECT_EQ(pixelAt(bitmap, 15, 25), opaqueRed);
    EXPECT_EQ(pixelAt(bitmap, 23, 17), (Pixel{0, 0, 0, 255})) << "shadow lies right and below";
    EXPECT_EQ(pixelAt(bitmap, 8, 32), transparent);
}

int largestDifference(const Bitmap& a, const Bitmap& b) {
    if (a.pixelsWide() != b.pixelsWide() || a.pixelsHigh() != b.pixelsHigh()) return 255;
    int largest = 0;
    for (int y = 0; y < a.pixelsHigh(); ++y) {
        for (int x = 0; x < a.pixelsWide(); ++x) {
            const Pixel p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(p.red - q.red), std::abs(p.green - q.green),
                                std::abs(p.blue - q.blue), std::abs(p.alpha - q.alpha)});
        }
    }
    return largest;
}

// A shadowed opaque shape goes straight to the surface and its shadow is
// blurred only around it; drawn through a layer of the whole canvas (a
// handler image) the picture must be the same, wherever the shape and the
// clip fall.
TEST_F(CairoCanvasTest, ShadowsNearTheShapeMatchShadowsOfAWholeCanvasLayer) {
    struct Case {
        const char* name;
        Rect shape;
        std::optional<Path> clip;
        double alpha;
    } cases[] = {
        {"in the middle", {30, 20, 30, 20}, std::nullopt, 1},
        {"over the canvas edges", {-10, 50, 40, 40}, std::nullopt, 1},
        {"cut by a whole-pixel clip", {30, 20, 30, 20}, Path::rect({0, 0, 45, 70}), 1},
        {"cut by a rounded clip", {30, 20, 30, 20}, Path::roundedRect({10, 10, 40, 25}, 8), 1},
        {"shadow cut by a round clip, off the pixel grid", {30.3, 20.6, 30, 20}, Path::ellipse({22, 9, 48, 43}), 1},
        {"cut by a round clip, off the pixel grid", {40.45, 20.1, 30, 20}, Path::ellipse({0, 0, 70, 60}), 1},
        {"translucent", {30, 20, 30, 20}, Path::rect({0, 0, 45, 70}), 0.6},
    };
    const Shadow shadow{{2, -3}, 6, Color::black().withAlphaComponent(0.5)};
    const Color fill = Color::sRGB(0.2, 0.6, 0.9);
    for (const auto& c : cases) {
        for (double scale : {1.0, 2.0}) {
            SCOPED_TRACE(std::string(c.name) + " at scale " + std::to_string(scale));
            auto direct = makeCanvas({90, 70}, scale);
            auto layered = makeCanvas({90, 70}, scale);
            for (auto* canvas : {direct.get(), layered.get()}) {
                canvas->setFillColor(Color::white());
                canvas->fillRect({0, 0, 90, 70});
                // A clip taken back cuts no shadow.
                canvas->save();
                canvas->clip(Path::rect(c.shape.insetBy(-2, -2)));
                canvas->restore();
                if (c.clip) canvas->clip(*c.clip);
                canvas->setShadow(shadow);
                canvas->setAlpha(c.alpha);
            }
            direct->setFillColor(fill);
            direct->fillRoundedRect(c.shape, 5);
            const Image shape = Image::withHandler({90, 70}, [&](Canvas& canvas, Rect) {
                canvas.setFillColor(fill);
                canvas.fillRoundedRect(c.shape, 5);
                return true;
            });
            layered->drawImage(shape, {0, 0, 90, 70});
            // Anti-aliased edges may round one or two levels apart.
            EXPECT_LE(largestDifference(direct->bitmap(), layered->bitmap()), 2);
        }
    }
}

// Small shadows of alike shapes are blurred once and remembered: drawn on a
// canvas that has cast many shadows before, a picture must come out as on a
// fresh canvas.
TEST_F(CairoCanvasTest, RememberedShadowsLookAsShadowsBlurredAfresh) {
    const auto glowingDots = [](Canvas& canvas, double from) {
        canvas.save();
        canvas.clip(Path::ellipse({2, 2, 86, 66}));
        for (int i = 0; i < 12; ++i) {
            const double x = from + 5.37 * i, y = 20 + 2.61 * i;
            canvas.setShadow(Shadow{{0, 0}, 8, Color::sRGB(0.9, 0.2, 0.5, 0.85)});
            canvas.setFillColor(Color::sRGB(0.9, 0.2, 0.5));
            canvas.fillEllipse({x, y, 7.5, 7.5});
        }
        canvas.restore();
    };
    for (double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        auto fresh = makeCanvas({90, 70}, scale);
        glowingDots(*fresh, 12);
        auto used = makeCanvas({90, 70}, scale);
        for (double from : {11.0, 12.13, 12.0, 13.5}) glowingDots(*used, from);
        used->setCompositingOperation(CompositingOperation::clear);
        used->fillRect({0, 0, 90, 70});
        used->setCompositingOperation(CompositingOperation::sourceOver);
        glowingDots(*used, 12);
        EXPECT_EQ(largestDifference(fresh->bitmap(), used->bitmap()), 0);
    }
}

// Gradients through curved clips, one inside the other, are painted
// through a mask of the clips' coverage: each pixel must show the unclipped
// gradient times what the clips let through, as cairo's own clip paints it.
// A clip taken back by restore() cuts nothing.
TEST_F(CairoCanvasTest, GradientsThroughCurvedClipsShowTheClipsCoverage) {
    struct Case {
        const char* name;
        std::vector<Path> clips;
        double alpha;
    } cases[] = {
        {"a dot on a ball", {Path::ellipse({10, 8, 60, 50}), Path::ellipse({45.3, 30.7, 15, 15})}, 1},
        {"a ball in a rounded card, translucent",
         {Path::roundedRect({4, 4, 72, 54}, 9), Path::ellipse({20.5, 10.25, 40, 40})},
         0.5},
    };
    const Gradient gradient(Color::white(), Color::sRGB(0.1, 0.5, 0.9));
    for (const auto& c : cases) {
        for (const bool radial : {false, true}) {
            for (double scale : {1.0, 2.0}) {
                SCOPED_TRACE(std::string(c.name) + (radial ? ", radial" : ", linear") + " at scale " +
                             std::to_string(scale));
                const auto paint = [&](Canvas& canvas) {
                    if (radial) canvas.drawRadialGradient(gradient, {10, 8, 60, 50}, {-0.35, 0.38});
                    else canvas.drawLinearGradient(gradient, Path::rect({0, 0, 80, 60}), -45);
                };
                auto plain = makeCanvas({80, 60}, scale);
                plain->setAlpha(c.alpha);
                paint(*plain);
                auto coverage = makeCanvas({80, 60}, scale);
                for (const auto& clip : c.clips) coverage->clip(clip);
                coverage->setFillColor(Color::white());
                coverage->fillRect({0, 0, 80, 60});
                auto clipped = makeCanvas({80, 60}, scale);
                clipped->save();
                clipped->clip(Path::ellipse({0, 0, 20, 20}));
                clipped->restore();
                for (const auto& clip : c.clips) clipped->clip(clip);
                clipped->setAlpha(c.alpha);
                paint(*clipped);

                const Bitmap p = plain->bitmap(), k = coverage->bitmap(), q = clipped->bitmap();
                int worst = 0;
                for (int y = 0; y < q.pixelsHigh(); ++y) {
                    for (int x = 0; x < q.pixelsWide(); ++x) {
                        const int expected = (p.pixel(x, y).alpha * k.pixel(x, y).alpha + 127) / 255;
                        worst = std::max(worst, std::abs(q.pixel(x, y).alpha - expected));
                        if (expected < 128) continue;
                        worst = std::max({worst, std::abs(q.pixel(x, y).red - p.pixel(x, y).red),
                                          std::abs(q.pixel(x, y).green - p.pixel(x, y).green),
                                          std::abs(q.pixel(x, y).blue - p.pixel(x, y).blue)});
                    }
                }
                EXPECT_LE(worst, 2);
            }
        }
    }
}

TEST_F(CairoCanvasTest, UndrawableInputLeavesTheCanvasWorking) {
    // cairo stops drawing for good after one NaN or singular matrix; the
    // canvas must keep such input away from it.
    auto canvas = makeCanvas({10, 10});
    canvas->setFillColor(Color::sRGB(1, 0, 0));
    canvas->save();
    canvas->scale(0, 0);
    canvas->fillRect({0, 0, 10, 10});
    canvas->drawText("x", {0, 0}, Font::systemFont(10), Color::black());
    canvas->clipToRect({0, 0, 10, 10});
    canvas->restore();
    canvas->fillRect({0, 0, NAN, 10});
    canvas->strokeLine({0, 0}, {INFINITY, 3});
    canvas->drawLinearGradient(Gradient(Color::black(), Color::white()), {NAN, 0}, {1, 1});
    canvas->drawImage(Image::withHandler({4, 4}, [](Canvas&, Rect) { return true; }), {0, 0, NAN, 3});
    canvas->setShadow(Shadow{{NAN, 0}, 3});
    EXPECT_FALSE(canvas->state().shadow);
    canvas->setShadow(Shadow{{0, 0}, 1e12});  // huge blur: bounded work
    canvas->fillRect({2, 2, 6, 6});
    EXPECT_GT(canvas->bitmap().pixel(5, 5).alpha, 0);
    canvas->setShadow(std::nullopt);
    canvas->fillRect({0, 0, 10, 10});
    EXPECT_EQ(canvas->bitmap().pixel(0, 0), opaqueRed);
}

TEST_F(CairoCanvasTest, UnusableSizesAreRefused) {
    struct Case {
        Size size;
        double scale;
    } cases[] = {{{10, 10}, 0}, {{10, 10}, NAN}, {{-1, 10}, 1}, {{INFINITY, 10}, 1}, {{40000, 1}, 1}, {{20000, 1}, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.size.width << "x" << c.size.height << " @" << c.scale);
        const auto made = CairoCanvas::make(c.size, c.scale);
        ASSERT_FALSE(made.ok());
        EXPECT_EQ(made.error().code, ErrorCode::invalidArgument);
    }
    EXPECT_TRUE(CairoCanvas::make({0, 0}).ok()) << "an empty canvas is fine";
}

}  // namespace
}  // namespace tallowmere::platform
