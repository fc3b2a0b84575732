#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/gfx/color.h"

namespace tallowmere {

// The "#RRGGBB" text the colour picker copies and keeps, both ways.
namespace HexColorText {

// One component as 0...255: below 0 or not a number gives 0, above 1 gives
// 255, halves round away from zero.
int componentByte(double component);
// "#3A7BFF": upper-case, two digits per component, alpha ignored.
std::string format(const platform::Color& color);
// "#" trimmed from both ends, then exactly six hex digits; anything else
// (a sign, a space, five or seven digits) is no colour.
std::optional<platform::Color> parse(std::string_view text);

}  // namespace HexColorText

}  // namespace tallowmere
