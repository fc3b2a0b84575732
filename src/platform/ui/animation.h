#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/runtime/work_item.h"

namespace tallowmere::platform {

class Window;
struct RunningAnimations;  // the context's list of what is running

// How progress runs over an animation's duration (the platform's standard
// cubic curves).
enum class TimingFunction { linear, easeIn, easeOut, easeInEaseOut, systemDefault };

// The eased progress (0...1) at `fraction` (0...1) of the duration.
double easedProgress(TimingFunction function, double fraction);

struct AnimationTiming {
    double duration = 0.25;
    TimingFunction function = TimingFunction::easeInEaseOut;
};

// A value changing over time on the main queue, one step per display frame,
// the last step exactly at the end of the duration. On a virtual clock it
// therefore ends deterministically when the clock passes its duration.
// Cancelling stops it where it is and its completion never runs.
class Animation : public std::enable_shared_from_this<Animation> {
public:
    enum class State { ready, running, finished, cancelled };
    static constexpr double frameInterval = 1.0 / 60;

    // `step` receives the eased progress; its last call is with 1.
    static std::shared_ptr<Animation> make(AnimationTiming timing, std::function<void(double progress)> step);

    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;

    // Runs once, after the last step; never after `cancel`.
    std::function<void()> onComplete;

    // Schedules the steps; the first runs on a later turn of the main queue.
    void start();
    void cancel();
    State state() const { return state_; }
    bool isRunning() const { return state_ == State::running; }
    const AnimationTiming& timing() const { return timing_; }

    struct Private;  // construction goes through make
    Animation(Private, AnimationTiming timing, std::function<void(double)> step);

private:
    friend class AnimationGroup;
    void scheduleNextFrame();
    void tick();

    AnimationTiming timing_;
    std::function<void(double)> step_;
    State state_ = State::ready;
    double startUptime_ = 0;
    std::shared_ptr<WorkItem> pending_;
    std::function<void(bool finished)> ended_;  // for the group that holds it
    std::weak_ptr<RunningAnimations> registry_;
};

// Several animations that share a timing and one completion, which runs
// once every one of them has reached its end. If any is cancelled (directly,
// by a later change of the same value, or by cancelling the group) the
// completion does not run, so a fade-out interrupted by showing the window
// again does not hide it afterwards.
class AnimationGroup : public std::enable_shared_from_this<AnimationGroup> {
public:
    // `changes` starts the animations through the group; `completion` may be
    // empty. A group with no animation completes on the next turn.
    static std::shared_ptr<AnimationGroup> run(AnimationTiming timing,
                                               const std::function<void(AnimationGroup&)>& changes,
                                               std::function<void()> completion);

    AnimationGroup(const AnimationGroup&) = delete;
    AnimationGroup& operator=(const AnimationGroup&) = delete;

    const AnimationTiming& timing() const { return timing_; }
    // The window's alpha value or frame, animated with the group's timing.
    void animateAlphaValue(Window& window, double alpha);
    void animateFrame(Window& window, const ScreenRect& frame);
    // Any other value: `step` receives the eased progress.
    void animate(std::function<void(double progress)> step);
    // Adds an animation started elsewhere.
    void add(const std::shared_ptr<Animation>& animation);

    void cancel();
    bool isFinished() const { return finished_; }

    struct Private;
    AnimationGroup(Private, AnimationTiming timing, std::function<void()> completion);

private:
    void memberEnded(bool finished);
    void checkDone();

    AnimationTiming timing_;
    std::function<void()> completion_;
    std::vector<std::shared_ptr<Animation>> members_;
    int running_ = 0;
    bool adding_ = true;
    bool failed_ = false;
    bool finished_ = false;
    std::shared_ptr<WorkItem> emptyCompletion_;
    std::weak_ptr<RunningAnimations> registry_;
};

}  // namespace tallowmere::platform
