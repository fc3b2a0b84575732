#include "mainwindow/status_icon_preview_image_view.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/tracking_area.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<StatusIconPreviewImageView> StatusIconPreviewImageView::make() {
    return std::shared_ptr<StatusIconPreviewImageView>(new StatusIconPreviewImageView());
}

StatusIconPreviewImageView::StatusIconPreviewImageView() : ImageView({}) {}

StatusIconPreviewImageView::~StatusIconPreviewImageView() {
    cancelPendingPreview();
    closePreview();
}

void StatusIconPreviewImageView::updateTrackingAreas() {
    ImageView::updateTrackingAreas();
    if (hoverTrackingArea_) removeTrackingArea(hoverTrackingArea_);
    hoverTrackingArea_ = TrackingArea::make(bounds(), TrackingOption::mouseEnteredAndExited | TrackingOption::activeAlways |
                                                          TrackingOption::inVisibleRect);
    addTrackingArea(hoverTrackingArea_);
}

void StatusIconPreviewImageView::mouseEntered(const Event& event) {
    (void)event;
    cancelPendingPreview();
    hoverWorkItem_ = WorkItem::make([weak = std::weak_ptr<View>(shared_from_this())] {
        if (auto view = std::static_pointer_cast<StatusIconPreviewImageView>(weak.lock())) view->showLargePreview();
    });
    AppContext::current().mainQueue().asyncAfter(hoverDelay, hoverWorkItem_);
}

void StatusIconPreviewImageView::mouseExited(const Event& event) {
    (void)event;
    cancelPendingPreview();
    closePreview();
}

void StatusIconPreviewImageView::mouseDown(const Event& event) {
    (void)event;
    cancelPendingPreview();
    showLargePreview();
}

void StatusIconPreviewImageView::cancelPendingPreview() {
    if (hoverWorkItem_) hoverWorkItem_->cancel();
    hoverWorkItem_.reset();
}

void StatusIconPreviewImageView::closePreview() {
    if (previewPanel_) previewPanel_->orderOut();
    previewPanel_.reset();
}

ScreenPoint StatusIconPreviewImageView::previewOrigin(ScreenPoint pointer, ScreenRect visibleFrame) {
    double x = pointer.x + pointerGap;
    double y = pointer.y - previewSide - pointerGap;
    if (y < visibleFrame.minY()) y = pointer.y + pointerGap;
    x = std::min(std::max(x, visibleFrame.minX()), visibleFrame.maxX() - previewSide);
    y = std::min(std::max(y, visibleFrame.minY()), visibleFrame.maxY() - previewSide);
    return {x, y};
}

void StatusIconPreviewImageView::showLargePreview() {
    auto picture = largePreviewImage ? largePreviewImage : image();
    if (!picture || !window()) return;
    cancelPendingPreview();
    closePreview();

    auto panel = Window::make<Panel>(ScreenRect{0, 0, previewSide, previewSide},
                                     WindowStyleMask{WindowStyleMask::nonactivatingPanel});
    panel->setLevel(WindowLevel::floating);
    panel->setOpaque(false);
    panel->setBackgroundColor(Color::clear());
    panel->setHasShadow(false);
    panel->setIgnoresMouseEvents(true);
    panel->setCollectionBehavior(
        WindowCollectionBehavior{WindowCollectionBehavior::canJoinAllSpaces | WindowCollectionBehavior::transient});
    auto content = ImageView::make(picture);
    content->setFrame({0, 0, previewSide, previewSide});
    content->setAutoresizingMask(AutoresizingMask::widthSizable | AutoresizingMask::heightSizable);
    content->setImageScaling(ImageScaling::proportionallyUpOrDown);
    content->setWantsLayer(true);
    auto& layer = content->mutableLayer();
    layer.backgroundColor = Color::clear();
    layer.cornerRadius = 54;
    layer.continuousCorners = true;
    layer.masksToBounds = true;
    panel->setContentView(content);

    const ScreenPoint pointer = DesktopLink::desktop().input().mouseLocation();
    ScreenRect visible{pointer.x, pointer.y, previewSide, previewSide};
    if (auto screen = DesktopLink::screenContaining(pointer)) {
        visible = screen->visibleFrame();
    } else if (auto main = DesktopLink::mainScreen()) {
        visible = main->visibleFrame();
    }
    panel->setFrameOrigin(previewOrigin(pointer, visible));
    panel->orderFrontRegardless();
    previewPanel_ = std::move(panel);
}

}  // namespace tallowmere
