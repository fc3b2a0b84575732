#pragma once

#include <functional>
#include <optional>

#include "menubar/media_control_action.h"
#include "platform/gfx/image.h"

namespace tallowmere {

// What is playing and in which player, and the commands sent to it. One per
// process (`shared()`).
//
// For now it knows of no player: the now-playing monitor, the audio
// listeners and the commands come with the menu-bar player controls.
class MediaControlController {
public:
    static MediaControlController& shared();

    MediaControlController() = default;
    MediaControlController(const MediaControlController&) = delete;
    MediaControlController& operator=(const MediaControlController&) = delete;

    // Fires when the playing state or the player changes.
    std::function<void(bool isPlaying, std::optional<platform::Image> playerIcon)> onStateChanged;

    // True while the current player application still runs.
    bool hasCurrentPlayer() const { return false; }
    // Sends a command to the current player, or opens the preferred one.
    void perform(MediaControlAction action) { (void)action; }

    bool isMonitoringEnabled() const { return monitoringEnabled_; }
    // On: watch the now-playing state; off: stop watching.
    void setMonitoringEnabled(bool enabled) { monitoringEnabled_ = enabled; }

private:
    bool monitoringEnabled_ = false;
};

}  // namespace tallowmere
