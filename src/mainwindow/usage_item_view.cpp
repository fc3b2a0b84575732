#include "mainwindow/usage_item_view.h"

#include <algorithm>

#include "platform/gfx/text_measurer.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr double iconSide = 40;
constexpr double iconGap = 10;
// A label keeps this much room at either side of its text.
constexpr double labelSideInset = 2;

}  // namespace

std::shared_ptr<UsageItemView> UsageItemView::make(std::shared_ptr<View> icon, std::shared_ptr<Label> title,
                                                   std::shared_ptr<Label> detail) {
    auto item = std::shared_ptr<UsageItemView>(new UsageItemView());
    icon->setFixedSize({iconSide, iconSide});
    auto text = StackView::makeVertical({title, detail});
    text->setAlignment(StackAlignment::leading);
    text->setSpacing(2);
    item->addArrangedSubview(icon);
    item->addArrangedSubview(text);
    item->title_ = std::move(title);
    item->detail_ = std::move(detail);
    return item;
}

UsageItemView::UsageItemView() : StackView(LayoutAxis::horizontal) {
    setAlignment(StackAlignment::top);
    setSpacing(iconGap);
}

namespace {

// Whether `label` takes more than `lines` lines when wrapped to `wrapWidth`.
bool needsMoreLines(const Label& label, double wrapWidth, int lines) {
    const auto text = label.attributedStringValue()
                          ? *label.attributedStringValue()
                          : AttributedString(label.stringValue(), TextAttributes{.font = label.font()});
    const auto& measurer = TextMeasurer::shared();
    return measurer.measure(text, wrapWidth).height > measurer.measureLines(text, wrapWidth, lines).height + 0.5;
}

}  // namespace

bool UsageItemView::textsNeedMoreLines(double width) const {
    const double wrapWidth = std::max(1.0, width - iconSide - iconGap - 2 * labelSideInset);
    return needsMoreLines(*title_, wrapWidth, 1) || needsMoreLines(*detail_, wrapWidth, 2);
}

double UsageItemView::measureFittingHeightForWidth(double width) const {
    if (!textsNeedMoreLines(width)) return height;
    return std::max(height, StackView::measureFittingHeightForWidth(width));
}

}  // namespace tallowmere
