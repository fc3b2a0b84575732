#pragma once

#include <string_view>

#include "platform/gfx/image.h"

namespace tallowmere {

// The selection bar's button glyphs: 16 × 16 pt template drawings, one per
// action and tool raw value; any other name ("screenshot") gets the capture
// frame. The colour picker shows the system's eyedropper symbol.
namespace ClipToolbarGlyph {
platform::Image image(std::string_view name);
// The code-drawn glyph of `name`, also the colour picker's when the system
// has no eyedropper.
platform::Image drawing(std::string_view name);
}

// The width of one bar item: its title in the system font of 15 pt, rounded
// up, plus 28 for the glyph and padding; never below `minimum`.
int selvaneToolbarItemWidth(std::string_view title, int minimum);
// The same rule for a title already measured.
int selvaneToolbarItemWidth(double measuredTitleWidth, int minimum);

}  // namespace tallowmere
