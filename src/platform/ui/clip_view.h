#pragma once

#include <memory>

#include "platform/ui/view.h"

namespace tallowmere::platform {

// The part of a scroll view that shows its document: its bounds origin is
// the document point shown at its origin corner, so scrolling moves the
// bounds. It takes the document's flippedness, so both count the same way.
class ClipView : public View {
public:
    static std::shared_ptr<ClipView> make();

    std::shared_ptr<View> documentView() const { return document_.lock(); }
    void setDocumentView(const std::shared_ptr<View>& document);

    // The document's rectangle that is shown, in document coordinates.
    Rect documentVisibleRect() const;
    // Moves the shown origin to `point` of the document, kept within it.
    void scrollTo(Point point);
    // The nearest origin to `point` that keeps the view within the document.
    Point constrainedOrigin(Point point) const;

    bool isFlipped() const override;
    // Only the shown part of the document is drawn.
    bool clipsToBounds() const override { return true; }
    void willRemoveSubview(View& subview) override;

protected:
    ClipView() : View({}) {}

private:
    std::weak_ptr<View> document_;
};

}  // namespace tallowmere::platform
