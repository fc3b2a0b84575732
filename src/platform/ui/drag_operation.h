#pragma once

namespace tallowmere::platform {

// What a drag destination would do with a drop: nothing (refused) or copy.
enum class DragOperation { none, copy };

}  // namespace tallowmere::platform
