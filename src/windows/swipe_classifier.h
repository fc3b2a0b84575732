#pragma once

#include <optional>

#include "windows/snap_target.h"

namespace tallowmere {

// Which placement a two-finger swipe on a title bar asks for, from the
// swipe's summed movement (x right, y up, in points) and how long it has
// lasted. Short swipes ask for nothing yet; a swipe whose axes are close
// to equal is diagonal (a quarter); otherwise the longer axis decides, the
// vertical one on a tie. Only a swipe up that is both long and slow
// maximises, so a quick flick up gives the top half.
namespace SwipeClassifier {

// Below this on both axes the swipe has not said anything yet.
inline constexpr double minimumTravel = 26;
// A diagonal needs this much on each axis ...
inline constexpr double diagonalMinimumAxis = 24;
// ... and its longer axis less than this many times the shorter one.
inline constexpr double diagonalMaximumRatio = 2.2;
// A swipe up maximises once it is this long and has lasted this many seconds.
inline constexpr double maximizeMinimumTravel = 35;
inline constexpr double maximizeMinimumSeconds = 0.7;

std::optional<SnapTarget> classify(double x, double y, double elapsedSeconds);

}  // namespace SwipeClassifier

}  // namespace tallowmere
