#pragma once

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Canvas;

// The sign-in screen the simulated Mac shows while its screen is locked:
// every screen dark, and on the primary one the time, the date, the
// person's picture and name and the password field (where
// `ScreenLockService::signInFieldFrame` puts it). Our own plain drawing.
namespace LockScreenPainter {

// `screenFrame` in the canvas's (screen) coordinates.
void draw(Canvas& canvas, ScreenRect screenFrame, bool isPrimary);

}  // namespace LockScreenPainter

}  // namespace tallowmere::platform
