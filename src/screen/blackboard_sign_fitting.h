#pragma once

#include <string>

#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {
class TextMeasurer;
}

namespace tallowmere {

// The font a blackboard sign uses at `size`: the family's regular face,
// else the medium system font.
platform::Font blackboardSignFont(const std::string& family, double size);

// The largest size from `requested` down, in steps of 2, at which the
// wrapped, centred text fits `box`; never below 8. A size of 8 or less is
// taken as it is, unmeasured.
double fittedBlackboardFontSize(const std::string& text, const std::string& family, double requested,
                                platform::Size box, const platform::TextMeasurer& measurer);

}  // namespace tallowmere
