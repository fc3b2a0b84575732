#pragma once

#include <memory>

#include "selection/selection_accessibility.h"
#include "selection/selvane_action_panel.h"
#include "windows/selection_bar.h"

namespace tallowmere {

// A selection's style summary, as the trigger carries it to the bar.
struct SelvaneSelectionStyle final : SelectionStyle {
    explicit SelvaneSelectionStyle(Accessibility::TextStyle style) : style(std::move(style)) {}
    Accessibility::TextStyle style;
};

// The selection bar as the input controller reaches it: the bar itself,
// the exclusion list and the readers of the selection under the pointer.
// The application delegate makes one and hands it to the input controller.
class SelvaneSelectionBar final : public SelectionBar {
public:
    // `applicationIcon` is the program's icon at the bar's left end. The bar
    // itself is made when first needed: laying it out measures text, which
    // a start without any selection should not pay for.
    explicit SelvaneSelectionBar(std::optional<platform::Image> applicationIcon = std::nullopt)
        : applicationIcon_(std::move(applicationIcon)) {}

    SelvaneActionPanel& panel();

    void hide() override {
        if (panel_) panel_->hide();
    }
    bool isChoosingApplication() const override;
    bool excludes(const std::optional<std::string>& bundleIdentifier) const override;
    // Text of a password field is never read: the bar opens empty and
    // marked secure. A style is read only for text there is.
    void showSelection(platform::ScreenPoint point, const std::shared_ptr<platform::Screen>& screen) override;

    bool isSecureInput(platform::ScreenPoint point) override;
    std::optional<std::string> selectedText(platform::ScreenPoint point) override;
    std::shared_ptr<const SelectionStyle> selectedTextStyle(platform::ScreenPoint point) override;
    // Through the browser's page script; the style summed up as Accessibility's is.
    void readPageStyle(std::string expectedText, std::function<void(PageStyleReading)> completion) override;
    void show(std::string text, platform::ScreenPoint point, const std::shared_ptr<platform::Screen>& screen,
              bool isSecure, std::shared_ptr<const SelectionStyle> style, std::optional<std::string> note) override;

private:
    std::optional<platform::Image> applicationIcon_;
    std::shared_ptr<SelvaneActionPanel> panel_;
};

}  // namespace tallowmere
