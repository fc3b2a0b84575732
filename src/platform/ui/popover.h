#pragma once

#include <memory>
#include <optional>

#include "platform/gfx/geometry.h"
#include "platform/ui/event_monitors.h"

namespace tallowmere::platform {

class View;
class Window;

// The side of the anchor a popover opens on, in the anchor view's own
// coordinates (min-y is the bottom of a view that is not flipped).
enum class RectEdge { minX, minY, maxX, maxY };

// A bubble of content pointing at a rectangle of a view, as a status item
// shows a short note under itself. A transient popover closes at the next
// press anywhere outside it, in the program or elsewhere. Showing it again
// moves it; closing it twice does nothing.
class Popover : public std::enable_shared_from_this<Popover> {
public:
    enum class Behavior { applicationDefined, transient };
    // The gap the bubble's arrow takes between the anchor and the content.
    static constexpr double arrowLength = 9;

    static std::shared_ptr<Popover> make();
    ~Popover();
    Popover(const Popover&) = delete;
    Popover& operator=(const Popover&) = delete;

    Behavior behavior = Behavior::applicationDefined;
    Size contentSize{};
    std::shared_ptr<View> contentView;

    // Opens it beside `rect` of `view` on `edge`, kept on the anchor's screen.
    void show(Rect rect, const View& view, RectEdge edge);
    void close();
    bool isShown() const;
    // The window that shows it while it is shown.
    std::shared_ptr<Window> window() const { return window_; }

    struct Private {};
    explicit Popover(Private) {}

private:
    void dismissOnPressOutside();
    void stopWatching();

    std::shared_ptr<Window> window_;
    std::optional<EventMonitorToken> localMonitor_;
    std::optional<EventMonitorToken> globalMonitor_;
};

}  // namespace tallowmere::platform
