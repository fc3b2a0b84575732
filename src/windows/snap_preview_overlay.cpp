#include "windows/snap_preview_overlay.h"

#include "app/appearance_preferences.h"
#include "platform/ui/view.h"
#include "windows/pass_through_window.h"
#include "windows/screen_geometry.h"

namespace tallowmere {

using platform::Color;
using platform::ScreenRect;
using platform::View;

namespace {

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
    overlayWindow_ = makePassThroughWindow(frame, platform::WindowLevel::floating);

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
