#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/geometry.h"

namespace tallowmere {

namespace platform {
class Screen;
}

// Where the main window goes: the room a new window is sized for and the
// screen and frame it is shown on.
namespace MainWindowPlacement {

// The room a new main window is sized for: the main screen's visible frame,
// else the first screen's, else 1440 × 900 at the origin.
platform::ScreenRect initialVisibleFrame(const std::shared_ptr<platform::Screen>& mainScreen,
                                         const std::vector<std::shared_ptr<platform::Screen>>& screens);

// The height a new window's content gets from its laid-out content: the
// fitting height rounded up plus 40, at most the screen's visible height
// less 40 (but at least 1); the fitting height stands in for a missing screen.
double fittedContentHeight(double fittingHeight, std::optional<double> screenVisibleHeight);

// The screen a shown window goes to: the first holding the pointer, else the
// window's own, else the main screen, else the one with the widest visible
// frame (the first of equals); none without screens.
std::shared_ptr<platform::Screen> targetScreen(platform::ScreenPoint mouseLocation,
                                               const std::shared_ptr<platform::Screen>& windowScreen,
                                               const std::shared_ptr<platform::Screen>& mainScreen,
                                               const std::vector<std::shared_ptr<platform::Screen>>& screens);

// The window's frame centred in `visibleFrame` inset by 20 points: its
// current size, at least its minimum size, at most the inset area.
platform::ScreenRect centredFrame(platform::ScreenRect currentFrame, platform::Size minimumSize,
                                  platform::ScreenRect visibleFrame);

}  // namespace MainWindowPlacement

}  // namespace tallowmere
