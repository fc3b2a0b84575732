#pragma once

namespace tallowmere {

// The media commands of the menu-bar player controls.
enum class MediaControlAction { previous, playPause, next, openPlayer };

}  // namespace tallowmere
