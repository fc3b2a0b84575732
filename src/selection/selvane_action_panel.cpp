#include "selection/selvane_action_panel.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/view.h"

namespace tallowmere {

using platform::ScreenRect;
using platform::WindowStyleMask;

SelvaneActionPanel::SelvaneActionPanel()
    : panel_(platform::Window::make<platform::Panel>(ScreenRect{{0, 0}, barSize},
                                                     WindowStyleMask{WindowStyleMask::nonactivatingPanel})),
      label_(platform::Label::make()) {
    panel_->setFloatingPanel(true);
    panel_->becomesKeyOnlyIfNeeded = true;
    panel_->setHidesOnDeactivate(false);
    panel_->setLevel(platform::WindowLevel::popUpMenu);
    auto content = platform::View::make({{0, 0}, barSize});
    label_->setFrame({{10, 8}, {barSize.width - 20, 20}});
    content->addSubview(label_);
    panel_->setContentView(content);
}

void SelvaneActionPanel::show(std::string text, platform::ScreenPoint near,
                              const std::shared_ptr<platform::Screen>& screen, bool isSecure,
                              std::optional<Accessibility::TextStyle> textStyle, std::optional<std::string> styleNote) {
    (void)styleNote;
    text_ = std::move(text);
    isSecure_ = isSecure;
    textStyle_ = std::move(textStyle);
    sourceProcess_.reset();
    if (auto front = platform::DesktopLink::desktop().frontmostApplication()) {
        sourceProcess_ = front->processIdentifier();
    }
    // A password is never shown, not even in part.
    label_->setStringValue(isSecure_ ? std::string() : text_);

    double x = near.x - barSize.width / 2;
    double y = near.y + gapAbovePoint;
    if (screen) {
        const ScreenRect visible = screen->visibleFrame();
        x = std::clamp(x, visible.minX() + edgeMargin,
                       std::max(visible.minX() + edgeMargin, visible.maxX() - edgeMargin - barSize.width));
        y = std::clamp(y, visible.minY() + edgeMargin,
                       std::max(visible.minY() + edgeMargin, visible.maxY() - edgeMargin - barSize.height));
    }
    panel_->setFrameOrigin({x, y});
    panel_->orderFrontRegardless();
}

void SelvaneActionPanel::hide() {
    panel_->orderOut();
    text_.clear();
    isSecure_ = false;
    textStyle_.reset();
    sourceProcess_.reset();
}

}  // namespace tallowmere
