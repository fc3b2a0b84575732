#pragma once

#include "platform/desktop/pasteboard.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// What a drag destination learns of a drag over it: the dragged data and
// where the pointer is, in its window's coordinates.
struct DraggingInfo {
    const Pasteboard& pasteboard;
    Point locationInWindow;
};

}  // namespace tallowmere::platform
