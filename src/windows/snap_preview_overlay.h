#pragma once

#include <memory>

#include "platform/gfx/geometry.h"
#include "platform/ui/window.h"

namespace tallowmere {

// Shows where a window would go while a gesture or drag chooses its
// placement: a translucent rounded rectangle in the outline colour, over
// everything, that clicks pass through. One borderless window, made at the
// first preview and moved from frame to frame (no animation) for the life
// of the overlay. Owned by the input controller. Main thread.
class SnapPreviewOverlay {
public:
    static constexpr double cornerRadius = 14;
    static constexpr double borderWidth = 2;
    static constexpr double borderAlpha = 0.72;
    static constexpr double fillAlpha = 0.09;

    SnapPreviewOverlay() = default;
    SnapPreviewOverlay(const SnapPreviewOverlay&) = delete;
    SnapPreviewOverlay& operator=(const SnapPreviewOverlay&) = delete;

    // Shows the overlay at `frame` (Accessibility space), in the outline
    // colour as it is stored now, in front whether or not the program is
    // active.
    void show(const platform::AXRect& frame);
    // Orders the overlay out; the window stays for the next preview.
    void hide();

    // None before the first preview.
    const std::shared_ptr<platform::Window>& overlayWindow() const { return overlayWindow_; }
    bool isVisible() const { return overlayWindow_ && overlayWindow_->isVisible(); }

private:
    void makeWindow(const platform::ScreenRect& frame);

    std::shared_ptr<platform::Window> overlayWindow_;
};

}  // namespace tallowmere
