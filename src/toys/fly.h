#pragma once

#include <memory>

#include "platform/gfx/geometry.h"
#include "platform/ui/window.h"
#include "toys/fly_sprite_view.h"

namespace tallowmere {

// One live desktop buddy: its panel, its view and where it is heading.
// Held by the controller's list; the motion changes it in place.
struct Fly {
    std::shared_ptr<platform::Panel> window;
    std::shared_ptr<FlySpriteView> view;
    int activity = 0;  // 0...2, indexes the motion's personality table
    bool isGiant = false;
    platform::ScreenPoint target;
    double restingUntil = 0;  // uptime; 0: not resting
    bool isGoingHome = false;
    platform::ScreenPoint velocity;  // points per second
    double lastEscapeTargetAt = -1e9;  // uptime of the last flight from the pointer
};

}  // namespace tallowmere
