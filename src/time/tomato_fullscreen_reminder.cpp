#include "time/tomato_fullscreen_reminder.h"

#include "localization/product_identity.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/font.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/window_style.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr int screenSaverLevel = 1000;

std::shared_ptr<View> reminderContent(Size size) {
    auto tomato = Label::make("🍅");
    tomato->setFont(Font::systemFont(132));
    tomato->setAlignment(TextAlignment::center);

    auto message = Label::make(ProductIdentity::usesChineseDisplayName() ? "时间到了！" : "Time's up!");
    message->setFont(Font::boldSystemFont(44));
    message->setTextColor(Color::white());
    message->setAlignment(TextAlignment::center);

    auto column = StackView::makeVertical({tomato, message});
    column->setAlignment(StackAlignment::centerX);
    column->setSpacing(18);
    // Across the whole width, so each line centres itself in it.
    column->setPlacement(Placement{0.0, 0.0, std::nullopt, std::nullopt, std::nullopt, 0.0});

    auto content = View::make();
    content->setFrame({{0, 0}, size});
    content->setWantsLayer(true);
    content->mutableLayer().backgroundColor = Color::black();
    content->addSubview(column);
    return content;
}

}  // namespace

TomatoFullscreenReminder::~TomatoFullscreenReminder() { dismissReminder(); }

void TomatoFullscreenReminder::showReminder() {
    dismissReminder();
    Application::shared().activate(true);

    for (const auto& screen : DesktopLink::desktop().screens().screens()) {
        const ScreenRect frame = screen->frame();
        auto panel = Window::make<TomatoReminderDisplayPanel>(frame, WindowStyleMask{WindowStyleMask::borderless});
        panel->setOpaque(true);
        panel->setBackgroundColor(Color::black());
        panel->setHasShadow(false);
        panel->setLevel(screenSaverLevel);
        panel->setCollectionBehavior(WindowCollectionBehavior{WindowCollectionBehavior::canJoinAllSpaces |
                                                              WindowCollectionBehavior::stationary |
                                                              WindowCollectionBehavior::fullScreenAuxiliary});
        panel->isReleasedWhenClosed = false;
        panel->setContentView(reminderContent(frame.size));
        panel->setFrame(frame, false);
        panel->contentView()->layoutSubtreeIfNeeded();
        panel->orderFrontRegardless();
        panels_.push_back(std::move(panel));
    }
    if (!panels_.empty()) panels_.front()->makeKeyAndOrderFront();

    // Once the reminder is gone the monitor lets everything through: a
    // stray monitor must never swallow the person's clicks and keys.
    const std::weak_ptr<TomatoFullscreenReminder> weakSelf = weak_from_this();
    eventMonitor_ = EventMonitors::shared().addLocalMonitor(
        eventMask(EventType::leftMouseDown) | eventMask(EventType::keyDown),
        [weakSelf](const Event& event) -> std::optional<Event> {
            const bool dismisses = event.type == EventType::leftMouseDown ||
                                   (event.type == EventType::keyDown && event.keyCode == escapeKeyCode);
            if (!dismisses) return event;
            auto self = weakSelf.lock();
            if (!self) return event;
            self->dismissReminder();
            return std::nullopt;
        });

    hideWorkItem_ = WorkItem::make([weakSelf] {
        if (auto self = weakSelf.lock()) self->dismissReminder();
    });
    AppContext::current().mainQueue().asyncAfter(hideAfterSeconds, hideWorkItem_);
}

void TomatoFullscreenReminder::dismissReminder() {
    if (hideWorkItem_) hideWorkItem_->cancel();
    hideWorkItem_.reset();
    if (eventMonitor_) EventMonitors::shared().removeMonitor(*eventMonitor_);
    eventMonitor_.reset();
    auto panels = std::move(panels_);
    panels_.clear();
    for (const auto& panel : panels) {
        panel->orderOut();
        panel->close();
    }
}

}  // namespace tallowmere
