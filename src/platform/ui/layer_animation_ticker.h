#pragma once

#include <memory>
#include <vector>

namespace tallowmere::platform {

class Timer;
class View;

// Keeps the views whose layers run keyframe animations redrawn: the
// animations are evaluated as a view draws, so something must ask for the
// frames. At most thirty a second while one of the views shows (it and its
// ancestors not hidden, its window on screen and not transparent); while
// none shows, nothing is scheduled at all. One per context (`shared()`).
//
// Views tell it of themselves when they enter a window with an animated
// layer or gain an animation there (View::addLayerAnimation); hiding and
// showing views and windows tells it to look again.
class LayerAnimationTicker {
public:
    static constexpr double frameInterval = 1.0 / 30;

    static LayerAnimationTicker& shared();
    // The shared ticker when one was made; hiding a view before any
    // animation ran needs none.
    static LayerAnimationTicker* sharedIfMade();

    LayerAnimationTicker() = default;
    ~LayerAnimationTicker();
    LayerAnimationTicker(const LayerAnimationTicker&) = delete;
    LayerAnimationTicker& operator=(const LayerAnimationTicker&) = delete;

    // Follows `view` while it lives and its layer runs animations.
    void watch(const std::shared_ptr<View>& view);
    // Something that decides whether a view shows has changed: starts or
    // stops the frames.
    void visibilityMayHaveChanged();

    bool isTicking() const { return timer_ != nullptr; }

private:
    // Drops views that are gone or no longer animated; true when one of the
    // rest shows.
    bool pruneAndFindShowing();
    void tick();
    void stop();

    std::vector<std::weak_ptr<View>> views_;
    std::shared_ptr<Timer> timer_;
};

// Whether `view` can be seen: in a window on screen (ordered in, not
// transparent), and neither it nor an ancestor hidden.
bool isShowingOnScreen(const View& view);

}  // namespace tallowmere::platform
