#pragma once

#include <optional>

#include "platform/desktop/event.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Window;

// The parts of a titled window's frame a person operates: the close,
// minimise and full-screen buttons at the top left, and the edges of a
// resizable window, dragged to resize it down to its minimum size. The
// event router offers it every mouse event of the program's windows before
// the window's views; one per AppContext.
class WindowFrameControls {
public:
    static WindowFrameControls& shared();

    enum class Button { close, miniaturize, fullScreen };
    static constexpr double buttonDiameter = 12;
    // How far inside the frame an edge can be caught.
    static constexpr double resizeMargin = 4;

    // The centre of a button on a window of `frame`.
    static ScreenPoint buttonCentre(ScreenRect frame, Button button);
    // Whether the window shows the button in colour (it has that ability).
    static bool isAvailable(const Window& window, Button button);
    // The button under `location`, if the window has it there.
    static std::optional<Button> buttonAt(const Window& window, ScreenPoint location);

    // Takes a press on a button or an edge and the drags that follow it;
    // true when the event was the frame's and no view should get it.
    bool handle(Window& window, const Event& event);
    bool isResizing() const { return resize_.has_value(); }

private:
    struct Resize {
        int windowNumber = 0;
        bool left = false, right = false, bottom = false, top = false;
        ScreenPoint start;
        ScreenRect frame;
    };
    std::optional<Resize> resize_;
};

}  // namespace tallowmere::platform
