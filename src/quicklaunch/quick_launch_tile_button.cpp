#include "quicklaunch/quick_launch_tile_button.h"

#include "platform/gfx/font.h"
#include "quicklaunch/quick_launch_icons.h"

namespace tallowmere {

using platform::Color;
using platform::SystemColor;

namespace {

constexpr double iconTopInset = 11;
constexpr double titleGap = 7;
constexpr double titleSideInset = 7;
constexpr double titleHeight = 16;

}  // namespace

std::shared_ptr<QuickLaunchTileButton> QuickLaunchTileButton::make(const QuickLaunchEntry& entry) {
    return std::shared_ptr<QuickLaunchTileButton>(new QuickLaunchTileButton(entry));
}

QuickLaunchTileButton::QuickLaunchTileButton(const QuickLaunchEntry& entry) : Button({{0, 0}, size}) {
    setTitle({});
    setToolTip(entry.name);
    setAccessibilityLabel(entry.name);
    setBordered(false);
    setButtonType(platform::ButtonType::momentaryChange);
    setIdentifier(entry.id.uuidString());
    setWantsLayer(true);
    mutableLayer().cornerRadius = 14;
    mutableLayer().continuousCorners = true;

    const double iconTop = size.height - iconTopInset;
    tileIcon_ = platform::ImageView::make(quickLaunchIcon(entry));
    tileIcon_->setImageScaling(platform::ImageScaling::proportionallyDown);
    tileIcon_->setFrame({{(size.width - iconSide) / 2, iconTop - iconSide}, {iconSide, iconSide}});
    addSubview(tileIcon_);

    tileTitle_ = platform::Label::make(entry.name);
    tileTitle_->setFont(platform::Font::systemFont(13, platform::FontWeight::semibold));
    tileTitle_->setTextColor(Color::system(SystemColor::label));
    tileTitle_->setAlignment(platform::TextAlignment::center);
    tileTitle_->setLineBreakMode(platform::LineBreakMode::byTruncatingTail);
    tileTitle_->setMaximumNumberOfLines(1);
    const double titleTop = iconTop - iconSide - titleGap;
    tileTitle_->setFrame({{titleSideInset, titleTop - titleHeight}, {size.width - 2 * titleSideInset, titleHeight}});
    addSubview(tileTitle_);

    refreshAppearance();
}

void QuickLaunchTileButton::refreshAppearance() {
    mutableLayer().backgroundColor = isHovering_ ? Color::system(SystemColor::controlAccent).withAlphaComponent(0.16)
                                                 : Color::system(SystemColor::label).withAlphaComponent(0.055);
    setNeedsDisplay();
}

void QuickLaunchTileButton::updateTrackingAreas() {
    if (hoverTrackingArea_) removeTrackingArea(hoverTrackingArea_);
    hoverTrackingArea_ = platform::TrackingArea::make(
        bounds(), platform::TrackingOption::mouseEnteredAndExited | platform::TrackingOption::activeAlways |
                      platform::TrackingOptions(platform::TrackingOption::inVisibleRect));
    addTrackingArea(hoverTrackingArea_);
}

void QuickLaunchTileButton::mouseEntered(const platform::Event&) {
    isHovering_ = true;
    refreshAppearance();
}

void QuickLaunchTileButton::mouseExited(const platform::Event&) {
    isHovering_ = false;
    refreshAppearance();
}

// The tile is its layer, icon and title; the button draws no title or bezel.
void QuickLaunchTileButton::draw(platform::Canvas&, platform::Rect) {}

}  // namespace tallowmere
