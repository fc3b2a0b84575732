#pragma once

#include "platform/gfx/color.h"

namespace tallowmere {

namespace platform {
class View;
}

// The soft two-colour wash behind the cards of the main window's second
// page: `from` at the top-left corner, `to` at the bottom-right, beneath
// everything else in the view and following its rounded corners (set them
// first: the wash copies them once). Calling it again on a view replaces
// its wash, so a recoloured card never stacks two.
void applySecondPageGradient(platform::View& view, const platform::Color& from, const platform::Color& to);

}  // namespace tallowmere
