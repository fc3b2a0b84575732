#include "screen/screen_ruler_controller.h"

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere {

namespace {

constexpr int overlayLevel = 1000;  // above the menu bar and the bar's own level

// Takes the keyboard so Escape and Return reach the ruler.
class RulerOverlay final : public platform::Panel {
public:
    RulerOverlay(MakeKey key, platform::ScreenRect frame)
        : Panel(key, frame, platform::WindowStyleMask{platform::WindowStyleMask::borderless}) {}
    bool canBecomeKey() const override { return true; }
    void keyDown(const platform::Event& event) override {
        if (event.charactersIgnoringModifiers == "\x1b" || event.charactersIgnoringModifiers == "\r") {
            ScreenRulerController::shared().close();
            return;
        }
        Panel::keyDown(event);
    }
};

}  // namespace

ScreenRulerController& ScreenRulerController::shared() {
    return platform::AppContext::current().shared<ScreenRulerController>();
}

void ScreenRulerController::showFromMenu() {
    if (isShowing()) return;
    for (const auto& screen : platform::DesktopLink::desktop().screens().screens()) {
        auto overlay = platform::Window::make<RulerOverlay>(screen->frame());
        overlay->setOpaque(false);
        overlay->setBackgroundColor(platform::Color::black().withAlphaComponent(0.08));
        overlay->setHasShadow(false);
        overlay->setLevel(overlayLevel);
        overlay->setContentView(platform::View::make({{0, 0}, screen->frame().size}));
        overlay->makeKeyAndOrderFront();
        overlays_.push_back(overlay);
    }
    platform::Application::shared().activate(true);
}

void ScreenRulerController::close() {
    auto closing = std::move(overlays_);
    overlays_.clear();
    for (const auto& overlay : closing) overlay->orderOut();
}

}  // namespace tallowmere
