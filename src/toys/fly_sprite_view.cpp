#include "toys/fly_sprite_view.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/bundle_image.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/window.h"
#include "toys/buddy_painter.h"
#include "toys/disco_light_show_controller.h"
#include "toys/squish_sound.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<FlySpriteView> FlySpriteView::make(Rect frame, int buddyType, int buddyStyle, double sizeScale) {
    return std::make_shared<FlySpriteView>(frame, buddyType, buddyStyle, sizeScale);
}

FlySpriteView::FlySpriteView(Rect frame, int buddyType, int buddyStyle, double sizeScale)
    : View(frame), buddyType_(std::clamp(buddyType, 0, 8)), buddyStyle_(std::clamp(buddyStyle, 0, 2)),
      sizeScale_(sizeScale) {}

FlySpriteView::~FlySpriteView() { cancelPendingDiscoClick(); }

void FlySpriteView::setHeading(double radians) {
    heading_ = radians;
    setNeedsDisplay();
}

void FlySpriteView::setFlying(bool flying) {
    isFlying_ = flying;
    setNeedsDisplay();
}

void FlySpriteView::setAlarmed(bool alarmed) {
    isAlarmed_ = alarmed;
    setNeedsDisplay();
}

void FlySpriteView::cancelPendingDiscoClick() {
    if (pendingDiscoClick_) pendingDiscoClick_->cancel();
    pendingDiscoClick_.reset();
}

void FlySpriteView::mouseDown(const Event& event) {
    if (isKilled_) return;
    if (buddyType_ != discoBallType) {
        squash();
        return;
    }
    if (event.clickCount >= 2) {
        cancelPendingDiscoClick();
        DiscoLightShowController::shared().dismissLaunchers();
        if (auto killed = onKilled) killed();
        return;
    }
    // Wait out the double-click interval: a second click closes the show
    // instead, and must never have started it first.
    cancelPendingDiscoClick();
    const std::weak_ptr<FlySpriteView> weakSelf =
        std::static_pointer_cast<FlySpriteView>(shared_from_this());
    pendingDiscoClick_ = WorkItem::make([weakSelf] {
        auto self = weakSelf.lock();
        if (!self) return;
        self->pendingDiscoClick_.reset();
        auto window = self->window();
        DiscoLightShowController::shared().activateLauncher(window ? window->screen() : nullptr);
    });
    AppContext::current().mainQueue().asyncAfter(DesktopLink::desktop().doubleClickInterval(), pendingDiscoClick_);
}

void FlySpriteView::squash() {
    isKilled_ = true;
    isFlying_ = false;
    setNeedsDisplay();
    SquishSound::shared().play();
    const std::weak_ptr<FlySpriteView> weakSelf =
        std::static_pointer_cast<FlySpriteView>(shared_from_this());
    AppContext::current().mainQueue().asyncAfter(squashedFor, [weakSelf] {
        auto self = weakSelf.lock();
        if (!self) return;
        if (auto killed = self->onKilled) killed();
    });
}

void FlySpriteView::draw(Canvas& canvas, Rect /*dirty*/) {
    if (buddyStyle_ == 1 && !illustrationLoaded_) {
        illustrationLoaded_ = true;
        if (auto name = buddyIllustrationName(buddyType_)) buddyIllustration_ = bundleImage(*name, "png");
    }
    const BuddyLook look{buddyType_, buddyStyle_, heading_, isFlying_, isAlarmed_, isKilled_};
    paintBuddy(canvas, bounds(), look, buddyIllustration_ ? &*buddyIllustration_ : nullptr);
}

}  // namespace tallowmere
