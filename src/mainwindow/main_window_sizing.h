#pragma once

#include "platform/gfx/geometry.h"

namespace tallowmere {

// Where the main window may be on a screen: inside the visible frame with a
// margin of up to 20 points, never inverted on a tiny screen.
namespace MainWindowSizing {

// The visible frame inset by min(20, (length − 1) / 2) on each axis.
platform::ScreenRect availableFrame(platform::ScreenRect visibleFrame);
// `proposed` shrunk to fit the available frame (at least 1 × 1) and moved
// inside it.
platform::ScreenRect constrainedFrame(platform::ScreenRect proposed, platform::ScreenRect visibleFrame);

}  // namespace MainWindowSizing

}  // namespace tallowmere
