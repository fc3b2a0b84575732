// Two-finger swipes on another application's title bar.
#include "localization/interface_language.h"
#include "platform/base/format.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "windows/accessibility.h"
#include "windows/input_controller.h"
#include "windows/screen_geometry.h"
#include "windows/snap_engine.h"
#include "windows/snap_preview_overlay.h"
#include "windows/swipe_classifier.h"

namespace tallowmere {

using platform::Event;
using platform::EventPhase;

namespace {

platform::AXRect titleStrip(const platform::AXRect& frame) {
    return {frame.origin, {frame.size.width, std::min(frame.size.height, InputController::titleStripHeight)}};
}

bool isSwipePhase(EventPhase phase) {
    return phase == EventPhase::began || phase == EventPhase::changed || phase == EventPhase::ended ||
           phase == EventPhase::cancelled;
}

}  // namespace

void InputController::handleGesture(const Event& event) {
    // Only a trackpad's own finger movement counts: a wheel has no precise
    // deltas, and momentum after the fingers lift must not place twice.
    const bool counts = gestureEnabled && event.hasPreciseScrollingDeltas &&
                        event.momentumPhase == EventPhase::none && isSwipePhase(event.phase);
    if (!counts || event.phase == EventPhase::cancelled) {
        if (gestureWindow_) resetGesture();
        return;
    }
    if (event.phase == EventPhase::began && gestureWindow_) resetGesture();
    if (!gestureWindow_) {
        if (event.phase != EventPhase::began || !startGesture(event)) return;
    }

    // The sums follow the fingers whatever the person's scrolling setting;
    // the natural-direction switch turns the vertical sense alone.
    const double s = event.isDirectionInvertedFromDevice ? 1 : -1;
    scrollX_ += event.scrollingDeltaX * s;
    scrollY_ += event.scrollingDeltaY * (naturalDirectionEnabled ? -s : s);
    const double elapsed = std::max(0.0, event.timestamp - gestureStartedAt_.value_or(event.timestamp));

    if (auto target = SwipeClassifier::classify(scrollX_, scrollY_, elapsed)) previewGestureTarget(*target);
    if (event.phase == EventPhase::ended) finishGesture();
}

bool InputController::startGesture(const Event& event) {
    const auto pointer = platform::DesktopLink::desktop().input().mouseLocation();
    auto window = Accessibility::windowAtCocoaPoint(pointer);
    if (!window || Accessibility::isOwnedByCurrentApplication(*window)) return false;
    auto frame = Accessibility::frame(*window);
    if (!frame || !titleStrip(*frame).contains(ScreenGeometry::toAccessibility(pointer))) return false;
    frame = Accessibility::frame(*window);
    if (!frame) return false;
    gestureWindow_ = *window;
    gestureScreen_ = ScreenGeometry::screenContainingAccessibilityFrame(*frame);
    scrollX_ = scrollY_ = 0;
    gestureStartedAt_ = event.timestamp;
    gestureTarget_.reset();
    return true;
}

void InputController::previewGestureTarget(SnapTarget target) {
    // An unreadable frame keeps the target and preview recognised so far.
    auto frame = Accessibility::frame(*gestureWindow_);
    if (!frame) return;
    auto placed = snapEngine_->targetFrame(*frame, target, gestureScreen_);
    if (!placed) return;
    gestureTarget_ = target;
    previewOverlay_->show(*placed);
    postAction(platform::formatTemplate(L("预览：%@，松开触控板确认"), title(target)));
}

void InputController::finishGesture() {
    const auto target = gestureTarget_;
    const auto window = gestureWindow_;
    const auto screen = gestureScreen_;
    resetGesture();
    if (!target || !window) return;

    bool placed = false;
    if (platform::DesktopLink::desktop().accessibility().isProcessTrusted()) {
        auto frame = Accessibility::frame(*window);
        auto targetFrame = frame ? snapEngine_->targetFrame(*frame, *target, screen) : std::nullopt;
        if (targetFrame) {
            (void)Accessibility::setMinimized(false, *window);
            // A window that refuses the frame (too small to shrink, say) has
            // not been placed, and the person is told so.
            placed = Accessibility::setFrame(targetFrame->integral(), *window);
        }
    }
    postAction(placed ? "手势：" + title(*target) : L("手势贴靠失败"));
}

void InputController::resetGesture() {
    previewOverlay_->hide();
    gestureWindow_.reset();
    gestureScreen_.reset();
    gestureTarget_.reset();
    scrollX_ = scrollY_ = 0;
    gestureStartedAt_.reset();
}

}  // namespace tallowmere
