#pragma once

#include <memory>

#include "platform/gfx/geometry.h"
#include "platform/ui/window.h"

namespace tallowmere {

// A borderless, transparent, shadowless window at `level` that clicks and
// drags pass through, shown in every space and beside full-screen
// applications: what the snap preview and the snap palette are drawn in
// while another application's window is being dragged underneath.
std::shared_ptr<platform::Window> makePassThroughWindow(const platform::ScreenRect& contentRect, int level);

}  // namespace tallowmere
