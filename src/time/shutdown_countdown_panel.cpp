#include "time/shutdown_countdown_panel.h"

#include "localization/product_identity.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/font.h"
#include "platform/runtime/timer.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/visual_effect_view.h"
#include "platform/ui/window.h"
#include "platform/ui/window_style.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr double panelWidth = 390, panelHeight = 168;

}  // namespace

ShutdownCountdownPanel::~ShutdownCountdownPanel() { cancel(); }

std::string ShutdownCountdownPanel::countdownText(int seconds) {
    const std::string number = std::to_string(seconds);
    return ProductIdentity::usesChineseDisplayName() ? number + " 秒后将自动关机"
                                                     : "Shutting down in " + number + " seconds";
}

void ShutdownCountdownPanel::show(int seconds, std::function<void()> completion) {
    cancel();
    remainingSeconds_ = seconds;
    completion_ = std::move(completion);
    const bool chinese = ProductIdentity::usesChineseDisplayName();

    auto panel = Window::make<Panel>(ScreenRect{0, 0, panelWidth, panelHeight},
                                     WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::fullSizeContentView});
    panel->setLevel(3);
    panel->titleVisibility = WindowTitleVisibility::hidden;
    panel->titlebarAppearsTransparent = true;
    panel->isMovableByWindowBackground = true;
    panel->setCollectionBehavior(WindowCollectionBehavior{WindowCollectionBehavior::canJoinAllSpaces |
                                                          WindowCollectionBehavior::fullScreenAuxiliary});
    panel->showsMiniaturizeButton = false;
    panel->showsZoomButton = false;
    panel->isReleasedWhenClosed = false;

    auto title = Label::make(chinese ? "即将进行关机" : "Shutting Down Soon");
    title->setFont(Font::systemFont(20));
    title->setAlignment(TextAlignment::center);

    auto label = Label::make(countdownText(seconds));
    label->setFont(Font::monospacedDigitSystemFont(15));
    label->setTextColor(Color::system(SystemColor::secondaryLabel));
    label->setAlignment(TextAlignment::center);
    countdownLabel_ = label;

    auto button = Button::make(chinese ? "取消任务" : "Cancel Shutdown");
    button->setBezelStyle(BezelStyle::rounded);
    button->setControlSize(ControlSize::large);
    button->setKeyEquivalent("\x1b");
    button->setFixedWidth(150);
    button->onAction = [weak = weak_from_this()](Control&) {
        if (auto self = weak.lock()) self->cancel();
    };

    auto column = StackView::makeVertical({title, label, button});
    column->setAlignment(StackAlignment::centerX);
    column->setSpacing(14);
    column->setPlacement(Placement{28.0, 28.0, std::nullopt, std::nullopt, std::nullopt, 8.0});

    auto background = VisualEffectView::make({0, 0, panelWidth, panelHeight}, VisualEffectMaterial::popover);
    background->blendingMode = VisualEffectBlendingMode::behindWindow;
    background->state = VisualEffectState::active;
    background->setWantsLayer(true);
    background->mutableLayer().cornerRadius = 18;
    background->addSubview(column);
    panel->setContentView(background);
    background->layoutSubtreeIfNeeded();

    if (auto screen = DesktopLink::desktop().screens().mainScreen()) {
        const ScreenRect visible = screen->visibleFrame();
        panel->setFrameOrigin({visible.midX() - panelWidth / 2, visible.midY() - panelHeight / 2});
    }
    panel_ = panel;
    panel->makeKeyAndOrderFront();

    timer_ = Timer::scheduledTimer(1.0, true, [weak = weak_from_this()](Timer&) {
        if (auto self = weak.lock()) self->tick();
    });
}

void ShutdownCountdownPanel::tick() {
    remainingSeconds_ -= 1;
    if (remainingSeconds_ > 0) {
        updateLabel();
        return;
    }
    auto completion = std::move(completion_);
    cancel();
    if (completion) completion();
}

void ShutdownCountdownPanel::updateLabel() {
    if (auto label = countdownLabel_.lock()) label->setStringValue(countdownText(remainingSeconds_));
}

void ShutdownCountdownPanel::cancel() {
    if (timer_) timer_->invalidate();
    timer_.reset();
    completion_ = nullptr;
    if (auto panel = std::move(panel_)) {
        panel->orderOut();
        panel->close();
    }
    panel_.reset();
}

}  // namespace tallowmere
