#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "menubar/media_control_action.h"
#include "platform/gfx/image.h"
#include "platform/ui/view.h"

namespace tallowmere {

// The content of the activity status item: network rates and the player
// controls. Made by the application delegate at its construction.
//
// For now it holds the player state it is given; drawing the rates and the
// buttons comes with the menu-bar monitors.
class NetworkTrafficStatusView : public platform::View {
public:
    static std::shared_ptr<NetworkTrafficStatusView> make();

    // What the player buttons show; the view redraws once marked for display.
    bool mediaIsPlaying = false;
    std::optional<platform::Image> mediaPlayerIcon;

    // A player button was clicked.
    std::function<void(MediaControlAction action)> onMediaAction;

protected:
    NetworkTrafficStatusView();
};

}  // namespace tallowmere
