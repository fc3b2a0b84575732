#pragma once

#include <memory>
#include <optional>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"
#include "windows/snap_target.h"

namespace tallowmere {

// Turns a placement (left half, top-right quarter ...) into the frame a
// window receives. One engine is made by the application delegate and
// shared with the input controller and the main window. It keeps no state.
class SnapEngine {
public:
    // The share of the work area a centred window may take at most.
    static constexpr double centredWidthShare = 0.72;
    static constexpr double centredHeightShare = 0.78;

    SnapEngine() = default;
    SnapEngine(const SnapEngine&) = delete;
    SnapEngine& operator=(const SnapEngine&) = delete;

    // The frame, in Accessibility space and in whole points, that `target`
    // gives a window now at `current` on `screen`'s visible frame (without
    // menu bar and Dock). Without a screen, the one holding the window's
    // centre, else the main screen; none when there is no screen at all.
    // The window's own size limits are not consulted: applying the frame
    // finds out whether the window takes it.
    std::optional<platform::AXRect> targetFrame(const platform::AXRect& current, SnapTarget target,
                                                std::shared_ptr<platform::Screen> screen) const;
};

}  // namespace tallowmere
