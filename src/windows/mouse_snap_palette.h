#pragma once

#include <memory>
#include <optional>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/window.h"
#include "windows/mouse_palette_view.h"
#include "windows/snap_target.h"

namespace tallowmere {

// The round dial that opens beside the pointer while another
// application's window is dragged by its title bar. It never takes the
// mouse: the drag goes on underneath, and the owner (the input controller)
// asks `target(at:)` on every drag event and sets the highlight. Made once,
// hidden, when the input controller is made. Main thread.
class MouseSnapPalette {
public:
    // The palette window's side, and the gaps to the pointer and to the
    // edges of the screen's visible frame.
    static constexpr double side = 106;
    static constexpr double pointerGap = 18;
    static constexpr double edgeMargin = 8;
    // Above menus, so the dial shows over everything while dragging.
    static constexpr int windowLevel = platform::WindowLevel::popUpMenu;
    // A dial left alone this long during a drag fades away over
    // `automaticHideFade`, so it never hides where the window is dropped.
    static constexpr double automaticHideDelay = 2.0;
    static constexpr double automaticHideFade = 0.2;

    MouseSnapPalette();
    MouseSnapPalette(const MouseSnapPalette&) = delete;
    MouseSnapPalette& operator=(const MouseSnapPalette&) = delete;

    platform::Size size() const { return size_; }
    const std::shared_ptr<MousePaletteView>& paletteView() const { return paletteView_; }
    const std::shared_ptr<platform::Window>& paletteWindow() const { return paletteWindow_; }
    bool isVisible() const { return paletteWindow_->isVisible(); }

    // Clears the highlight and shows the dial beside `pointer` (screen
    // space): to its right and below it, or to its left where the right
    // side lacks room, always kept inside `screen`'s visible frame.
    void show(platform::ScreenPoint pointer, const std::shared_ptr<platform::Screen>& screen);
    // The placement under a screen point; none while hidden or outside the
    // window, and between placements.
    std::optional<SnapTarget> target(platform::ScreenPoint point) const;
    // Fades the window out over `duration` seconds, then hides it and gives
    // it back full opacity. Showing it again meanwhile cancels the fade.
    void fadeOut(double duration);
    // Back to rest at once: no highlight, full opacity, hidden.
    void reset();

private:
    platform::Size size_;
    std::shared_ptr<MousePaletteView> paletteView_;
    std::shared_ptr<platform::Window> paletteWindow_;
};

}  // namespace tallowmere
