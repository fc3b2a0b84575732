#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/data.h"  // image.h uses Data
#include "platform/desktop/window_level.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/image.h"

namespace tallowmere::platform {

class Canvas;
class Desktop;
class SimulatedWindow;

// One entry of the window server's list, as the window list reports it.
struct WindowInfo {
    int windowNumber = 0;
    pid_t ownerPID = 0;
    std::string ownerName{};
    // Top-left origin coordinates, like Accessibility.
    AXRect bounds{};
    int layer = WindowLevel::normal;
    // Only for the program's own windows, or with screen-capture access.
    std::optional<std::string> name{};
    double alpha = 1.0;
    bool isOnScreen = false;
};

// Options of `windowList`, combinable, with the platform's raw values.
namespace WindowListOption {
constexpr unsigned all = 0;
constexpr unsigned onScreenOnly = 1 << 0;
constexpr unsigned onScreenAboveWindow = 1 << 1;
constexpr unsigned onScreenBelowWindow = 1 << 2;
constexpr unsigned includingWindow = 1 << 3;
constexpr unsigned excludeDesktopElements = 1 << 4;
}  // namespace WindowListOption

enum class WindowOrderingMode { above, below, out };

// A window of the program itself, as the UI layer registers it.
struct OwnWindowSpec {
    ScreenRect frame{};
    std::string title{};
    int level = WindowLevel::normal;
    bool visible = false;  // ordered in at once
    double alpha = 1.0;
    bool ignoresMouseEvents = false;
    std::string subrole = "AXStandardWindow";
};

// The window server: every window of every application in one stacking
// order, front to back, grouped by level. It lists them as the window list
// does, finds the window under a point and captures window images.
//
// The program's own windows are registered here by the UI layer and keyed
// by their window number; other applications' windows come from their
// simulated applications.
class WindowServer {
  public:
    explicit WindowServer(Desktop& desktop) : desktop_(desktop) {}
    WindowServer(const WindowServer&) = delete;
    WindowServer& operator=(const WindowServer&) = delete;

    // Front to back. `relativeTo` is the window of the above/below/including
    // options.
    std::vector<WindowInfo> windowList(unsigned options, int relativeTo = 0) const;
    std::optional<WindowInfo> windowInfo(int windowNumber) const;
    std::shared_ptr<SimulatedWindow> window(int windowNumber) const;
    // The windows on screen, front to back.
    std::vector<std::shared_ptr<SimulatedWindow>> orderedWindows() const;
    // The front-most on-screen window under the point that takes mouse events.
    std::shared_ptr<SimulatedWindow> windowAt(ScreenPoint point) const;

    // The program's own windows.
    int registerOwnWindow(const OwnWindowSpec& spec);
    void setOwnWindowFrame(int windowNumber, ScreenRect frame);
    void setOwnWindowTitle(int windowNumber, std::string title);
    void setOwnWindowLevel(int windowNumber, int level);
    void setOwnWindowAlpha(int windowNumber, double alpha);
    void setOwnWindowIgnoresMouseEvents(int windowNumber, bool ignores);
    // Orders a window in above or below another (0: of all its level), or out.
    void orderOwnWindow(int windowNumber, WindowOrderingMode mode, int relativeTo = 0);
    void removeOwnWindow(int windowNumber);
    // The program's key window (0 for none); it decides the main screen.
    void setKeyWindow(int windowNumber);
    int keyWindowNumber() const { return keyWindow_; }

    // Screen capture needs the person's permission for other applications'
    // windows. Without it their names are withheld from the list and their
    // images cannot be captured.
    bool preflightScreenCaptureAccess() const { return screenCaptureAllowed_; }
    // Registers the request (a test counts them); the answer is the current
    // permission, as the system answers before the person decides.
    bool requestScreenCaptureAccess();
    int screenCaptureRequestCount() const { return screenCaptureRequests_; }
    void setScreenCaptureAllowed(bool allowed) { screenCaptureAllowed_ = allowed; }

    // The image of one window at its own bounds (none when it is not on
    // screen or may not be captured), and of a rectangle of the screen as it
    // looks, windows drawn back to front. Other applications' windows are
    // taken as they are at the capture; the program's own are drawn by
    // `drawOwnWindow` when the image is drawn.
    std::optional<Image> captureWindow(int windowNumber) const;
    std::optional<Image> captureScreenRect(ScreenRect rect) const;
    int captureCount() const { return captureCount_; }

    // How the program's own windows and the menu bar look, set by the UI
    // layer; they draw in screen coordinates of the canvas, when the image
    // is drawn. Unset, own windows look like other windows and the menu bar
    // is a plain strip.
    std::function<void(Canvas& canvas, const SimulatedWindow& window)> drawOwnWindow;
    std::function<void(Canvas& canvas)> drawMenuBar;

    // Desktop plumbing.
    int allocateWindowNumber() { return nextWindowNumber_++; }
    void insert(const std::shared_ptr<SimulatedWindow>& window);
    void bringToFront(const SimulatedWindow& window);
    void remove(const SimulatedWindow& window);

  private:
    std::shared_ptr<SimulatedWindow> ownWindow(int windowNumber) const;
    // No window on screen at its level is in front of it.
    bool isInFrontOfItsLevel(const SimulatedWindow& window) const;
    WindowInfo info(const SimulatedWindow& window) const;

    Desktop& desktop_;
    std::vector<std::weak_ptr<SimulatedWindow>> order_;  // front to back, by level
    int nextWindowNumber_ = 100;
    int keyWindow_ = 0;
    bool screenCaptureAllowed_ = false;
    int screenCaptureRequests_ = 0;
    mutable int captureCount_ = 0;
};

}  // namespace tallowmere::platform
