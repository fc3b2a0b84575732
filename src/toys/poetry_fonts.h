#pragma once

#include <vector>

#include "platform/gfx/font.h"

namespace tallowmere {

// The calligraphic faces of the poem header, its history and the decision
// certificate, each the first the system has: the Mac's Kaiti faces, then a
// Kaiti-style face of the Linux fonts (AR PL UKai), then the system font.
namespace PoetryFonts {

platform::Font kaiti(double size);
// The review button's brush face: Weibei, then FZShuTi, then Kaiti as above.
platform::Font brush(double size);

}  // namespace PoetryFonts

}  // namespace tallowmere
