#pragma once

#include <string>
#include <string_view>

#include "platform/web/web_types.h"

namespace tallowmere {

// The scripts the panel puts into every page it loads.

// Media starts only after the person touches the page or presses play.
struct MenuBarWebMediaPolicy {
    static platform::WebUserScript makeScript();
};

// Finds and presses a skip-ad control on request, in every frame.
struct MenuBarWebAdSkipping {
    static std::string_view source();
    static platform::WebUserScript makeScript();
};

// Keeps the pointer visible over players that hide it; in a world apart
// from the page's own scripts.
struct MenuBarWebCursorVisibility {
    static platform::WebUserScript makeScript();
};

// Fills the view with the playing video; the panel does not install it.
struct MenuBarWebCompactLayout {
    static std::string_view script();
};

// Scripts the program runs in the page's main frame.
namespace MenuBarWebPageScripts {

// The media observer of the main frame, signing its reports with `token`.
platform::WebUserScript mediaObserver(std::string_view token);

std::string allowPlayback();
std::string setPlaybackAllowed(bool allowed);
// Pauses every media element and blocks playback; gives "paused".
std::string pause();
// Allows playback and plays; with `rewind`, jumps back to the hide-time
// checkpoint when the media fell more than 2 s behind it. A refused play is
// reported signed with `token`.
std::string resume(bool rewind, std::string_view token);
// Remembers where the media is as the panel hides.
std::string checkpoint();
// Moves the playing (else the first) media to `seconds`, within its length.
std::string seek(double seconds);
// True when the page holds a media element.
std::string mediaProbe();
std::string skipAd(std::string_view request);
std::string setCompactMedia(bool enabled);

}  // namespace MenuBarWebPageScripts

}  // namespace tallowmere
