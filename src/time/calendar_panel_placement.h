#pragma once

#include "platform/desktop/screen_arrangement.h"
#include "platform/gfx/geometry.h"

namespace tallowmere {

// Where the calendar drop-down goes: centred under its anchor, hanging a
// little below it, kept inside the visible frame of the anchor's screen.
namespace CalendarPanelPlacement {

inline constexpr platform::Size panelSize{400, 660};
inline constexpr double gapBelowAnchor = 6;
inline constexpr double screenMargin = 10;
// The area assumed when no screen is attached at all.
inline constexpr platform::ScreenRect fallbackArea{0, 0, 1200, 800};

// The visible frame of the first screen holding `anchor`, else of the main
// screen, else of the first screen, else the fallback area.
platform::ScreenRect area(const platform::ScreenArrangement& screens, platform::ScreenPoint anchor);
// The panel's frame in `area`. Each axis is held `screenMargin` inside it,
// the upper bound applied last, so on an area smaller than the panel the
// panel's left and top edges stay in view.
platform::ScreenRect frame(platform::ScreenPoint anchor, platform::ScreenRect area);

}  // namespace CalendarPanelPlacement

}  // namespace tallowmere
