#include "windows/mouse_snap_palette.h"

#include <gtest/gtest.h>

#include "platform/gfx/recording_canvas.h"
#include "platform/system/user_defaults.h"
#include "windows/dial_geometry.h"
#include "support/desktop/desktop_fixture.h"
#include "support/geometry_printing.h"

namespace tallowmere {
namespace {

using platform::Point;
using platform::ScreenPoint;
using platform::ScreenRect;

class MouseSnapPaletteTest : public testing::DesktopTest {
protected:
    MouseSnapPalette palette;
    // Shows the palette with its window at a known place and answers for a
    // point given in the window's own coordinates.
    std::optional<SnapTarget> targetAtLocal(Point local) {
        const auto origin = palette.paletteWindow()->frame().origin;
        return palette.target({origin.x + local.x, origin.y + local.y});
    }
};

TEST_F(MouseSnapPaletteTest, MadeHiddenAsAFloatingDialThatClicksPassThrough) {
    const auto& window = *palette.paletteWindow();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(palette.size(), (platform::Size{106, 106}));
    EXPECT_EQ(window.frame().size, (platform::Size{106, 106}));
    EXPECT_TRUE(window.styleMask().isBorderless());
    EXPECT_FALSE(window.isOpaque());
    EXPECT_FALSE(window.hasShadow());
    EXPECT_TRUE(window.ignoresMouseEvents());
    EXPECT_EQ(window.level(), 101);
    EXPECT_EQ(window.collectionBehavior().rawValue, 273u);
    EXPECT_EQ(window.contentView(), palette.paletteView());
    EXPECT_EQ(palette.paletteView()->targets().size(), 9u);
    EXPECT_EQ(palette.target({500, 500}), std::nullopt) << "nothing answers while hidden";
}

TEST_F(MouseSnapPaletteTest, OpensBesideThePointerInsideTheVisibleFrame) {
    desktop.screens().setDock({platform::DockEdge::bottom, 70});  // visible y 70 ... 876
    struct Case {
        const char* where;
        ScreenPoint pointer;
        ScreenPoint origin;
    } cases[] = {
        {"open space: right of and below the pointer", {700, 500}, {718, 376}},
        {"100 pt from the right edge: to the left", {1340, 500}, {1216, 376}},
        {"near the bottom: lifted above the Dock", {700, 120}, {718, 78}},
        {"at the top: kept below the menu bar", {700, 895}, {718, 762}},
        {"8 pt short of room on the right: to the left", {1310, 500}, {1186, 376}},
        {"at the left edge", {0, 500}, {18, 376}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        palette.show(c.pointer, setup.primaryScreen());
        EXPECT_TRUE(palette.isVisible());
        EXPECT_EQ(palette.paletteWindow()->frame(), (ScreenRect{c.origin, {106, 106}}));
    }
    // On a screen to the right the same rules use that screen's frame.
    auto right = setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    palette.show({3350, 10}, right);
    EXPECT_EQ(palette.paletteWindow()->frame().origin, (ScreenPoint{3226, 8}));
}

TEST_F(MouseSnapPaletteTest, HitTestingFindsTheFirstPlacementInReach) {
    palette.show({700, 500}, setup.primaryScreen());
    const Point top = DialGeometry({0, 0, 106, 106}, 1).point(SnapTarget::top);
    // At 106 pt: dial centre (53, 53), ring radius 28.8, corners 20.736 out on both axes.
    struct Case {
        const char* where;
        Point local;
        std::optional<SnapTarget> target;
    } cases[] = {
        {"centre", {53, 53}, SnapTarget::maximize},
        {"top", {53, 81.8}, SnapTarget::top},
        {"top-left", {32.264, 73.736}, SnapTarget::topLeft},
        {"top-right", {73.736, 73.736}, SnapTarget::topRight},
        {"left", {24.2, 53}, SnapTarget::left},
        {"right", {81.8, 53}, SnapTarget::right},
        {"bottom-left", {32.264, 32.264}, SnapTarget::bottomLeft},
        {"bottom", {53, 24.2}, SnapTarget::bottom},
        {"bottom-right", {73.736, 32.264}, SnapTarget::bottomRight},
        {"16.9 above the top point", top.offsetBy(0, 16.9), SnapTarget::top},
        {"17.5 above the top point", top.offsetBy(0, 17.5), std::nullopt},
        {"18 below the centre: the centre still, before the bottom", {53, 35}, SnapTarget::maximize},
        {"18.1 below the centre: the bottom", {53, 34.9}, SnapTarget::bottom},
        {"in reach of top-left and top: the earlier wins", {42, 77}, SnapTarget::topLeft},
        {"12 left of centre: left comes before the centre", {41, 53}, SnapTarget::left},
        {"12 right of centre: the centre comes before right", {65, 53}, SnapTarget::maximize},
        {"between placements, inside the window", {15, 95}, std::nullopt},
        {"corner of the window", {2, 2}, std::nullopt},
        {"just outside the window", {106.5, 53}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(targetAtLocal(c.local), c.target);
    }
    palette.reset();
    EXPECT_EQ(targetAtLocal({53, 53}), std::nullopt) << "hidden again";
}

TEST(DialGeometryTest, HitCirclesIncludeTheirEdge) {
    // A 110-pt view: dial 100, ring radius 30, so the distances are exact.
    const DialGeometry dial({0, 0, 110, 110}, 1);
    const std::vector<SnapTarget> targets(allSnapTargets.begin(), allSnapTargets.end() - 1);
    EXPECT_EQ(dial.point(SnapTarget::top), (Point{55, 85}));
    EXPECT_EQ(dial.target({55, 102}, targets), SnapTarget::top) << "exactly 17 from the top point";
    EXPECT_EQ(dial.target({55, 102.01}, targets), std::nullopt);
    EXPECT_EQ(dial.target({55, 37}, targets), SnapTarget::maximize) << "exactly 18 below the centre";
    EXPECT_EQ(dial.target({55, 36.99}, targets), SnapTarget::bottom);
}

TEST(DialGeometryTest, DisplayScaleShrinksTheDialButNotTheView) {
    const DialGeometry half({0, 0, 106, 106}, 0.5);
    EXPECT_EQ(half.side(), 106);
    EXPECT_EQ(half.diameter(), 48);
    EXPECT_EQ(half.discRect(), (platform::Rect{29, 29, 48, 48}));
    EXPECT_EQ(half.point(SnapTarget::right), (Point{53 + 14.4, 53}));

    const DialGeometry tiny({0, 0, 6, 6}, 1);
    EXPECT_EQ(tiny.diameter(), 0);
    EXPECT_EQ(tiny.point(SnapTarget::topLeft), (Point{3, 3}));
}

TEST_F(MouseSnapPaletteTest, HighlightRedrawsOnlyWhenItChanges) {
    auto& view = *palette.paletteView();
    platform::RecordingCanvas canvas({106, 106});
    view.display(canvas);
    ASSERT_FALSE(view.needsDisplay());
    view.setSelectedTarget(std::nullopt);
    EXPECT_FALSE(view.needsDisplay());
    view.setSelectedTarget(SnapTarget::left);
    EXPECT_TRUE(view.needsDisplay());
    view.display(canvas);
    view.setSelectedTarget(SnapTarget::left);
    EXPECT_FALSE(view.needsDisplay());

    // Showing starts without a highlight.
    palette.show({700, 500}, setup.primaryScreen());
    EXPECT_EQ(view.selectedTarget(), std::nullopt);
    EXPECT_TRUE(view.needsDisplay());
}

TEST_F(MouseSnapPaletteTest, FadeOutHidesAndRestoresOpacityUnlessShownAgain) {
    palette.show({700, 500}, setup.primaryScreen());
    palette.fadeOut(0.2);
    advance(0.1);
    EXPECT_TRUE(palette.isVisible());
    EXPECT_LT(palette.paletteWindow()->alphaValue(), 1.0);
    advance(0.2);
    EXPECT_FALSE(palette.isVisible());
    EXPECT_EQ(palette.paletteWindow()->alphaValue(), 1.0);

    palette.show({700, 500}, setup.primaryScreen());
    palette.fadeOut(0.2);
    advance(0.1);
    palette.show({720, 500}, setup.primaryScreen());
    EXPECT_EQ(palette.paletteWindow()->alphaValue(), 1.0);
    advance(1.0);
    EXPECT_TRUE(palette.isVisible()) << "the interrupted fade must not hide the new palette";
}

TEST_F(MouseSnapPaletteTest, NewViewsReadTheStoredTheme) {
    platform::UserDefaults::standard().set(WindowDialThemePreference::key, std::string("ocean"));
    EXPECT_EQ(MousePaletteView::make({0, 0, 106, 106})->theme(), WindowDialTheme::ocean);
    EXPECT_EQ(palette.paletteView()->theme(), WindowDialTheme::arc) << "made before the choice";
}

TEST_F(MouseSnapPaletteTest, PreviewStepsBackOnItsUpperHalfAndForwardOnItsLowerHalf) {
    auto preview = MousePaletteView::make({0, 0, 120, 120});
    auto window = platform::Window::make(ScreenRect{300, 300, 120, 120}, platform::WindowStyleMask::titled);
    window->setContentView(preview);
    window->makeKeyAndOrderFront();
    const ScreenRect content = window->contentRectForFrameRect(window->frame());

    mouse.click({content.midX(), content.maxY() - 10});
    EXPECT_EQ(preview->cursor(), std::nullopt) << "a plain dial is not a button";

    std::vector<int> steps;
    preview->setOnThemeStep([&](int step) { steps.push_back(step); });
    EXPECT_EQ(preview->cursor(), platform::CursorShape::pointingHand);
    mouse.click({content.midX(), content.maxY() - 10});
    mouse.click({content.midX(), content.minY() + 10});
    mouse.click({content.midX(), content.midY()});  // the middle counts as the upper half
    EXPECT_EQ(steps, (std::vector<int>{-1, +1, -1}));
}

}  // namespace
}  // namespace tallowmere
