#include "selection/selvane_selection_bar.h"

#include "selection/chrome_selection_style_reader.h"
#include "selection/selection_accessibility.h"
#include "selection/selvane_exclusions.h"

namespace tallowmere {

SelvaneActionPanel& SelvaneSelectionBar::panel() {
    if (!panel_) panel_ = SelvaneActionPanel::make(applicationIcon_);
    return *panel_;
}

bool SelvaneSelectionBar::isChoosingApplication() const { return SelvaneExclusions::isChoosingApplication(); }

bool SelvaneSelectionBar::excludes(const std::optional<std::string>& bundleIdentifier) const {
    return SelvaneExclusions::contains(bundleIdentifier);
}

void SelvaneSelectionBar::showSelection(platform::ScreenPoint point, const std::shared_ptr<platform::Screen>& screen) {
    const bool isSecure = Accessibility::isSecureInput(point);
    std::string text;
    std::optional<Accessibility::TextStyle> style;
    if (!isSecure) {
        text = Accessibility::selectedText(point).value_or("");
        if (!text.empty()) style = Accessibility::selectedTextStyle(point);
    }
    panel().show(std::move(text), point, screen, isSecure, std::move(style), std::nullopt);
}

bool SelvaneSelectionBar::isSecureInput(platform::ScreenPoint point) { return Accessibility::isSecureInput(point); }

std::optional<std::string> SelvaneSelectionBar::selectedText(platform::ScreenPoint point) {
    return Accessibility::selectedText(point);
}

std::shared_ptr<const SelectionStyle> SelvaneSelectionBar::selectedTextStyle(platform::ScreenPoint point) {
    auto style = Accessibility::selectedTextStyle(point);
    return style ? std::make_shared<const SelvaneSelectionStyle>(std::move(*style)) : nullptr;
}

void SelvaneSelectionBar::readPageStyle(std::string expectedText, std::function<void(PageStyleReading)> completion) {
    ChromeSelectionStyleReader::read(std::move(expectedText),
                                     [completion = std::move(completion)](ChromeSelectionStyleReader::Result result) {
                                         PageStyleReading reading;
                                         if (auto style = Accessibility::chromeTextStyle(result.styles)) {
                                             reading.style = std::make_shared<const SelvaneSelectionStyle>(std::move(*style));
                                         }
                                         reading.note = std::move(result.note);
                                         completion(std::move(reading));
                                     });
}

void SelvaneSelectionBar::show(std::string text, platform::ScreenPoint point,
                               const std::shared_ptr<platform::Screen>& screen, bool isSecure,
                               std::shared_ptr<const SelectionStyle> style, std::optional<std::string> note) {
    std::optional<Accessibility::TextStyle> summary;
    if (auto* known = dynamic_cast<const SelvaneSelectionStyle*>(style.get())) summary = known->style;
    panel().show(std::move(text), point, screen, isSecure, std::move(summary), std::move(note));
}

}  // namespace tallowmere
