#pragma once

#include <optional>
#include <span>

#include "platform/gfx/canvas.h"
#include "platform/gfx/image.h"
#include "windows/dial_geometry.h"
#include "windows/snap_target.h"
#include "windows/window_dial_theme.h"

namespace tallowmere {

// Paints the snap palette's dial in one theme onto any canvas: the face,
// then for each placement its highlight (when chosen) and its marker. The
// palette view paints through it, and so do the theme pictures, so the same
// code records commands in tests and makes pixels on screen.
class DialPainter {
public:
    // `bounds` is the view's, y up; `icon` is the picture the dog theme
    // shows in its disc.
    DialPainter(platform::Canvas& canvas, platform::Rect bounds, WindowDialTheme theme, double displayScale,
                platform::Image icon);

    void paint(std::span<const SnapTarget> targets, std::optional<SnapTarget> selected);

    const DialGeometry& geometry() const { return geometry_; }

    // The disc under the chosen placement, and its colour.
    static double highlightRadius(WindowDialTheme theme, SnapTarget target);
    static platform::Color highlightColor(WindowDialTheme theme, SnapTarget target);

private:
    void paintFace();
    void paintFlatDisc();
    void paintLinearFace(const platform::Color& from, const platform::Color& to, double angle);
    void paintRadialFace(const platform::Color& from, const platform::Color& to, platform::Point relativeCentre);
    void paintRing(double inset, double width, const platform::Color& color,
                   std::optional<std::vector<double>> dash = std::nullopt);
    void paintDotsOnCircle(int count, double radius, double size, const platform::Color& first,
                           const platform::Color& second);
    void paintSeeds(const platform::Color& color);
    void paintArcFace();
    void paintGlassBubbles();
    void paintGraphiteTicks();
    void paintWatermelonFlesh();
    void paintWatermelonSlices();
    void paintWatermelonNeon();
    void paintIcon();
    void paintGloss();

    void paintTarget(SnapTarget target, bool isSelected, bool anySelected);
    void drawArrow(platform::Point at, platform::Point direction, const platform::Color& color);
    void drawChevron(platform::Point at, platform::Point direction, const platform::Color& color);
    void drawFlowerPetal(platform::Point at, platform::Point around, bool selected);
    void drawFlowerCentre(platform::Point at, bool selected);
    void drawCenterCircle(platform::Point at, const platform::Color& color);
    void drawFunnyMarks(platform::Rect disc, bool mirrored);
    void fillDot(platform::Point centre, double size, const platform::Color& color);

    platform::Canvas& canvas_;
    WindowDialTheme theme_;
    DialGeometry geometry_;
    platform::Image icon_;
};

}  // namespace tallowmere
