#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/gfx/geometry.h"

namespace tallowmere {

// One on-screen window as the window server lists it during a capture.
struct WindowOrderEntry {
    pid_t pid = 0;
    // The window server's name for it; empty when it gives none.
    std::string title{};
    // Bounds in Accessibility space, as the window server reports them.
    platform::AXRect frame{};
    // Position in the front-to-back list, counting every listed entry.
    int zIndex = 0;
};

namespace WindowOrdering {

// What a title mismatch costs: more than any plausible frame distance, so a
// window whose title matches always wins over one that is merely close.
inline constexpr double titleMismatchPenalty = 10000;

// How well an entry fits a window with this title and frame; lower is
// better. An empty title matches nothing, so the frame alone decides.
double matchScore(const WindowOrderEntry& entry, const std::string& title, const platform::AXRect& frame);

// The on-screen windows, front to back, from the window server's list
// (desktop elements left out). Entries without an owner are skipped but
// still take their place in the count.
std::vector<WindowOrderEntry> onScreenOrder();

}  // namespace WindowOrdering

}  // namespace tallowmere
