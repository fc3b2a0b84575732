#include "platform/ui/scroll_view.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

std::shared_ptr<ScrollView> ScrollView::make(Rect frame) {
    return std::shared_ptr<ScrollView>(new ScrollView(frame));
}

ScrollView::ScrollView(Rect frame) : View(frame), clip_(ClipView::make()) {
    addSubview(clip_);
    clip_->setFrame(bounds());
}

void ScrollView::setDocumentView(const std::shared_ptr<View>& document) {
    clip_->setDocumentView(document);
    invalidateIntrinsicContentSize();
}

void ScrollView::setDocumentTracksWidth(bool tracks) {
    tracksWidth_ = tracks;
    invalidateIntrinsicContentSize();
}

void ScrollView::setBorderType(BorderType type) {
    borderType_ = type;
    setNeedsLayout();
    setNeedsDisplay();
}

void ScrollView::scrollTo(Point point) { clip_->scrollTo(point); }

void ScrollView::scrollRectToVisible(Rect rect) {
    const Rect visible = clip_->bounds();
    Point origin = visible.origin;
    if (rect.minX() < visible.minX()) origin.x = rect.minX();
    else if (rect.maxX() > visible.maxX()) origin.x = rect.maxX() - visible.width();
    if (rect.minY() < visible.minY()) origin.y = rect.minY();
    else if (rect.maxY() > visible.maxY()) origin.y = rect.maxY() - visible.height();
    clip_->scrollTo(origin);
}

void ScrollView::scrollToTop() {
    auto document = documentView();
    if (!document) return;
    const double top = document->isFlipped() ? document->frame().minY() : document->frame().maxY() - clip_->bounds().height();
    clip_->scrollTo({clip_->bounds().minX(), top});
}

Size ScrollView::measureFittingSize() const {
    // A scroll view needs no more room than it is given: its content scrolls.
    return {sizeConstraints().apply(LayoutAxis::horizontal, 0), fittingHeightForWidth(0)};
}

double ScrollView::measureFittingHeightForWidth(double width) const {
    (void)width;
    return sizeConstraints().apply(LayoutAxis::vertical, 0);
}

void ScrollView::layout() {
    const double border = borderType_ == BorderType::none ? 0 : 1;
    clip_->setFrame(bounds().insetBy(border, border));
    auto document = documentView();
    if (!document) return;
    if (tracksWidth_) {
        const double width = document->sizeConstraints().apply(LayoutAxis::horizontal, clip_->bounds().width());
        const double height = std::max(document->fittingHeightForWidth(width), clip_->bounds().height());
        document->setFrame({0, 0, width, height});
    }
    // Keep what is shown inside the document after a resize.
    clip_->scrollTo(clip_->bounds().origin);
}

bool ScrollView::overflows(LayoutAxis axis) const {
    auto document = documentView();
    if (!document) return false;
    return axis == LayoutAxis::horizontal ? document->frame().width() > clip_->bounds().width()
                                          : document->frame().height() > clip_->bounds().height();
}

void ScrollView::scrollWheel(const Event& event) {
    auto document = documentView();
    const double dx = event.hasPreciseScrollingDeltas ? event.scrollingDeltaX : event.deltaX * lineScroll;
    const double dy = event.hasPreciseScrollingDeltas ? event.scrollingDeltaY : event.deltaY * lineScroll;
    if (!document || (dx == 0 && dy == 0)) {
        View::scrollWheel(event);
        return;
    }
    // A positive delta moves the content down (or right): the view shows
    // what lies above (or to the left).
    const Point before = clip_->bounds().origin;
    Point target = before;
    target.x -= dx;
    target.y += document->isFlipped() ? -dy : dy;
    clip_->scrollTo(target);
    if (clip_->bounds().origin == before) View::scrollWheel(event);
}

void ScrollView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    canvas.save();
    if (drawsBackground) {
        canvas.setFillColor(backgroundColor.value_or(Color::system(SystemColor::controlBackground)));
        canvas.fillRect(b);
    }
    if (borderType_ != BorderType::none) {
        canvas.setStrokeColor(Color::system(SystemColor::separator));
        canvas.setLineWidth(1);
        canvas.strokeRect(b.insetBy(0.5, 0.5));
    }
    canvas.restore();
}

}  // namespace tallowmere::platform
