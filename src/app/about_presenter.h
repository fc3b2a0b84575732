#pragma once

namespace tallowmere {

// Opens the About window: built on the first call, then the same window
// re-centred and brought in front of other applications' windows.
namespace AboutPresenter {
void show();
}

}  // namespace tallowmere
