#include "windows/dial_painter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/application_icon.h"
#include "platform/gfx/recording_canvas.h"
#include "support/fixture.h"
#include "support/geometry_printing.h"

namespace tallowmere {
namespace {

using platform::Color;
using platform::Path;
using platform::Point;
using platform::Rect;
using platform::RecordingCanvas;

const std::vector<SnapTarget> nineTargets(allSnapTargets.begin(), allSnapTargets.end() - 1);

class DialPainterTest : public testing::TallowmereTest {
protected:
    // Paints the 106-pt palette's dial and keeps what was drawn.
    RecordingCanvas& paint(WindowDialTheme theme, std::optional<SnapTarget> selected, double displayScale = 1) {
        canvas.clear();
        DialPainter(canvas, {0, 0, 106, 106}, theme, displayScale, ApplicationIcon::image()).paint(nineTargets, selected);
        return canvas;
    }
    // Fills of ellipses whose rectangle is `rect`, to a hundredth of a point.
    std::vector<RecordingCanvas::FillOp> ellipseFills(Rect rect) const {
        std::vector<RecordingCanvas::FillOp> found;
        for (const auto& op : canvas.operationsOf<RecordingCanvas::FillOp>()) {
            const auto* shape = op.path.shape() ? std::get_if<Path::EllipseShape>(&*op.path.shape()) : nullptr;
            if (shape && close(shape->rect, rect)) found.push_back(op);
        }
        return found;
    }
    static bool close(Rect a, Rect b) {
        return std::abs(a.minX() - b.minX()) < 0.01 && std::abs(a.minY() - b.minY()) < 0.01 &&
               std::abs(a.width() - b.width()) < 0.01 && std::abs(a.height() - b.height()) < 0.01;
    }
    static Rect circle(Point centre, double radius) {
        return {centre.x - radius, centre.y - radius, 2 * radius, 2 * radius};
    }
    static std::vector<Point> points(const Path& path) {
        std::vector<Point> result;
        for (const auto& element : path.elements()) {
            if (const auto* move = std::get_if<Path::MoveTo>(&element)) result.push_back(move->to);
            if (const auto* line = std::get_if<Path::LineTo>(&element)) result.push_back(line->to);
        }
        return result;
    }

