#include "screen/brightness_slider_row.h"

#include <cmath>

#include "platform/gfx/font.h"
#include "platform/ui/label.h"
#include "platform/ui/slider.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<BrightnessSliderRow> BrightnessSliderRow::make(const std::string& screenName) {
    return std::shared_ptr<BrightnessSliderRow>(new BrightnessSliderRow(screenName));
}

BrightnessSliderRow::BrightnessSliderRow(const std::string& screenName) : View({0, 0, width, height}) {
    auto name = Label::make(screenName);
    name->setFrame({16, 65, 231, 19});
    name->setFont(Font::systemFont(13, FontWeight::semibold));
    name->setLineBreakMode(LineBreakMode::byTruncatingMiddle);
    name->setToolTip(screenName);
    addSubview(name);

    percent_ = Label::make("100%");
    percent_->setFrame({251, 65, 53, 19});
    percent_->setFont(Font::monospacedDigitSystemFont(13));
    percent_->setAlignment(TextAlignment::right);
    addSubview(percent_);

    slider_ = Slider::make(100, 5, 100);
    slider_->setFrame({16, 32, 288, 25});
    slider_->setContinuous(true);
    slider_->setAccessibilityLabel(screenName + "亮度");
    slider_->onAction = [this](Control&) { changed(); };
    addSubview(slider_);

    detail_ = Label::make("");
    detail_->setFrame({16, 10, 288, 16});
    detail_->setFont(Font::systemFont(11));
    detail_->setTextColor(Color::system(SystemColor::secondaryLabel));
    detail_->setLineBreakMode(LineBreakMode::byTruncatingTail);
    addSubview(detail_);
}

void BrightnessSliderRow::changed() {
    const double value = slider_->doubleValue();
    percent_->setStringValue(std::to_string(static_cast<int>(value)) + "%");
    if (onChange) onChange(value / 100);
}

void BrightnessSliderRow::setDetail(const std::string& text) {
    detail_->setStringValue(text);
    detail_->setToolTip(text);
}

}  // namespace tallowmere
