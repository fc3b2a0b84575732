#include "platform/viewer/viewer_geometry.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/desktop/screen.h"

namespace tallowmere::platform {
namespace {

const ScreenRect builtIn{0, 0, 1440, 900};

TEST(ViewerGeometryTest, PixelsAndPointsMapBothWays) {
    struct Case {
        const char* name;
        double scale;
        PixelPoint pixel;
        ScreenPoint point;
    } cases[] = {
        {"top-left pixel is the top row of the screen", 1, {0, 0}, {0, 899}},
        {"bottom-right pixel is the origin's row", 1, {1439, 899}, {1439, 0}},
        {"a pixel in the menu bar", 1, {700, 10}, {700, 889}},
        {"half scale: a pixel covers two points", 0.5, {0, 0}, {0, 898}},
        {"half scale: bottom-right", 0.5, {719, 449}, {1438, 0}},
        {"half scale: middle", 0.5, {360, 225}, {720, 448}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ViewerGeometry geometry(builtIn, c.scale);
        EXPECT_EQ(geometry.screenPoint(c.pixel), c.point);
        EXPECT_EQ(geometry.pixel(c.point), c.pixel);
        EXPECT_TRUE(builtIn.contains(c.point)) << "a pixel of the window fell off the screen";
    }
}

TEST(ViewerGeometryTest, EveryPointOfAPixelMapsToThatPixel) {
    const ViewerGeometry geometry(builtIn, 0.5);
    for (ScreenPoint inside :
         {ScreenPoint{0, 898}, ScreenPoint{1.99, 899.99}, ScreenPoint{1, 899}}) {
        EXPECT_EQ(geometry.pixel(inside), (PixelPoint{0, 0})) << inside.x << ", " << inside.y;
    }
    EXPECT_EQ(geometry.pixel({2, 898}), (PixelPoint{1, 0}));
    EXPECT_EQ(geometry.pixel({0, 897.9}), (PixelPoint{0, 1}));
}

TEST(ViewerGeometryTest, ScaleThatIsNotARoundNumberStillRoundTrips) {
    const ViewerGeometry geometry(builtIn, 0.9);
    for (PixelPoint pixel : {PixelPoint{0, 0}, PixelPoint{17, 33}, PixelPoint{1295, 809}}) {
        EXPECT_EQ(geometry.pixel(geometry.screenPoint(pixel)), pixel) << pixel.x << ", " << pixel.y;
    }
}

TEST(ViewerGeometryTest, FitsTheArrangementIntoTheDisplayWithoutEnlargingIt) {
    struct Case {
        const char* name;
        PixelSize available;
        double scale;
        PixelSize window;
    } cases[] = {
        {"room to spare keeps points as pixels", {1728, 972}, 1, {1440, 900}},
        {"a narrow display scales down", {720, 900}, 0.5, {720, 450}},
        {"a short display scales down", {1440, 450}, 0.5, {720, 450}},
        {"no display size known keeps scale 1", {0, 0}, 1, {1440, 900}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto geometry = ViewerGeometry::fitting(builtIn, c.available);
        EXPECT_DOUBLE_EQ(geometry.scale(), c.scale);
        EXPECT_EQ(geometry.windowSize(), c.window);
    }
}

TEST(ViewerGeometryTest, UnusableScaleCountsAsOne) {
    for (double scale : {0.0, -2.0, 3.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_DOUBLE_EQ(ViewerGeometry(builtIn, scale).scale(), 1) << scale;
    }
}

// A second screen to the right of the primary one and higher than it: the
// window covers both, and each screen's picture goes to its own place.
TEST(ViewerGeometryTest, ArrangementOfTwoScreensPlacesEachPicture) {
    auto primary = std::make_shared<Screen>(ScreenSpec{builtIn});
    auto external = std::make_shared<Screen>(ScreenSpec{ScreenRect{1440, -180, 1920, 1080}});
    const auto arrangement = ViewerGeometry::arrangementOf({primary, external});
    EXPECT_EQ(arrangement, (ScreenRect{0, -180, 3360, 1080}));

    const ViewerGeometry geometry(arrangement, 0.5);
    EXPECT_EQ(geometry.windowSize(), (PixelSize{1680, 540}));
    EXPECT_EQ(geometry.pixelRect(primary->frame()), (PixelRect{{0, 0}, {720, 450}}));
    EXPECT_EQ(geometry.pixelRect(external->frame()), (PixelRect{{720, 0}, {960, 540}}));
    EXPECT_EQ(geometry.screenPoint({720, 539}), (ScreenPoint{1440, -180}))
        << "bottom-left of the external screen";
}

}  // namespace
}  // namespace tallowmere::platform
