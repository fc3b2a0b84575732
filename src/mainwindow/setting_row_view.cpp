#include "mainwindow/setting_row_view.h"

#include <algorithm>
#include <sstream>

#include "platform/gfx/text_measurer.h"
#include "platform/ui/label.h"

namespace tallowmere {

using namespace platform;

namespace {

// A label keeps this much room at either side of its text.
constexpr double labelSideInset = 2;

// The widest run of the label's text between spaces. A language written
// without spaces counts its whole line as one word, so its row keeps the
// line whole rather than breaking it at an arbitrary place.
double widestWord(const Label& label) {
    const auto font = label.attributedStringValue() ? label.attributedStringValue()->attributesAt(0).font.value_or(label.font())
                                                    : label.font();
    std::istringstream words(label.stringValue());
    std::string word;
    double widest = 0;
    while (words >> word) widest = std::max(widest, TextMeasurer::shared().measure(word, font).width);
    return widest;
}

}  // namespace

std::shared_ptr<SettingRowView> SettingRowView::make(std::shared_ptr<View> icon, std::shared_ptr<StackView> text,
                                                     std::shared_ptr<View> controls, Gaps gaps, double minimumHeight) {
    return std::shared_ptr<SettingRowView>(
        new SettingRowView(std::move(icon), std::move(text), std::move(controls), gaps, minimumHeight));
}

SettingRowView::SettingRowView(std::shared_ptr<View> icon, std::shared_ptr<StackView> text,
                               std::shared_ptr<View> controls, Gaps gaps, double minimumHeight)
    : View({}), icon_(std::move(icon)), text_(std::move(text)), controls_(std::move(controls)), gaps_(gaps),
      minimumHeight_(minimumHeight) {
    addSubview(icon_);
    addSubview(text_);
    if (controls_) addSubview(controls_);
}

double SettingRowView::narrowestTextWidth() const {
    double widest = 0;
    for (const auto& view : text_->arrangedSubviews()) {
        if (const auto* label = dynamic_cast<const Label*>(view.get())) widest = std::max(widest, widestWord(*label));
    }
    return widest + 2 * labelSideInset;
}

bool SettingRowView::wrapsControls(double width) const {
    if (!controls_) return false;
    const double besideControls = width - icon_->fittingSize().width - gaps_.afterIcon - gaps_.beforeControls -
                                  controls_->fittingSize().width;
    return besideControls < std::min(narrowestTextWidth(), text_->fittingSize().width);
}

SettingRowView::Frames SettingRowView::arrange(double width) const {
    Frames frames;
    const Size icon{icon_->fittingSize().width, icon_->fittingHeightForWidth(icon_->fittingSize().width)};
    const double textLeft = icon.width + gaps_.afterIcon;
    const bool wraps = wrapsControls(width);
    Size controls;
    if (controls_) {
        controls.width = controls_->fittingSize().width;
        controls.height = controls_->fittingHeightForWidth(controls.width);
    }
    double textRoom = width - textLeft;
    if (controls_ && !wraps) textRoom -= gaps_.beforeControls + controls.width;
    const double textWidth = std::max(0.0, std::min(text_->fittingSize().width, textRoom));
    const double textHeight = text_->fittingHeightForWidth(textWidth);

    // The icon and text share a centre line; so do the controls, beside
    // them or on their own line below.
    const double firstLine = wraps ? std::max(icon.height, textHeight)
                                   : std::max({minimumHeight_, icon.height, textHeight, controls.height});
    frames.icon = {0, (firstLine - icon.height) / 2, icon.width, icon.height};
    frames.text = {textLeft, (firstLine - textHeight) / 2, textWidth, textHeight};
    if (wraps) {
        frames.controls = {width - controls.width, firstLine + gaps_.betweenLines, controls.width, controls.height};
        frames.height = std::max(minimumHeight_, frames.controls.maxY());
    } else {
        frames.controls = {width - controls.width, (firstLine - controls.height) / 2, controls.width, controls.height};
        frames.height = firstLine;
    }
    return frames;
}

Size SettingRowView::measureFittingSize() const {
    double width = icon_->fittingSize().width + gaps_.afterIcon + text_->fittingSize().width;
    if (controls_) width += gaps_.beforeControls + controls_->fittingSize().width;
    width = sizeConstraints().apply(LayoutAxis::horizontal, width);
    return {width, fittingHeightForWidth(width)};
}

double SettingRowView::measureFittingHeightForWidth(double width) const {
    return sizeConstraints().apply(LayoutAxis::vertical, arrange(width).height);
}

void SettingRowView::layout() {
    const auto frames = arrange(bounds().width());
    // A row given more height than it needs keeps its parts on its centre line.
    const double dy = std::max(0.0, (bounds().height() - frames.height) / 2);
    icon_->setFrame(frames.icon.offsetBy(0, dy));
    text_->setFrame(frames.text.offsetBy(0, dy));
    if (controls_) controls_->setFrame(frames.controls.offsetBy(0, dy));
}

}  // namespace tallowmere
