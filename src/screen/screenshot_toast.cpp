#include "screen/screenshot_toast.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/input_state.h"
#include "platform/desktop/screen.h"
#include "platform/desktop/window_level.h"
#include "platform/gfx/font.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/window.h"

namespace tallowmere {

namespace {
constexpr double height = 44;
constexpr double defaultWidth = 200;
// Not measured: a longer text is clipped by the panel.
constexpr double otherWidth = 280;
}  // namespace

ScreenshotToast& ScreenshotToast::shared() {
    return platform::AppContext::current().shared<ScreenshotToast>();
}

ScreenshotToast::ScreenshotToast() : messageLabel_(platform::Label::make(std::string{})) {}

void ScreenshotToast::makePanel() {
    using platform::WindowCollectionBehavior;
    panel_ = platform::Window::make<platform::Panel>(platform::ScreenRect{0, 0, defaultWidth, height},
                                                     platform::WindowStyleMask::nonactivatingPanel);
    panel_->setOpaque(false);
    panel_->setBackgroundColor(platform::Color::clear());
    panel_->setHasShadow(false);
    panel_->setLevel(platform::WindowLevel::status);
    panel_->setHidesOnDeactivate(false);
    panel_->setIgnoresMouseEvents(true);
    panel_->isReleasedWhenClosed = false;
    panel_->setCollectionBehavior(WindowCollectionBehavior::canJoinAllSpaces |
                                  WindowCollectionBehavior::fullScreenAuxiliary);

    auto content = platform::View::make(platform::Rect{0, 0, defaultWidth, height});
    content->setWantsLayer(true);
    auto& layer = content->mutableLayer();
    layer.backgroundColor = platform::Color::black().withAlphaComponent(0.7);
    layer.borderWidth = 0;
    layer.cornerRadius = 12;

    messageLabel_->setFont(platform::Font::systemFont(13, platform::FontWeight::medium));
    messageLabel_->setTextColor(platform::Color::white());
    messageLabel_->setAlignment(platform::TextAlignment::center);
    messageLabel_->setPlacement(platform::Placement::centered());
    content->addSubview(messageLabel_);
    panel_->setContentView(content);
}

void ScreenshotToast::show(const std::string& message) {
    if (dismissWork_) dismissWork_->cancel();
    messageLabel_->setStringValue(message);
    const double width = message == defaultMessage ? defaultWidth : otherWidth;
    if (!panel_) makePanel();
    panel_->setContentSize({width, height});

    // The full frame, menu bar and Dock included: the bubble sits in the
    // middle of whatever screen the person is looking at.
    const auto pointer = platform::DesktopLink::desktop().input().mouseLocation();
    auto screen = platform::DesktopLink::screenContaining(pointer);
    if (!screen) screen = platform::DesktopLink::mainScreen();
    if (screen) {
        const auto frame = screen->frame();
        panel_->setFrameOrigin({frame.midX() - width * 0.5, frame.midY() - height * 0.5});
    }
    panel_->orderFrontRegardless();

    std::weak_ptr<ScreenshotToast> weakSelf = weak_from_this();
    dismissWork_ = platform::WorkItem::make([weakSelf] {
        auto self = weakSelf.lock();
        if (self && self->panel_) self->panel_->orderOut();
    });
    platform::AppContext::current().mainQueue().asyncAfter(visibleSeconds, dismissWork_);
}

}  // namespace tallowmere
