#pragma once

#include <functional>
#include <memory>

#include "platform/desktop/event.h"

namespace tallowmere::platform {

class MainQueue;
class WorkItem;

// Turns the notches of a mouse wheel into a scroll gesture with phases, as
// a trackpad reports one: the first notch of a burst begins the gesture
// (a began event, then the notch as changed), later notches change it, and
// a pause of `burstEndDelay` ends it with an ended event. Features that
// follow gestures by their phases then work with a wheel as well. The
// deltas stay coarse (lines), as a wheel's are.
class ScrollPhaseSynthesizer {
  public:
    // Longer than the gap between the notches of one turn of the wheel,
    // short enough that the gesture ends when the person stops.
    static constexpr double burstEndDelay = 0.2;

    using Post = std::function<void(Event)>;
    ScrollPhaseSynthesizer(MainQueue& queue, Post post);
    ~ScrollPhaseSynthesizer();
    ScrollPhaseSynthesizer(const ScrollPhaseSynthesizer&) = delete;
    ScrollPhaseSynthesizer& operator=(const ScrollPhaseSynthesizer&) = delete;

    bool isScrolling() const { return state_ == State::scrolling; }

    // One notch (or several at once) at `location`: +y scrolls up, +x left.
    void notch(ScreenPoint location, double linesX, double linesY, ModifierFlags modifiers,
               double timestamp);
    // Ends a gesture in progress now (the person pressed a button); nothing
    // when none is.
    void end();

  private:
    enum class State { idle, scrolling };

    void post(EventPhase phase, double linesX, double linesY, ModifierFlags modifiers,
              double timestamp);

    MainQueue& queue_;
    Post post_;
    State state_ = State::idle;
    ScreenPoint location_{};
    ModifierFlags modifiers_{};
    std::shared_ptr<WorkItem> pendingEnd_;
};

}  // namespace tallowmere::platform
