#include "quicklaunch/quick_launch_icon_item_view.h"

#include <cmath>

#include "platform/gfx/font.h"
#include "platform/ui/cursor.h"
#include "platform/ui/image_view.h"
#include "platform/ui/label.h"
#include "quicklaunch/quick_launch_icons.h"

namespace tallowmere {

using platform::Color;
using platform::SystemColor;

namespace {

constexpr double iconSide = 38;
constexpr double contentSpacing = 5;
constexpr double sideInset = 4;
constexpr double titleHeight = 15;
constexpr double selectedAlpha = 0.14;
constexpr double pressedAlpha = 0.1;
constexpr double draggingAlpha = 0.18;

}  // namespace

std::shared_ptr<QuickLaunchIconItemView> QuickLaunchIconItemView::make(const QuickLaunchEntry& entry) {
    return std::shared_ptr<QuickLaunchIconItemView>(new QuickLaunchIconItemView(entry));
}

QuickLaunchIconItemView::QuickLaunchIconItemView(const QuickLaunchEntry& entry)
    : View({{0, 0}, size}), entryID_(entry.id) {
    setWantsLayer(true);
    mutableLayer().cornerRadius = 12;
    mutableLayer().continuousCorners = true;
    setToolTip(entry.name);

    // Icon over title, the pair centred vertically.
    const double contentHeight = iconSide + contentSpacing + titleHeight;
    const double top = (size.height + contentHeight) / 2;
    auto icon = platform::ImageView::make(quickLaunchIcon(entry));
    icon->setImageScaling(platform::ImageScaling::proportionallyDown);
    icon->setFrame({{(size.width - iconSide) / 2, top - iconSide}, {iconSide, iconSide}});
    addSubview(icon);
    auto title = platform::Label::make(entry.name);
    title->setFont(platform::Font::systemFont(12, platform::FontWeight::semibold));
    title->setAlignment(platform::TextAlignment::center);
    title->setLineBreakMode(platform::LineBreakMode::byTruncatingTail);
    title->setFrame({{sideInset, top - contentHeight}, {size.width - 2 * sideInset, titleHeight}});
    addSubview(title);
}

void QuickLaunchIconItemView::setSelected(bool selected) {
    isSelected_ = selected;
    setBackgroundAlpha(selected ? selectedAlpha : 0);
}

void QuickLaunchIconItemView::setBackgroundAlpha(double alpha) {
    if (alpha > 0) {
        mutableLayer().backgroundColor = Color::system(SystemColor::selectedContentBackground).withAlphaComponent(alpha);
    } else {
        mutableLayer().backgroundColor = Color::clear();
    }
    setNeedsDisplay();
}

platform::Point QuickLaunchIconItemView::windowLocation(const platform::Event& event) const {
    return convertToWindow(locationInView(event));
}

void QuickLaunchIconItemView::mouseDown(const platform::Event& event) {
    mouseDownPoint_ = windowLocation(event);
    isDragging_ = false;
    setBackgroundAlpha(pressedAlpha);
}

void QuickLaunchIconItemView::mouseDragged(const platform::Event& event) {
    if (!mouseDownPoint_ || isDragging_) return;
    const platform::Point here = windowLocation(event);
    if (std::hypot(here.x - mouseDownPoint_->x, here.y - mouseDownPoint_->y) <= dragThreshold) return;
    isDragging_ = true;
    platform::Cursor::closedHand();
    setBackgroundAlpha(draggingAlpha);
}

void QuickLaunchIconItemView::mouseUp(const platform::Event& event) {
    // The callbacks may rebuild the strip and drop this item from it.
    const auto keepAlive = shared_from_this();
    platform::Cursor::arrow();
    if (!isDragging_) {
        if (event.clickCount < 2) {
            if (onSelect) onSelect(entryID_);
        } else if (onDoubleClick) {
            onDoubleClick(entryID_);
        }
    } else if (onDrop) {
        onDrop(entryID_, windowLocation(event));
    }
    mouseDownPoint_.reset();
    isDragging_ = false;
    setBackgroundAlpha(isSelected_ ? selectedAlpha : 0);
}

}  // namespace tallowmere
