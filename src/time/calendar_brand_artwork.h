#pragma once

#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/gfx/color.h"
#include "platform/gfx/image.h"

namespace tallowmere {

// The calendar's own colours and drawings, shared by the month view, its
// day cells and the reminder line.
namespace CalendarBrandArtwork {

inline platform::Color ink() { return platform::Color::sRGB(0.24, 0.18, 0.12); }
inline platform::Color accent() { return platform::Color::sRGB(0.72, 0.34, 0.08); }
inline platform::Color gold() { return platform::Color::sRGB(0.98, 0.75, 0.3); }

// A paw print (one heel pad under four toes) fitted into the middle of
// `rect`, filled with `color`.
void drawPaw(platform::Canvas& canvas, platform::Rect rect, const platform::Color& color);

// A 14 × 14 template glyph: "previous" (a chevron pointing left), "next"
// (pointing right) or "close" (a cross); any other name gives an empty glyph.
platform::Image icon(std::string_view name);

}  // namespace CalendarBrandArtwork

}  // namespace tallowmere
