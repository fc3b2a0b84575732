#pragma once

#include <memory>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"

namespace tallowmere {

// The screens and the two coordinate spaces as window management sees them.
// Screen space (`ScreenPoint`, `ScreenRect`): origin at the bottom-left of
// the primary screen, y up; events, screens and the program's own windows.
// Accessibility space (`AXPoint`, `AXRect`): origin at the top-left of the
// primary screen, y down; other applications' windows and every placement
// frame. Every conversion goes through `mainHeight()`. Stateless: each call
// reads the current screens. Main thread.
namespace ScreenGeometry {

// The screen at the origin of screen space: the first screen whose frame
// starts exactly at (0, 0). None when no screen does.
std::shared_ptr<platform::Screen> primaryScreen();
// The screen of the key window (the primary one when there is no key
// window). It is the fallback wherever a point or frame lies on no screen.
std::shared_ptr<platform::Screen> mainScreen();

// The height every conversion reflects about: the top of the primary
// screen, else of the main screen, else of the first screen; 0 with none.
double mainHeight();

platform::AXPoint toAccessibility(platform::ScreenPoint point);
platform::ScreenPoint toScreen(platform::AXPoint point);
platform::AXRect toAccessibility(const platform::ScreenRect& rect);
platform::ScreenRect toScreen(const platform::AXRect& rect);

// The first screen whose frame holds the pointer (the top and right edges
// belong to the next screen, not this one); otherwise the main screen, which
// may be absent when no screen is attached.
std::shared_ptr<platform::Screen> screenContainingMousePoint(platform::ScreenPoint point);
// The screen holding the centre of a window's frame, by the same rule.
std::shared_ptr<platform::Screen> screenContainingAccessibilityFrame(const platform::AXRect& frame);

}  // namespace ScreenGeometry

}  // namespace tallowmere
