#include "toys/disco_ball_launcher_view.h"

#include "platform/desktop/desktop.h"
#include "platform/gfx/canvas.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/bundle_image.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/tracking_area.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<DiscoBallLauncherView> DiscoBallLauncherView::make(Rect frame) {
    auto view = std::make_shared<DiscoBallLauncherView>(frame);
    view->updateTrackingAreas();
    return view;
}

DiscoBallLauncherView::DiscoBallLauncherView(Rect frame) : View(frame) {}

DiscoBallLauncherView::~DiscoBallLauncherView() { cancelPendingClick(); }

void DiscoBallLauncherView::setRotation(double radians) {
    rotation_ = radians;
    setNeedsDisplay();
}

void DiscoBallLauncherView::cancelPendingClick() {
    if (pendingSingleClick_) pendingSingleClick_->cancel();
    pendingSingleClick_.reset();
}

void DiscoBallLauncherView::mouseDown(const Event& event) {
    cancelPendingClick();
    if (event.clickCount >= 2) {
        if (auto dismiss = onDismiss) dismiss();
        return;
    }
    const std::weak_ptr<DiscoBallLauncherView> weakSelf =
        std::static_pointer_cast<DiscoBallLauncherView>(shared_from_this());
    pendingSingleClick_ = WorkItem::make([weakSelf] {
        auto self = weakSelf.lock();
        if (!self) return;
        self->pendingSingleClick_.reset();
        if (auto activate = self->onActivate) activate();
    });
    AppContext::current().mainQueue().asyncAfter(DesktopLink::desktop().doubleClickInterval(), pendingSingleClick_);
}

void DiscoBallLauncherView::mouseEntered(const Event& /*event*/) {
    isHovering_ = true;
    setNeedsDisplay();
}

void DiscoBallLauncherView::mouseExited(const Event& /*event*/) {
    isHovering_ = false;
    setNeedsDisplay();
}

void DiscoBallLauncherView::updateTrackingAreas() {
    if (trackingArea_) removeTrackingArea(trackingArea_);
    trackingArea_ = TrackingArea::make(bounds(), TrackingOption::mouseEnteredAndExited | TrackingOption::activeAlways |
                                                     TrackingOption::inVisibleRect);
    addTrackingArea(trackingArea_);
}

void DiscoBallLauncherView::draw(Canvas& canvas, Rect /*dirty*/) {
    if (!imageLoaded_) {
        imageLoaded_ = true;
        discoBallImage_ = bundleImage("WorkBuddyDiscoBall", "png");
    }
    // Without its picture the launcher stays clear, and still takes clicks.
    if (!discoBallImage_) return;
    const Rect b = bounds();
    canvas.save();
    canvas.translate(b.midX(), b.midY());
    canvas.rotate(rotation_);
    canvas.translate(-b.midX(), -b.midY());
    canvas.setImageInterpolation(ImageInterpolation::high);
    canvas.drawImage(*discoBallImage_, b.insetBy(7, 7));
    canvas.restore();
}

}  // namespace tallowmere
