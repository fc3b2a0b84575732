#include "platform/viewer/viewer_geometry.h"

#include <algorithm>
#include <cmath>

#include "platform/desktop/screen.h"

namespace tallowmere::platform {

ViewerGeometry::ViewerGeometry(ScreenRect arrangement, double scale)
    : arrangement_(arrangement),
      scale_(std::isfinite(scale) && scale > 0 ? std::min(scale, 1.0) : 1.0) {}

ViewerGeometry ViewerGeometry::fitting(ScreenRect arrangement, PixelSize available) {
    if (arrangement.isEmpty() || available.width <= 0 || available.height <= 0)
        return {arrangement, 1};
    const double scale = std::min(
        {1.0, available.width / arrangement.width(), available.height / arrangement.height()});
    return {arrangement, scale};
}

ScreenRect ViewerGeometry::arrangementOf(const std::vector<std::shared_ptr<Screen>>& screens) {
    ScreenRect bounds;
    for (const auto& screen : screens) {
        if (screen) bounds = bounds.unionWith(screen->frame());
    }
    return bounds;
}

PixelSize ViewerGeometry::windowSize() const {
    return {std::max(1, static_cast<int>(std::ceil(arrangement_.width() * scale_))),
            std::max(1, static_cast<int>(std::ceil(arrangement_.height() * scale_)))};
}

ScreenPoint ViewerGeometry::screenPoint(PixelPoint pixel) const {
    return {arrangement_.minX() + pixel.x / scale_, arrangement_.maxY() - (pixel.y + 1) / scale_};
}

PixelPoint ViewerGeometry::pixel(ScreenPoint point) const {
    // The slack absorbs the rounding of a scale such as 0.9, so a pixel's own
    // corner maps back to that pixel.
    constexpr double slack = 1e-9;
    return {static_cast<int>(std::floor((point.x - arrangement_.minX()) * scale_ + slack)),
            static_cast<int>(std::ceil((arrangement_.maxY() - point.y) * scale_ - slack)) - 1};
}

PixelRect ViewerGeometry::pixelRect(const ScreenRect& rect) const {
    const int left = static_cast<int>(std::lround((rect.minX() - arrangement_.minX()) * scale_));
    const int top = static_cast<int>(std::lround((arrangement_.maxY() - rect.maxY()) * scale_));
    const int right = static_cast<int>(std::lround((rect.maxX() - arrangement_.minX()) * scale_));
    const int bottom = static_cast<int>(std::lround((arrangement_.maxY() - rect.minY()) * scale_));
    return {{left, top}, {right - left, bottom - top}};
}

}  // namespace tallowmere::platform
