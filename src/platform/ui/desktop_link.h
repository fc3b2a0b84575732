#pragma once

#include <memory>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Desktop;
class Screen;

// How the UI layer reaches the simulated desktop of the current context.
// Reaching it the first time also hooks the program in: events posted to
// the desktop go through the program's event router, and the desktop's
// screen captures draw the program's windows and menu bar, from the moment
// any UI object exists.
namespace DesktopLink {
Desktop& desktop();
// The primary screen's whole frame (1440 × 900 when no screen is attached).
ScreenRect primaryScreenFrame();
// The frame of the screen holding `point`; the primary screen's otherwise.
ScreenRect screenFrameContaining(ScreenPoint point);
std::shared_ptr<Screen> screenContaining(ScreenPoint point);
std::shared_ptr<Screen> mainScreen();
}  // namespace DesktopLink

}  // namespace tallowmere::platform
