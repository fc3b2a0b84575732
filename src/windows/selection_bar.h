#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"

namespace tallowmere {

// What the input controller asks of the selection action bar. The bar's
// own library builds on window management, so the application delegate
// hands the bar over when it makes the input controller instead of window
// management linking it.
class SelectionBar {
public:
    virtual ~SelectionBar() = default;

    // Hides the bar and forgets its selection; harmless when hidden.
    virtual void hide() = 0;
    // True while the person chooses an application for the exclusion list:
    // the mouse is theirs, and the input controller ignores it meanwhile.
    virtual bool isChoosingApplication() const = 0;
    // True when the application is on the exclusion list; an absent
    // identifier never is.
    virtual bool excludes(const std::optional<std::string>& bundleIdentifier) const = 0;
    // Reads the selection under `point` (screen space): text, whether it
    // comes from a password field, and its style; then shows the bar beside
    // the point on `screen`.
    virtual void showSelection(platform::ScreenPoint point, const std::shared_ptr<platform::Screen>& screen) = 0;
};

}  // namespace tallowmere
