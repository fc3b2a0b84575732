// The pomodoro and the scheduled shutdown as the status menu reaches them.
#include "app/app_delegate.h"
#include "localization/interface_language.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/base/format.h"
#include "platform/base/text.h"
#include "platform/ui/alert.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/text_field.h"
#include "platform/ui/desktop_link.h"
#include "platform/desktop/desktop.h"
#include "time/tomato_fullscreen_reminder.h"

#include <algorithm>
#include <cmath>

namespace tallowmere {

using namespace platform;

namespace {

constexpr int defaultPomodoroMinutes = 25;
constexpr int longestPomodoroMinutes = 1440;

// The minutes typed into the custom dialog: anything unreadable is the
// default, and every number is kept within a day.
int pomodoroMinutes(std::string_view typed) {
    const std::string text = Text::trimmingWhitespaceAndNewlines(typed);
    if (text.empty()) return defaultPomodoroMinutes;
    std::size_t digits = text.front() == '+' || text.front() == '-' ? 1 : 0;
    if (digits == text.size()) return defaultPomodoroMinutes;
    long long value = 0;
    for (std::size_t i = digits; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return defaultPomodoroMinutes;
        value = value * 10 + (text[i] - '0');
        if (value > 1'000'000'000) return defaultPomodoroMinutes;  // would overflow an int
    }
    if (text.front() == '-') value = -value;
    return static_cast<int>(std::clamp<long long>(value, 1, longestPomodoroMinutes));
}

}  // namespace

void AppDelegate::startDefaultPomodoro() {
    if (pomodoroEndDate_) {
        // The same item stops a running pomodoro, without its end sound.
        endPomodoro();
        updatePomodoroCountdown();
        return;
    }
    startPomodoro(defaultPomodoroMinutes);
}

void AppDelegate::startPomodoro(int minutes) {
    if (pomodoroTimer_) pomodoroTimer_->invalidate();
    pomodoroEndDate_ = AppContext::current().clock().now().addingTimeInterval(minutes * 60.0);
    updatePomodoroCountdown();
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    pomodoroTimer_ = Timer::scheduledTimer(1.0, true, [weakSelf](Timer&) {
        if (auto self = weakSelf.lock()) self->updatePomodoroCountdown();
    });
}

void AppDelegate::startCustomPomodoro() {
    Application::shared().activate(true);
    auto alert = Alert::make();
    alert->messageText = L("自定义番茄时间…");
    alert->informativeText = L("请输入分钟数（1–1440）");
    alert->addButton(L("确定"));
    alert->addButton(L("取消"));
    auto field = TextField::make(std::to_string(defaultPomodoroMinutes));
    field->setFrame({0, 0, 220, 24});
    alert->accessoryView = field;
    if (alert->runModal() != ModalResponses::alertFirstButton) return;
    startPomodoro(pomodoroMinutes(field->stringValue()));
}

void AppDelegate::updatePomodoroCountdown() {
    std::optional<std::string> remaining;
    bool timeIsUp = false;
    if (pomodoroEndDate_) {
        const double left = std::ceil(pomodoroEndDate_->timeIntervalSince(AppContext::current().clock().now()));
        if (left < 1) {
            endPomodoro();
            timeIsUp = true;
        } else {
            const auto seconds = static_cast<long long>(left);
            remaining = formatTemplate("%02d:%02d:%02d", seconds / 3600, (seconds % 3600) / 60, seconds % 60);
        }
    }
    updateStatusBarActivityDisplay();
    updatePomodoroCountdownMenuTitle(remaining);
    if (timeIsUp) {
        DesktopLink::desktop().sounds().playNamed("Glass");
        tomatoReminderPanel_->showReminder();
    }
}

void AppDelegate::updatePomodoroCountdownMenuTitle(const std::optional<std::string>& remaining) {
    if (!pomodoroCountdownMenuItem_) return;
    auto& item = *pomodoroCountdownMenuItem_;
    item.setTitle(remaining ? L("关闭这个番茄闹钟") + " · " + *remaining : L("开启一个番茄闹钟"));
    AttributedString title(item.title(), TextAttributes{.font = Font::systemFont(13, FontWeight::medium),
                                                         .foregroundColor = Color::system(SystemColor::label)});
    if (remaining) {
        if (auto found = title.find(*remaining)) {
            title.setAttributes(*found, TextAttributes{.font = Font::monospacedDigitSystemFont(13, FontWeight::semibold),
                                                       .foregroundColor = Color::system(SystemColor::blue)});
        }
    }
    item.setAttributedTitle(std::move(title));
    item.setEnabled(true);
}

void AppDelegate::endPomodoro() {
    if (pomodoroTimer_) pomodoroTimer_->invalidate();
    pomodoroTimer_.reset();
    pomodoroEndDate_.reset();
}

void AppDelegate::scheduleShutdownFromMenu(const MenuItem& /*sender*/) {}

void AppDelegate::scheduleCustomShutdownFromMenu() {}

void AppDelegate::cancelScheduledShutdownFromMenu() {}

}  // namespace tallowmere
