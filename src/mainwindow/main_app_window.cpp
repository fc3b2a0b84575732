#include "mainwindow/main_app_window.h"

#include "mainwindow/main_window_sizing.h"
#include "platform/desktop/screen.h"

namespace tallowmere {

platform::ScreenRect MainAppWindow::constrainFrameRect(platform::ScreenRect frame,
                                                       const std::shared_ptr<platform::Screen>& screen) const {
    if (!screen) return Window::constrainFrameRect(frame, screen);
    return MainWindowSizing::constrainedFrame(frame, screen->visibleFrame());
}

}  // namespace tallowmere
