#include "mainwindow/permission_status_dot_view.h"

#include "platform/desktop/desktop.h"
#include "platform/gfx/canvas.h"
#include "platform/runtime/timer.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/layer_animation_ticker.h"

namespace tallowmere {

using namespace platform;

namespace {

bool isTrusted() { return DesktopLink::desktop().accessibility().isProcessTrusted(); }

}  // namespace

std::shared_ptr<PermissionStatusDotView> PermissionStatusDotView::make() {
    return std::shared_ptr<PermissionStatusDotView>(new PermissionStatusDotView());
}

PermissionStatusDotView::PermissionStatusDotView() : View({}) {}

PermissionStatusDotView::~PermissionStatusDotView() { stopTimer(); }

void PermissionStatusDotView::stopTimer() {
    if (animationTimer_) animationTimer_->invalidate();
    animationTimer_.reset();
}

void PermissionStatusDotView::updateAnimationState() {
    stopTimer();
    if (window() && !isTrusted()) startTimer();
    setNeedsDisplay();
}

void PermissionStatusDotView::startTimer() {
    animationTimer_ = Timer::scheduledTimer(1.0, true, [weak = std::weak_ptr<View>(shared_from_this())](Timer& timer) {
        auto view = std::static_pointer_cast<PermissionStatusDotView>(weak.lock());
        if (!view) {
            timer.invalidate();
            return;
        }
        view->tick();
    });
}

void PermissionStatusDotView::tick() {
    if (isTrusted()) {
        setNeedsDisplay();
        stopTimer();
        return;
    }
    // Out of sight (the other page, the window closed) the blink would only
    // wake the program every second; drawing the dot again restarts it.
    if (!isShowingOnScreen(*this)) {
        stopTimer();
        return;
    }
    showsYellow_ = !showsYellow_;
    setNeedsDisplay();
}

void PermissionStatusDotView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    if (isTrusted()) return;
    if (!animationTimer_ && window()) startTimer();
    const Rect b = bounds();
    canvas.save();
    canvas.setFillColor(Color::system(showsYellow_ ? SystemColor::yellow : SystemColor::red));
    canvas.fillEllipse({b.midX() - 11, b.midY() - 11, 22, 22});
    canvas.restore();
}

}  // namespace tallowmere
