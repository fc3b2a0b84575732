#pragma once

#include <memory>

#include "platform/ui/view.h"

namespace tallowmere {

namespace platform {
class Timer;
}

// The dot beside the Accessibility row: it blinks red and yellow once a
// second while the program is not trusted and disappears within a second
// of trust being granted. Its timer runs only while it is in a window and
// trust is missing, and pauses while the dot cannot be seen.
class PermissionStatusDotView : public platform::View {
public:
    static std::shared_ptr<PermissionStatusDotView> make();
    ~PermissionStatusDotView() override;

    // Restarts or stops the blinking for the current trust state.
    void updateAnimationState();

    bool showsYellow() const { return showsYellow_; }
    bool isAnimating() const { return animationTimer_ != nullptr; }

    platform::Size intrinsicContentSize() const override { return {28, 28}; }
    void viewDidMoveToWindow() override { updateAnimationState(); }
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

protected:
    PermissionStatusDotView();

private:
    void startTimer();
    void stopTimer();
    void tick();

    std::shared_ptr<platform::Timer> animationTimer_;
    bool showsYellow_ = false;
};

}  // namespace tallowmere
