#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/base/result.h"
#include "platform/ui/cursor.h"
#include "platform/viewer/viewer_geometry.h"
#include "platform/viewer/viewer_input.h"

namespace tallowmere::platform {

class Bitmap;

// The viewer's real window on an X display; the only place that knows
// Xlib. It keeps two connections: the event thread reads the person's input
// on one and hands it on as `ViewerInput`, and the main thread draws on the
// other, so neither waits for the other and Xlib needs no locking.
//
// Pictures are drawn into a back buffer of the window's size and shown from
// there, so an uncovered window is repainted without drawing again.
class X11Window {
  public:
    // Called on the event thread; hand the work to the main queue.
    struct Handlers {
        std::function<void(ViewerInput)> onInput;
        // The window manager's close button.
        std::function<void()> onCloseRequested;
        // Part of the window was uncovered and needs showing again.
        std::function<void()> onExposed;
    };

    // Connects to the display named by DISPLAY and makes the (still hidden)
    // window; fails with the reason when there is no display to open.
    static Result<std::unique_ptr<X11Window>> open(const std::string& title);
    // Stops the event thread and closes the window and the connections.
    ~X11Window();
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    // The real display's size, for fitting the window into it.
    PixelSize displaySize() const;
    PixelSize size() const { return size_; }
    // Fixes the window at `size`, clears it to black and shows the window
    // the first time.
    void setSize(PixelSize size);
    // Copies `picture` into the back buffer with its top-left at `at`.
    void draw(const Bitmap& picture, PixelPoint at);
    // Shows the back buffer in the window.
    void present();
    // The pointer's shape over the window.
    void setCursorShape(Cursor::Shape shape);

    // Starts the event thread; once only.
    void startReadingInput(Handlers handlers);

  private:
    struct Connection;
    struct EventReader;
    explicit X11Window(std::unique_ptr<Connection> connection);

    std::unique_ptr<Connection> connection_;
    std::unique_ptr<EventReader> reader_;
    PixelSize size_{};
};

}  // namespace tallowmere::platform
