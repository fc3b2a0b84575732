#include "windows/swipe_classifier.h"

#include <algorithm>
#include <cmath>

namespace tallowmere::SwipeClassifier {

std::optional<SnapTarget> classify(double x, double y, double elapsedSeconds) {
    const double ax = std::abs(x), ay = std::abs(y);
    const double longer = std::max(ax, ay);
    if (longer < minimumTravel) return std::nullopt;
    if (ax >= diagonalMinimumAxis && ay >= diagonalMinimumAxis && longer / std::min(ax, ay) < diagonalMaximumRatio) {
        if (x < 0 && y > 0) return SnapTarget::topLeft;
        if (x > 0 && y > 0) return SnapTarget::topRight;
        if (x < 0 && y < 0) return SnapTarget::bottomLeft;
        return SnapTarget::bottomRight;
    }
    if (ay >= ax) {
        if (y <= 0) return SnapTarget::bottom;
        return y >= maximizeMinimumTravel && elapsedSeconds >= maximizeMinimumSeconds ? SnapTarget::maximize
                                                                                       : SnapTarget::top;
    }
    return x > 0 ? SnapTarget::right : SnapTarget::left;
}

}  // namespace tallowmere::SwipeClassifier
