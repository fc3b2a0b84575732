#pragma once

#include <string>
#include <vector>

namespace tallowmere::platform {

// Where on screen the program's own controls and the rows of its open menus
// are, so a click from outside the program (an end-to-end test driving the
// viewer) can be aimed at what a snapshot shows. Listed at each snapshot when
// TALLOWMERE_TRACE names "views"; never part of the "ui" trace, which tells
// what changes, not where everything is.
namespace ViewsTrace {

inline constexpr const char* traceName = "views";

// One line per visible control of each shown window, back to front:
//   "塔洛梅百宝箱" #3 AXPopUpButton "简体中文" at (x, y, width × height)
// then one per row of each open menu, outermost first:
//   menu "" row "English" at (x, y, width × height)
// Frames are in screen space, cut to what the control's ancestors show.
std::vector<std::string> describeScreen();

// Prints describeScreen() on standard error, "views: " before each line,
// when the trace is on.
void printIfOn();

}  // namespace ViewsTrace

}  // namespace tallowmere::platform
