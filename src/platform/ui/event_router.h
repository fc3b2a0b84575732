#pragma once

#include <memory>

#include "platform/desktop/event.h"

namespace tallowmere::platform {

class Window;

// The program's side of the desktop's event stream. Each posted event:
//  - goes to the open menu first while one is tracking;
//  - a mouse or scroll event over one of the program's windows (the
//    front-most at the point that takes mouse events; the pressed window
//    for the drags and release of a press) goes to the local monitors and,
//    unless one swallows it, to that window;
//  - a key event while the program is in front (or one of its non-activating
//    panels is key) goes to the local monitors and then the key window;
//  - anything else goes to the global monitors and is left to the desktop,
//    which delivers it to the other application.
// While a modal session runs, events for the program's other windows are
// swallowed, as the platform beeps at them. One per AppContext; made when
// the UI layer first reaches the desktop, which it installs itself on.
class EventRouter {
public:
    EventRouter();
    static EventRouter& shared();

    EventRouter(const EventRouter&) = delete;
    EventRouter& operator=(const EventRouter&) = delete;

    // True when the program took the event.
    bool route(const Event& event);

private:
    bool routeToWindow(const std::shared_ptr<Window>& window, const Event& event);
    std::shared_ptr<Window> ownWindowFor(const Event& event) const;
    void updatePointerWindow(const std::shared_ptr<Window>& window, const Event& event);

    int pressedWindow_ = 0;
    std::weak_ptr<Window> pointerWindow_;
};

}  // namespace tallowmere::platform
