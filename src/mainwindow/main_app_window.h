#pragma once

#include <memory>

#include "platform/ui/window.h"

namespace tallowmere {

// The main window: a window that keeps every frame the platform proposes
// inside the room `MainWindowSizing` leaves on the screen.
class MainAppWindow : public platform::Window {
public:
    MainAppWindow(MakeKey key, platform::ScreenRect contentRect, platform::WindowStyleMask style)
        : Window(key, contentRect, style) {}

    platform::ScreenRect constrainFrameRect(platform::ScreenRect frame,
                                            const std::shared_ptr<platform::Screen>& screen) const override;
};

}  // namespace tallowmere
