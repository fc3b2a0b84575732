#include "platform/ui/animation.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/app_context.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

// Animations and groups run without anyone holding them, as on the
// platform: the context keeps each one until it ends.
struct RunningAnimations : std::enable_shared_from_this<RunningAnimations> {
    std::vector<std::shared_ptr<Animation>> animations;
    std::vector<std::shared_ptr<AnimationGroup>> groups;
};

namespace {

std::weak_ptr<RunningAnimations> runningAnimations() {
    return AppContext::current().shared<RunningAnimations>().weak_from_this();
}

// Virtual time adds up in binary fractions (0.2 + 0.05 is a hair short of
// 0.25), so the end counts as reached within this much of it.
constexpr double endTolerance = 1e-9;

struct CubicCurve {
    double x1, y1, x2, y2;

    static double bezier(double t, double p1, double p2) {
        const double u = 1 - t;
        return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
    }
    // y at the x of `fraction`; x is monotonic for the standard curves, so
    // bisection finds t without the failure cases of Newton's method.
    double valueAt(double fraction) const {
        double low = 0, high = 1, t = fraction;
        for (int i = 0; i < 60; ++i) {
            t = (low + high) / 2;
            if (bezier(t, x1, x2) < fraction) {
                low = t;
            } else {
                high = t;
            }
        }
        return bezier(t, y1, y2);
    }
};

template <class T>
void forget(std::vector<std::shared_ptr<T>>& list, const T* item) {
    std::erase_if(list, [item](const std::shared_ptr<T>& held) { return held.get() == item; });
}

}  // namespace

double easedProgress(TimingFunction function, double fraction) {
    if (!(fraction > 0)) return 0;
    if (fraction >= 1) return 1;
    switch (function) {
        case TimingFunction::linear: return fraction;
        case TimingFunction::easeIn: return CubicCurve{0.42, 0, 1, 1}.valueAt(fraction);
        case TimingFunction::easeOut: return CubicCurve{0, 0, 0.58, 1}.valueAt(fraction);
        case TimingFunction::easeInEaseOut: return CubicCurve{0.42, 0, 0.58, 1}.valueAt(fraction);
        case TimingFunction::systemDefault: return CubicCurve{0.25, 0.1, 0.25, 1}.valueAt(fraction);
    }
    return fraction;
}

// --- Animation ---------------------------------------------------------------

struct Animation::Private {};

Animation::Animation(Private, AnimationTiming timing, std::function<void(double)> step)
    : timing_(timing), step_(std::move(step)) {
    if (!(timing_.duration > 0)) timing_.duration = 0;
}

std::shared_ptr<Animation> Animation::make(AnimationTiming timing, std::function<void(double progress)> step) {
    return std::make_shared<Animation>(Private{}, timing, std::move(step));
}

void Animation::start() {
    if (state_ != State::ready) return;
    state_ = State::running;
    startUptime_ = AppContext::current().clock().uptime();
    registry_ = runningAnimations();
    registry_.lock()->animations.push_back(shared_from_this());
    scheduleNextFrame();
}

void Animation::scheduleNextFrame() {
    auto& queue = AppContext::current().mainQueue();
    const double now = AppContext::current().clock().uptime();
    const double elapsed = now - startUptime_;
    // Frames fall on whole frame intervals from the start, and the last one
    // on the end itself, so the number of steps does not depend on how late
    // the previous one ran.
    const double nextFrame = (std::floor(elapsed / frameInterval + 1e-9) + 1) * frameInterval;
    const double due = std::min(nextFrame, timing_.duration - endTolerance);
    std::weak_ptr<Animation> weak = weak_from_this();
    // Never a frame closer than this: added to a large uptime, a smaller
    // delay can round away, and the same frame would come back for ever.
    constexpr double shortestDelay = 1e-4;
    pending_ = queue.asyncAfter(std::max(shortestDelay, due - elapsed), [weak] {
        if (auto self = weak.lock()) self->tick();
    });
}

