#include "time/meeting_break_countdown_controller.h"

#include <algorithm>
#include <cmath>

#include "platform/base/format.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/font.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/timer.h"
#include "platform/ui/alert.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/system_beep.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window_style.h"
#include "time/typed_minutes.h"

namespace tallowmere {

using namespace platform;

namespace {

Date now() { return AppContext::current().clock().now(); }

std::shared_ptr<Label> centredLabel(std::string text, Font font, Color color) {
    auto label = Label::make(std::move(text));
    label->setFont(std::move(font));
    label->setTextColor(std::move(color));
    label->setAlignment(TextAlignment::center);
    return label;
}

void showInvalidMinutesAlert() {
    auto alert = Alert::make();
    alert->messageText = "时间不正确";
    alert->informativeText = "请输入 1–1440 之间的整数分钟数。";
    alert->addButton("好");
    alert->runModal();
}

}  // namespace

MeetingBreakCountdownController& MeetingBreakCountdownController::shared() {
    return AppContext::current().shared<MeetingBreakCountdownController>();
}

std::shared_ptr<MeetingBreakCountdownController> MeetingBreakCountdownController::makeShared() {
    auto controller = std::make_shared<MeetingBreakCountdownController>();
    const std::weak_ptr<MeetingBreakCountdownController> weak = controller;
    controller->screensObserver_ = AppContext::current().notificationCenter().addObserver(
        ScreenArrangement::didChangeScreenParametersNotification, nullptr, [weak](const Notification&) {
            if (auto self = weak.lock()) self->screenConfigurationChanged();
        });
    return controller;
}

MeetingBreakCountdownController::~MeetingBreakCountdownController() {
    if (screensObserver_) AppContext::current().notificationCenter().removeObserver(*screensObserver_);
    stopCountdown(false);
}

void MeetingBreakCountdownController::start(int minutes) {
    if (minutes < 1 || minutes > longestMinutes) return;
    stopCountdown(false);
    if (auto front = DesktopLink::desktop().workspace().frontmostApplication()) previousApplication_ = front;
    endDate_ = now().addingTimeInterval(minutes * 60.0);
    rebuildWindows();

    if (keyMonitor_) EventMonitors::shared().removeMonitor(*keyMonitor_);
    const std::weak_ptr<MeetingBreakCountdownController> weakSelf = weak_from_this();
    keyMonitor_ = EventMonitors::shared().addLocalMonitor(
        eventMask(EventType::keyDown), [weakSelf](const Event& event) -> std::optional<Event> {
            if (event.keyCode != escapeKeyCode) return event;
            if (auto self = weakSelf.lock()) self->stopCountdown(false);
            return std::nullopt;
        });

    updateCountdown();
    if (!isRunning()) return;
    if (timer_) timer_->invalidate();
    timer_ = Timer::scheduledTimer(tickInterval, true, [weakSelf](Timer&) {
        if (auto self = weakSelf.lock()) self->updateCountdown();
    });
}

void MeetingBreakCountdownController::startFromMenu(MenuItem& sender) {
    start(static_cast<int>(std::clamp<std::int64_t>(sender.tag(), -1, longestMinutes + 1)));
}

void MeetingBreakCountdownController::startCustomFromMenu(MenuItem& /*sender*/) { startCustom(); }

void MeetingBreakCountdownController::startCustom() {
    auto alert = Alert::make();
    alert->messageText = "自定义会议休息倒计时";
    alert->informativeText = "输入休息分钟数（1–1440）。";
    alert->addButton("开始倒计时");
    alert->addButton("取消");
    auto field = TextField::make("10");
    field->setFrame({0, 0, 240, 26});
    alert->accessoryView = field;
    if (alert->runModal() != ModalResponses::alertFirstButton) return;
    const auto minutes = typedWholeMinutes(field->stringValue(), longestMinutes);
    if (!minutes) {
        showInvalidMinutesAlert();
        return;
    }
    start(*minutes);
}

void MeetingBreakCountdownController::stopFromMenu(MenuItem& /*sender*/) { stopCountdown(false); }

std::string MeetingBreakCountdownController::countdownText() const {
    if (!endDate_) return {};
    const double remaining = std::ceil(endDate_->timeIntervalSince(now()));
    const auto shown = static_cast<long long>(std::max(remaining, 0.0));
    return formatTemplate("%02d:%02d", shown / 60, shown % 60);
}

void MeetingBreakCountdownController::updateCountdown() {
    if (!endDate_) return;
    const std::string text = countdownText();
    for (const auto& label : countdownLabels_) label->setStringValue(text);
    if (std::ceil(endDate_->timeIntervalSince(now())) <= 0) stopCountdown(true);
}

void MeetingBreakCountdownController::orderOutWindows() {
    auto windows = std::move(windows_);
    windows_.clear();
    countdownLabels_.clear();
    for (const auto& window : windows) window->orderOut();
}

void MeetingBreakCountdownController::rebuildWindows() {
    orderOutWindows();
    if (!isRunning()) return;
    for (const auto& screen : DesktopLink::desktop().screens().screens()) {
        const ScreenRect frame = screen->frame();
        auto window = Window::make<MeetingBreakWindow>(frame, WindowStyleMask{WindowStyleMask::borderless});
        window->isReleasedWhenClosed = false;
        window->setOpaque(true);
        window->setBackgroundColor(Color::black());
        window->setLevel(windowLevel);
        window->setCollectionBehavior(WindowCollectionBehavior{WindowCollectionBehavior::canJoinAllSpaces |
                                                               WindowCollectionBehavior::stationary |
                                                               WindowCollectionBehavior::fullScreenAuxiliary});
        window->setFrame(frame, true);

        auto content = View::make({{0, 0}, frame.size});
        content->setWantsLayer(true);
        content->mutableLayer().backgroundColor = Color::black();
        auto title = centredLabel("会议休息", Font::systemFont(30, FontWeight::medium), Color::calibratedWhite(1, 0.72));
        auto digits = centredLabel("00:00", Font::monospacedDigitSystemFont(180, FontWeight::bold), Color::white());
        auto note = centredLabel("", Font::systemFont(18), Color::calibratedWhite(1, 0.48));
        auto column = StackView::makeVertical({title, digits, note});
        column->setAlignment(StackAlignment::centerX);
        column->setSpacing(24);
        column->setPlacement(Placement{40.0, 40.0, std::nullopt, std::nullopt, std::nullopt, 0.0});
        content->addSubview(column);
        window->setContentView(content);
        content->layoutSubtreeIfNeeded();
        window->orderFrontRegardless();
        windows_.push_back(window);
        countdownLabels_.push_back(digits);
    }
    Application::shared().activate(true);
    if (!windows_.empty()) windows_.front()->makeKeyAndOrderFront();
}

void MeetingBreakCountdownController::stopCountdown(bool playCompletionSound) {
    if (timer_) timer_->invalidate();
    timer_.reset();
    endDate_.reset();
    if (keyMonitor_) EventMonitors::shared().removeMonitor(*keyMonitor_);
    keyMonitor_.reset();
    orderOutWindows();
    if (playCompletionSound) systemBeep();
    auto previous = previousApplication_.lock();
    previousApplication_.reset();
    if (previous) previous->activate();
}

void MeetingBreakCountdownController::screenConfigurationChanged() {
    if (!isRunning()) return;
    rebuildWindows();
    updateCountdown();
}

}  // namespace tallowmere
