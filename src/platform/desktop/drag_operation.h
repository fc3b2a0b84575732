#pragma once

namespace tallowmere::platform {

// What a drag destination would do with a drop: nothing (refused) or copy.
enum class DragOperation { none, copy };

// Where a drag of data between applications is: moving (over whatever is
// under the pointer now), let go there, or given up before a drop.
enum class DragStep { moved, dropped, cancelled };

}  // namespace tallowmere::platform
