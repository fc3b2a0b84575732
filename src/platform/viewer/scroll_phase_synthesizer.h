#pragma once

#include <functional>
#include <memory>

#include "platform/desktop/event.h"

namespace tallowmere::platform {

class MainQueue;
class WorkItem;

// Turns a touchpad's two-finger scrolling, which X reports as smooth
// amounts without phases, into a scroll gesture with phases as the
// platform's trackpad reports one: the first amount of a burst begins the
// gesture (a began event, then the amount as changed), later amounts
// change it, and a pause of `burstEndDelay` ends it, as lifting the
// fingers would. The deltas are precise, in points.
class ScrollPhaseSynthesizer {
  public:
    // Longer than the gap between two reports of moving fingers, short
    // enough that the gesture ends when the person lifts them.
    static constexpr double burstEndDelay = 0.2;

    using Post = std::function<void(Event)>;
    ScrollPhaseSynthesizer(MainQueue& queue, Post post);
    ~ScrollPhaseSynthesizer();
    ScrollPhaseSynthesizer(const ScrollPhaseSynthesizer&) = delete;
    ScrollPhaseSynthesizer& operator=(const ScrollPhaseSynthesizer&) = delete;

    bool isScrolling() const { return state_ == State::scrolling; }

    // The fingers moved the content by (pointsX, pointsY) at `location`:
    // +y scrolls up, +x left, as a wheel does. `inverted`: the device turns
    // the fingers' direction around (natural scrolling).
    void scroll(ScreenPoint location, double pointsX, double pointsY, bool inverted, ModifierFlags modifiers,
                double timestamp);
    // Ends a gesture in progress now (the person pressed a button); nothing
    // when none is.
    void end();

  private:
    enum class State { idle, scrolling };

    void post(EventPhase phase, double pointsX, double pointsY, double timestamp);

    MainQueue& queue_;
    Post post_;
    State state_ = State::idle;
    ScreenPoint location_{};
    ModifierFlags modifiers_{};
    bool inverted_ = false;
    std::shared_ptr<WorkItem> pendingEnd_;
};

}  // namespace tallowmere::platform
