#include "windows/snap_preview_overlay.h"

#include "app/appearance_preferences.h"
#include "platform/ui/view.h"
#include "windows/screen_geometry.h"

namespace tallowmere {

using platform::Color;
using platform::ScreenRect;
using platform::View;
using platform::Window;
using platform::WindowCollectionBehavior;

namespace {

// Above normal windows, in every space and beside full-screen applications,
// and never taking part in window cycling.
constexpr WindowCollectionBehavior overlayCollectionBehavior{WindowCollectionBehavior::canJoinAllSpaces |
                                                             WindowCollectionBehavior::stationary |
                                                             WindowCollectionBehavior::fullScreenAuxiliary};

// The outline colour is read afresh for every preview, so a colour chosen in
// the settings shows at the next preview without a new window.
void applyStyle(View& view) {
    const Color outline = AppearancePreferences::outlineColor();
    auto& layer = view.mutableLayer();
    layer.cornerRadius = SnapPreviewOverlay::cornerRadius;
    layer.continuousCorners = true;
    layer.masksToBounds = true;
    layer.borderColor = outline.withAlphaComponent(SnapPreviewOverlay::borderAlpha);
    layer.backgroundColor = outline.withAlphaComponent(SnapPreviewOverlay::fillAlpha);
}

}  // namespace

void SnapPreviewOverlay::makeWindow(const ScreenRect& frame) {
    overlayWindow_ = Window::make(frame, platform::WindowStyleMask::borderless);
    overlayWindow_->setOpaque(false);
    overlayWindow_->setBackgroundColor(Color::clear());
    overlayWindow_->setHasShadow(false);
    overlayWindow_->setIgnoresMouseEvents(true);
    overlayWindow_->setLevel(platform::WindowLevel::floating);
    overlayWindow_->setCollectionBehavior(overlayCollectionBehavior);

    auto content = View::make({0, 0, frame.width(), frame.height()});
    content->setWantsLayer(true);
    content->mutableLayer().borderWidth = borderWidth;
    overlayWindow_->setContentView(content);
}

void SnapPreviewOverlay::show(const platform::AXRect& frame) {
    const ScreenRect screenFrame = ScreenGeometry::toScreen(frame);
    if (!overlayWindow_) makeWindow(screenFrame);

    overlayWindow_->setBackgroundColor(Color::clear());
    if (auto content = overlayWindow_->contentView(); content && content->wantsLayer()) applyStyle(*content);
    overlayWindow_->setFrame(screenFrame, true);
    overlayWindow_->orderFrontRegardless();
}

void SnapPreviewOverlay::hide() {
    if (overlayWindow_) overlayWindow_->orderOut();
}

}  // namespace tallowmere
