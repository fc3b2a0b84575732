#include "selection/selvane_selection_bar.h"

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

}  // namespace tallowmere
