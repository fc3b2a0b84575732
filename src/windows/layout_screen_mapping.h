#pragma once

#include <memory>
#include <vector>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"
#include "windows/workspace_layout.h"

namespace tallowmere {

// Where a saved window goes on today's screens: the same relative place and
// size within the visible area of its screen (found again by its display
// number, else the screen most like the saved one), never smaller than
// 160 × 100 unless the screen is, and inside the visible area up to the
// rounding out to whole points. A window saved without a screen keeps its
// frame.
namespace LayoutScreenMapping {

inline constexpr double minimumWidth = 160;
inline constexpr double minimumHeight = 100;

// `screens` in the platform's order; `mainScreen` stands in when there are none.
platform::AXRect targetFrame(const WindowSnapshot& window, const std::vector<std::shared_ptr<platform::Screen>>& screens,
                             const std::shared_ptr<platform::Screen>& mainScreen);
// The same on the desktop's current screens.
platform::AXRect targetFrame(const WindowSnapshot& window);

}  // namespace LayoutScreenMapping

}  // namespace tallowmere
