#pragma once

#include <string>

#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Canvas;

// How the window server pictures what it has no pixels for: another
// application's window is a white frame with a title bar and its title,
// the desktop a plain colour, the menu bar a light strip. The same
// picture every time, so captures can be compared.
namespace WindowPainter {

inline const Color desktopColor = Color::sRGB(0.23, 0.33, 0.47);
inline const Color menuBarColor = Color::sRGB(0.93, 0.93, 0.94);
inline const Color titleBarColor = Color::sRGB(0.91, 0.91, 0.91);
inline const Color frameColor = Color::sRGB(0.62, 0.62, 0.62);
constexpr double titleBarHeight = 28;

// `frame` in the canvas's y-up coordinates; `content` is written in the
// body below the title bar.
void paintWindow(Canvas& canvas, Rect frame, const std::string& title, double alpha = 1,
                 const std::string& content = {});

}  // namespace WindowPainter

}  // namespace tallowmere::platform
