#pragma once

#include <memory>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Desktop;
class Screen;

// How the UI layer reaches the simulated desktop of the current context.
// Reaching it the first time also installs the program's event router, so
// events posted to the desktop find the program's windows, monitors and
// menus from the moment any of them exists.
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
