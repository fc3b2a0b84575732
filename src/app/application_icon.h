#pragma once

#include "platform/gfx/image.h"

namespace tallowmere {

// The program's own icon: the Tallowby dog, a cream puppy face with brown
// ears on a warm orange tile with a sparkle. Drawn through Canvas at any
// size, so it is sharp wherever it is shown (the dog dial of the snap
// palette draws it into its disc).
namespace ApplicationIcon {

inline constexpr double side = 512;

// A square image of `side` points that draws itself into any rectangle.
platform::Image image();

}  // namespace ApplicationIcon

}  // namespace tallowmere
