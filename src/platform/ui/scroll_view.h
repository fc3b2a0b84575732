#pragma once

#include <memory>
#include <optional>

#include "platform/gfx/color.h"
#include "platform/ui/clip_view.h"
#include "platform/ui/view.h"

namespace tallowmere::platform {

enum class BorderType { none, line, bezel, groove };

// Shows part of a larger document view and scrolls it with the scroll wheel
// or trackpad. A y-up document starts scrolled to its bottom (its origin),
// as on the Mac; a flipped document starts at its top. A scroll that cannot
// move the document further goes on to the views that hold the scroll view.
class ScrollView : public View {
public:
    static std::shared_ptr<ScrollView> make(Rect frame = {});

    std::shared_ptr<View> documentView() const { return clip_->documentView(); }
    void setDocumentView(const std::shared_ptr<View>& document);
    const std::shared_ptr<ClipView>& contentView() const { return clip_; }
    // The size of the area that shows the document.
    Size contentSize() const { return clip_->frame().size; }
    Rect documentVisibleRect() const { return clip_->documentVisibleRect(); }

    // Shows `point` of the document at the visible area's origin corner.
    void scrollTo(Point point);
    // Scrolls the least that shows `rect` of the document.
    void scrollRectToVisible(Rect rect);
    void scrollToTop();

    // When on, the document is laid out as wide as the visible area and as
    // tall as its content needs (at least the visible height).
    bool documentTracksWidth() const { return tracksWidth_; }
    void setDocumentTracksWidth(bool tracks);

    // Kept for callers that set them; scrollers overlay the content and are
    // not drawn.
    bool hasVerticalScroller = false;
    bool hasHorizontalScroller = false;
    bool autohidesScrollers = false;
    BorderType borderType() const { return borderType_; }
    void setBorderType(BorderType type);
    bool drawsBackground = true;
    std::optional<Color> backgroundColor;
    // Points per line for wheels that scroll by lines.
    double lineScroll = 10;

    Size measureFittingSize() const override;
    double measureFittingHeightForWidth(double width) const override;
    void layout() override;
    void scrollWheel(const Event& event) override;
    void draw(Canvas& canvas, Rect dirty) override;

protected:
    explicit ScrollView(Rect frame);

private:
    bool overflows(LayoutAxis axis) const;

    std::shared_ptr<ClipView> clip_;
    bool tracksWidth_ = false;
    BorderType borderType_ = BorderType::none;
};

}  // namespace tallowmere::platform
