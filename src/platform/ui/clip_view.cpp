#include "platform/ui/clip_view.h"

#include <algorithm>

namespace tallowmere::platform {

std::shared_ptr<ClipView> ClipView::make() { return std::shared_ptr<ClipView>(new ClipView()); }

void ClipView::setDocumentView(const std::shared_ptr<View>& document) {
    if (auto old = documentView(); old && old != document) old->removeFromSuperview();
    document_ = document;
    if (document) {
        addSubview(document);
        document->setFrameOrigin({0, 0});
    }
    setBoundsOrigin({0, 0});
}

void ClipView::willRemoveSubview(View& subview) {
    if (documentView().get() == &subview) document_.reset();
}

bool ClipView::isFlipped() const {
    auto document = documentView();
    return document && document->isFlipped();
}

Rect ClipView::documentVisibleRect() const {
    auto document = documentView();
    if (!document) return bounds();
    return bounds().intersection(document->frame()).offsetBy(-document->frame().origin.x, -document->frame().origin.y);
}

Point ClipView::constrainedOrigin(Point point) const {
    auto document = documentView();
    if (!document) return {0, 0};
    const Rect doc = document->frame();
    const Size size = bounds().size;
    const double maxX = std::max(doc.minX(), doc.maxX() - size.width);
    const double maxY = std::max(doc.minY(), doc.maxY() - size.height);
    return {std::clamp(point.x, doc.minX(), maxX), std::clamp(point.y, doc.minY(), maxY)};
}

void ClipView::scrollTo(Point point) { setBoundsOrigin(constrainedOrigin(point)); }

}  // namespace tallowmere::platform
