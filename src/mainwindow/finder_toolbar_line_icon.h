#pragma once

#include "platform/gfx/image.h"

namespace tallowmere {

// The Finder toolbar row's icon: an 18 × 18 template line drawing of a
// face in a rounded square, drawn when needed.
platform::Image finderToolbarLineIcon();

}  // namespace tallowmere
