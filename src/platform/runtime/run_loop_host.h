#pragma once

#include <optional>

namespace tallowmere::platform {

// An event loop the main queue waits inside when it has nothing due, in
// place of its own condition variable: an engine with a loop of its own (the
// web engine's GLib loop) then runs on the main thread between the queue's
// items, and its callbacks reach the queue by posting to it.
class RunLoopHost {
public:
    virtual ~RunLoopHost() = default;
    // Runs the host's own work once, waiting at most `seconds` (without end
    // when none) for it or for `wake()`.
    virtual void wait(std::optional<double> seconds) = 0;
    // Thread-safe; ends a wait in progress, or the next one at once.
    virtual void wake() = 0;
};

}  // namespace tallowmere::platform
