#pragma once

#include "platform/gfx/color.h"

namespace tallowmere {

// The calendar's own colours, shared by the month view and the reminder line.
namespace CalendarBrandArtwork {

inline platform::Color ink() { return platform::Color::sRGB(0.24, 0.18, 0.12); }
inline platform::Color accent() { return platform::Color::sRGB(0.72, 0.34, 0.08); }
inline platform::Color gold() { return platform::Color::sRGB(0.98, 0.75, 0.3); }

}  // namespace CalendarBrandArtwork

}  // namespace tallowmere
