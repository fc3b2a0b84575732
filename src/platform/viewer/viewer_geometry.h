#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Screen;

// A pixel of the viewer's window: from its top-left corner, y down.
struct PixelPoint {
    int x = 0;
    int y = 0;
    constexpr bool operator==(const PixelPoint&) const = default;
};

struct PixelSize {
    int width = 0;
    int height = 0;
    constexpr bool operator==(const PixelSize&) const = default;
};

struct PixelRect {
    PixelPoint origin;
    PixelSize size;
    constexpr bool operator==(const PixelRect&) const = default;
    constexpr bool contains(PixelPoint p) const {
        return p.x >= origin.x && p.x < origin.x + size.width && p.y >= origin.y &&
               p.y < origin.y + size.height;
    }
};

// Where the simulated screens appear in the viewer's window: their
// arrangement's bounding box at `scale` window pixels per point, never
// more than one, so a large arrangement fits a small real display.
class ViewerGeometry {
  public:
    // A scale that is not finite and positive counts as 1; above 1 as 1.
    ViewerGeometry(ScreenRect arrangement, double scale);
    // Scaled down as far as needed for the window to fit `available`
    // pixels; nothing to fit into keeps scale 1.
    static ViewerGeometry fitting(ScreenRect arrangement, PixelSize available);
    // The bounding box of `screens` (the ones that show a desktop).
    static ScreenRect arrangementOf(const std::vector<std::shared_ptr<Screen>>& screens);

    ScreenRect arrangement() const { return arrangement_; }
    double scale() const { return scale_; }
    // Whole pixels that cover the arrangement, at least one each way.
    PixelSize windowSize() const;

    // The screen point at the pixel's corner nearest the arrangement's
    // bottom-left, so the point lies inside the pixel's area, as the
    // platform's half-open rectangles count it: the top row of a 900 pt
    // screen at scale 1 is y = 899.
    ScreenPoint screenPoint(PixelPoint pixel) const;
    // The pixel whose area holds `point`; the inverse of `screenPoint`.
    PixelPoint pixel(ScreenPoint point) const;
    // The pixels a rectangle of the arrangement (a screen) is drawn into.
    PixelRect pixelRect(const ScreenRect& rect) const;

  private:
    ScreenRect arrangement_;
    double scale_;
};

}  // namespace tallowmere::platform
