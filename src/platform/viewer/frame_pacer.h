#pragma once

#include <functional>
#include <limits>
#include <memory>

namespace tallowmere::platform {

class Clock;
class MainQueue;
class WorkItem;

// Coalesces "the screen may have changed" into frames on the main queue:
// the first change after a quiet spell is drawn on the queue's next turn,
// changes that come faster wait for the next frame slot, and nothing is
// drawn while nothing changes.
class FramePacer {
  public:
    // At most thirty frames a second: smooth enough for the menus and
    // animations, light on a program that mostly waits.
    static constexpr double frameInterval = 1.0 / 30;

    FramePacer(MainQueue& queue, const Clock& clock, std::function<void()> drawFrame);
    ~FramePacer();
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

    // Asks for a frame; several asks before it is drawn give one frame.
    void setNeedsFrame();
    bool isFramePending() const { return pending_ != nullptr; }
    // Told after each item the main queue ran: work may have changed the
    // screen, except the pacer's own frame.
    void itemPerformed();

  private:
    void drawFrame();

    MainQueue& queue_;
    const Clock& clock_;
    std::function<void()> draw_;
    std::shared_ptr<WorkItem> pending_;
    double lastFrameUptime_ = -std::numeric_limits<double>::infinity();
    bool ownFrameJustRan_ = false;
};

}  // namespace tallowmere::platform