void Animation::tick() {
    if (state_ != State::running) return;
    const double elapsed = AppContext::current().clock().uptime() - startUptime_;
    const double fraction = elapsed >= timing_.duration - endTolerance ? 1.0
                            : std::clamp(elapsed / timing_.duration, 0.0, 1.0);
    auto keepAlive = shared_from_this();
    if (step_) step_(easedProgress(timing_.function, fraction));
    if (state_ != State::running) return;  // the step cancelled it
    if (fraction < 1) {
        scheduleNextFrame();
        return;
    }
    state_ = State::finished;
    pending_.reset();
    step_ = nullptr;
    auto completion = std::move(onComplete);
    onComplete = nullptr;
    if (auto running = registry_.lock()) forget(running->animations, this);
    if (completion) completion();
    if (auto ended = std::move(ended_)) ended(true);
}

void Animation::cancel() {
    if (state_ == State::finished || state_ == State::cancelled) return;
    state_ = State::cancelled;
    if (pending_) pending_->cancel();
    pending_.reset();
    step_ = nullptr;
    onComplete = nullptr;
    auto keepAlive = weak_from_this().lock();  // the list may hold the last reference
    if (auto running = registry_.lock()) forget(running->animations, this);
    if (auto ended = std::move(ended_)) ended(false);
}

// --- AnimationGroup ------------------------------------------------------------

struct AnimationGroup::Private {};

AnimationGroup::AnimationGroup(Private, AnimationTiming timing, std::function<void()> completion)
    : timing_(timing), completion_(std::move(completion)) {}

std::shared_ptr<AnimationGroup> AnimationGroup::run(AnimationTiming timing,
                                                    const std::function<void(AnimationGroup&)>& changes,
                                                    std::function<void()> completion) {
    auto group = std::make_shared<AnimationGroup>(Private{}, timing, std::move(completion));
    if (changes) changes(*group);
    group->adding_ = false;
    group->registry_ = runningAnimations();
    group->registry_.lock()->groups.push_back(group);
    if (group->members_.empty() && !group->failed_) {
        std::weak_ptr<AnimationGroup> weak = group;
        group->emptyCompletion_ = AppContext::current().mainQueue().asyncAfter(0, [weak] {
            if (auto self = weak.lock()) self->checkDone();
        });
    } else {
        group->checkDone();
    }
    return group;
}

void AnimationGroup::animateAlphaValue(Window& window, double alpha) {
    add(window.animateAlphaValue(alpha, timing_));
}

void AnimationGroup::animateFrame(Window& window, const ScreenRect& frame) {
    add(window.setFrame(frame, true, true, timing_));
}

void AnimationGroup::animate(std::function<void(double progress)> step) {
    auto animation = Animation::make(timing_, std::move(step));
    animation->start();
    add(animation);
}

void AnimationGroup::add(const std::shared_ptr<Animation>& animation) {
    if (!animation || finished_) return;
    if (animation->state() == Animation::State::cancelled) {
        failed_ = true;
        return;
    }
    members_.push_back(animation);
    if (animation->state() == Animation::State::finished) return;
    ++running_;
    std::weak_ptr<AnimationGroup> weak = weak_from_this();
    animation->ended_ = [weak](bool finished) {
        if (auto self = weak.lock()) self->memberEnded(finished);
    };
}

void AnimationGroup::memberEnded(bool finished) {
    --running_;
    if (!finished) failed_ = true;
    checkDone();
}

void AnimationGroup::checkDone() {
    if (adding_ || finished_ || running_ > 0) return;
    finished_ = true;
    auto keepAlive = shared_from_this();
    if (auto running = registry_.lock()) forget(running->groups, this);
    auto completion = std::move(completion_);
    completion_ = nullptr;
    if (!failed_ && completion) completion();
}

void AnimationGroup::cancel() {
    if (finished_) return;
    failed_ = true;
    if (emptyCompletion_) emptyCompletion_->cancel();
    for (auto& member : members_) member->cancel();
    finished_ = true;
    completion_ = nullptr;
    auto keepAlive = weak_from_this().lock();
    if (auto running = registry_.lock()) forget(running->groups, this);
}

}  // namespace tallowmere::platform
