#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <variant>

#include "platform/desktop/ax_element.h"
#include "platform/gfx/geometry.h"
#include "windows/window_pin_error.h"

namespace tallowmere::platform {
class ImageView;
class Panel;
class Timer;
}  // namespace tallowmere::platform

namespace tallowmere {

// Keeps a read-only picture of another application's window floating above
// the others, on every space: the window is captured twelve times a second
// and shown in a borderless, click-through panel over the window's current
// frame. The window itself is never moved or raised. One window at a time;
// the pin ends by itself when the window closes, goes to the Dock or can no
// longer be captured. Nothing is stored: a pin ends with the process.
//
// One controller is owned by the application delegate and made with it
// (through std::make_shared: the refresh timer holds it weakly). Main thread.
class WindowPinController : public std::enable_shared_from_this<WindowPinController> {
public:
    struct PinnedWindow {
        std::uint32_t windowID = 0;
        platform::AXElement element;
        std::string title;
    };
    // Pinned (true), unpinned (false) or why not.
    using ToggleResult = std::variant<bool, WindowPinError>;

    // Twelve pictures a second: smooth enough to follow a scrolling window,
    // cheap enough to leave running.
    static constexpr double refreshInterval = 1.0 / 12.0;
    // How far (summed over the four edges and lengths) a window server entry
    // may lie from the Accessibility frame and still be taken for the window.
    static constexpr double matchThreshold = 24.0;
    static constexpr double cornerRadius = 10;

    WindowPinController() = default;
    ~WindowPinController();
    WindowPinController(const WindowPinController&) = delete;
    WindowPinController& operator=(const WindowPinController&) = delete;

    // Present exactly while a pin is active.
    std::optional<PinnedWindow> pinnedWindow;
    std::shared_ptr<platform::Panel> mirrorPanel;
    std::shared_ptr<platform::ImageView> mirrorImageView;
    std::shared_ptr<platform::Timer> refreshTimer;

    // Unpins a pinned window, otherwise pins the focused window of
    // `preferredPID` (the frontmost application when absent).
    ToggleResult toggle(std::optional<pid_t> preferredPID);
    // Shows the picture over the window and starts refreshing it; false when
    // the window's frame or picture cannot be had.
    bool startMirror(std::uint32_t windowID, const platform::AXElement& element, const std::string& title);
    // Ends the pin: the timer stops and the panel goes.
    void stopMirror();
    // The window server's number of the on-screen window of `pid` whose
    // bounds lie nearest the element's frame (the front one on a tie); none
    // when nothing lies within the threshold.
    std::optional<std::uint32_t> matchingWindowID(const platform::AXElement& element, pid_t pid) const;

private:
    void refresh();
};

}  // namespace tallowmere