    RecordingCanvas canvas{{106, 106}};
    const DialGeometry dial{{0, 0, 106, 106}, 1};
};

TEST_F(DialPainterTest, HighlightDiscUnderTheChosenPlacement) {
    const Color blue = Color::system(platform::SystemColor::blue);
    struct Case {
        WindowDialTheme theme;
        SnapTarget target;
        double radius;
        Color color;
    } cases[] = {
        {WindowDialTheme::arc, SnapTarget::top, 13.5, blue.withAlphaComponent(0.94)},
        {WindowDialTheme::arc, SnapTarget::maximize, 12.5, blue.withAlphaComponent(0.94)},
        {WindowDialTheme::neumorphism, SnapTarget::left, 14, blue.withAlphaComponent(0.94)},
        {WindowDialTheme::dark, SnapTarget::top, 13.5, blue.withAlphaComponent(0.94)},
        {WindowDialTheme::dark, SnapTarget::maximize, 12.5, Color::white().withAlphaComponent(0.94)},
        {WindowDialTheme::blueSun, SnapTarget::bottom, 13.5, Color::white().withAlphaComponent(0.94)},
        {WindowDialTheme::colorRed, SnapTarget::right, 13.5, accent(WindowDialTheme::colorRed).withAlphaComponent(0.94)},
        {WindowDialTheme::colorDeepCyan, SnapTarget::maximize, 12.5, Color::white().withAlphaComponent(0.94)},
        {WindowDialTheme::watermelonCandy, SnapTarget::topLeft, 13.5,
         accent(WindowDialTheme::watermelonCandy).withAlphaComponent(0.94)},
        {WindowDialTheme::tallowbyDog, SnapTarget::top, 13.5,
         accent(WindowDialTheme::tallowbyDog).withAlphaComponent(0.92)},
        {WindowDialTheme::chevronGlass, SnapTarget::topRight, 13.5, blue.withAlphaComponent(0.94)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(info(c.theme).name) + " " + std::string(rawValue(c.target)));
        paint(c.theme, c.target);
        const auto fills = ellipseFills(circle(dial.point(c.target), c.radius));
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills.front().state.fillColor, c.color);
    }
}

TEST_F(DialPainterTest, MarkersTakeTheirThemesColourAndWhiteWhenChosen) {
    struct Case {
        WindowDialTheme theme;
        std::optional<SnapTarget> selected;
        Color topMarker;
    } cases[] = {
        {WindowDialTheme::arc, std::nullopt, foreground(WindowDialTheme::arc)},
        {WindowDialTheme::arc, SnapTarget::top, Color::white()},
        {WindowDialTheme::chevronBlue, std::nullopt, foreground(WindowDialTheme::chevronBlue)},
        {WindowDialTheme::blueSun, SnapTarget::top, Color::calibratedRGB(0.34, 0.66, 1.0, 0.78)},
        {WindowDialTheme::tallowbyDog, SnapTarget::left, foreground(WindowDialTheme::tallowbyDog).withAlphaComponent(0.76)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(info(c.theme).name);
        paint(c.theme, c.selected);
        // The top marker is the stroke that passes through the top point's column above the centre.
        bool found = false;
        for (const auto& stroke : canvas.operationsOf<RecordingCanvas::StrokeOp>()) {
            const auto pts = points(stroke.path);
            if (pts.size() >= 2 && std::abs(pts[1].x - 53) < 0.01 && pts[1].y > 80 && stroke.state.lineWidth > 1.4) {
                EXPECT_EQ(stroke.state.strokeColor, c.topMarker);
                found = true;
                break;
            }
        }
        EXPECT_TRUE(found) << "no marker at the top";
    }
}

TEST_F(DialPainterTest, TheDogShowsItsFaceAloneUntilSomethingIsChosen) {
    paint(WindowDialTheme::tallowbyDog, std::nullopt);
    EXPECT_TRUE(canvas.operationsOf<RecordingCanvas::StrokeOp>().empty());
    const auto images = canvas.operationsOf<RecordingCanvas::ImageOp>();
    ASSERT_EQ(images.size(), 1u);
    // The disc inset by 2, grown by 0.16 D (15.36) on every side, clipped to the inset disc.
    EXPECT_TRUE(close(images.front().destination, {7 - 15.36, 7 - 15.36, 92 + 30.72, 92 + 30.72}));
    EXPECT_EQ(images.front().state.imageInterpolation, platform::ImageInterpolation::high);
    const auto clips = canvas.operationsOf<RecordingCanvas::ClipOp>();
    ASSERT_FALSE(clips.empty());
    EXPECT_EQ(clips.back().path, Path::ellipse({7, 7, 92, 92}));

    paint(WindowDialTheme::tallowbyDog, SnapTarget::right);
    EXPECT_EQ(canvas.operationsOf<RecordingCanvas::StrokeOp>().size(), 9u) << "eight markers and the centre circle";
}

TEST_F(DialPainterTest, ArrowsAndChevronsFollowTheViewsSideNotTheDialScale) {
    // Arrow shaft: 0.07 × side either side of the point, whatever the scale.
    for (double scale : {1.0, 0.5}) {
        SCOPED_TRACE(scale);
        paint(WindowDialTheme::glass, std::nullopt, scale);
        const Point top = DialGeometry({0, 0, 106, 106}, scale).point(SnapTarget::top);
        bool found = false;
        for (const auto& stroke : canvas.operationsOf<RecordingCanvas::StrokeOp>()) {
            const auto pts = points(stroke.path);
            if (pts.size() == 5 && std::abs(pts[0].x - top.x) < 0.01 && std::abs(pts[0].y - (top.y - 7.42)) < 0.01) {
                EXPECT_NEAR(pts[1].y, top.y + 7.42, 0.01);
                // The head's wings: 0.42 s back from the tip, 0.55 of that to each side.
                EXPECT_NEAR(pts[2].x, top.x - 0.55 * 0.42 * 7.42, 0.01);
                EXPECT_NEAR(pts[2].y, top.y + 7.42 - 0.42 * 7.42, 0.01);
                EXPECT_EQ(stroke.state.lineWidth, 1.65);
                found = true;
            }
        }
        EXPECT_TRUE(found);
    }

    paint(WindowDialTheme::chevronWhite, std::nullopt);
    const Point right = dial.point(SnapTarget::right);
    bool found = false;
    for (const auto& stroke : canvas.operationsOf<RecordingCanvas::StrokeOp>()) {
        const auto pts = points(stroke.path);
        if (pts.size() == 3 && std::abs(pts[1].x - (right.x + 4.664)) < 0.01 && std::abs(pts[1].y - 53) < 0.01) {
            EXPECT_NEAR(pts[0].x, right.x - 4.664, 0.01);
            EXPECT_NEAR(pts[0].y, 53 + 5.088, 0.01);
            EXPECT_NEAR(pts[2].y, 53 - 5.088, 0.01);
            found = true;
        }
    }
    EXPECT_TRUE(found) << "right chevron";
}

TEST_F(DialPainterTest, FaceDetailsLieWhereTheDialPutsThem) {
    // Funny marks near the disc's upper corner, mirrored in `minimal`.
    struct Marks {
        WindowDialTheme theme;
        Point from, to;
    } marks[] = {
        {WindowDialTheme::dotmatrix, {88, 88}, {83, 90}},
        {WindowDialTheme::minimal, {18, 88}, {23, 90}},
    };
    for (const auto& m : marks) {
        SCOPED_TRACE(info(m.theme).name);
        paint(m.theme, std::nullopt);
        const auto strokes = canvas.operationsOf<RecordingCanvas::StrokeOp>();
        const bool found = std::any_of(strokes.begin(), strokes.end(), [&](const auto& s) {
            return s.path == Path::line(m.from, m.to) && s.state.lineWidth == 1.4;
        });
        EXPECT_TRUE(found);
    }

    // The arc dial's ears: bases 13 below the disc's top, 0.17 D either side.
    paint(WindowDialTheme::arc, std::nullopt);
    const auto fills = canvas.operationsOf<RecordingCanvas::FillOp>();
    const bool ear = std::any_of(fills.begin(), fills.end(), [](const auto& f) {
        const auto pts = points(f.path);
        return pts.size() == 3 && std::abs(pts[0].x - 30.68) < 0.01 && pts[0].y == 88 &&
               std::abs(pts[1].x - 36.68) < 0.01 && pts[1].y == 98;
    });
    EXPECT_TRUE(ear);
}

TEST_F(DialPainterTest, TheFlowerHasPetalsAndNoHighlightDisc) {
    paint(WindowDialTheme::redFlower, SnapTarget::maximize);
    EXPECT_EQ(ellipseFills(circle(dial.point(SnapTarget::maximize), 12.5)).size(), 0u);
    const auto centre = ellipseFills(circle(dial.point(SnapTarget::maximize), 10));
    ASSERT_EQ(centre.size(), 1u);
    EXPECT_EQ(centre.front().state.fillColor, Color::calibratedRGB(1.0, 0.64, 0.08, 1));
    // Eight petals, turned to face outwards.
    EXPECT_EQ(ellipseFills({-9.5, -6, 19, 12}).size(), 8u);
}

TEST_F(DialPainterTest, EveryThemePaintsItsDiscAndLeavesTheCanvasAsItFoundIt) {
    for (const auto& row : windowDialThemeTable) {
        SCOPED_TRACE(row.name);
        paint(row.theme, SnapTarget::bottomRight);
        EXPECT_EQ(canvas.saveDepth(), 0);
        EXPECT_GT(canvas.operations().size(), 12u);
    }
}

}  // namespace
}  // namespace tallowmere
