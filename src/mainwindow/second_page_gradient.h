#pragma once

#include "platform/gfx/color.h"

namespace tallowmere {

namespace platform {
class View;
}

// The soft two-colour wash behind the cards of the main window's second
// page: `from` at the top, `to` at the bottom, following the view's rounded
// corners. Calling it again on a view replaces its wash.
void applySecondPageGradient(platform::View& view, const platform::Color& from, const platform::Color& to);

}  // namespace tallowmere
