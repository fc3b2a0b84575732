#pragma once

#include <memory>

#include "platform/desktop/drag_operation.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Pasteboard;
class View;

// The program's side of a drag from another application: over the
// program's windows, the deepest view under the pointer that registered for
// one of the dragged types is the destination. It hears entered when the
// pointer comes to it and exited when it leaves or the drag is given up; a
// drop on it performs (and hears no exit) only when it accepted the drag. One per AppContext,
// installed on the desktop with the UI layer.
class DragDestinationRouter {
public:
    static DragDestinationRouter& shared();
    DragDestinationRouter() = default;
    DragDestinationRouter(const DragDestinationRouter&) = delete;
    DragDestinationRouter& operator=(const DragDestinationRouter&) = delete;

    // What the destination under `location` does with the drag; for a drop,
    // copy only when the destination took it.
    DragOperation handle(DragStep step, ScreenPoint location, const Pasteboard& dragged);

private:
    std::shared_ptr<View> destinationAt(ScreenPoint location, const Pasteboard& dragged) const;
    void leave();

    std::weak_ptr<View> destination_;
    DragOperation operation_ = DragOperation::none;
};

}  // namespace tallowmere::platform
