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
#include "time/shutdown_countdown_panel.h"
#include "time/typed_minutes.h"
#include "platform/system/process_runner.h"
#include "platform/system/user_defaults.h"

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

constexpr int shutdownCountdownSeconds = 20;
constexpr const char* SystemShutdownCommand = "/sbin/shutdown -h now";
constexpr int longestShutdownMinutes = 1440;

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

void AppDelegate::scheduleShutdownFromMenu(const MenuItem& sender) {
    if (sender.tag() < 1) return;
    scheduleShutdown(sender.tag(), false);
}

void AppDelegate::scheduleCustomShutdownFromMenu() {
    auto alert = Alert::make();
    alert->messageText = L("定时关机");
    alert->informativeText = L("请输入分钟数（1–1440）");
    alert->addButton(L("确定"));
    alert->addButton(L("取消"));
    auto field = TextField::make("30");
    field->setFrame({0, 0, 220, 24});
    alert->accessoryView = field;
    if (alert->runModal() != ModalResponses::alertFirstButton) return;
    const auto minutes = typedWholeMinutes(field->stringValue(), longestShutdownMinutes);
    if (!minutes) {
        auto error = Alert::make();
        error->messageText = L("定时关机");
        error->informativeText = L("请输入分钟数（1–1440）");
        error->addButton(L("确定"));
        error->runModal();
        return;
    }
    scheduleShutdown(*minutes, true);
}

void AppDelegate::cancelScheduledShutdownFromMenu() {
    shutdownCountdownPanel_->cancel();
    if (scheduledShutdownTimer_) scheduledShutdownTimer_->invalidate();
    scheduledShutdownTimer_.reset();
    scheduledShutdownDate_.reset();
    scheduledShutdownSelectedMinutes_.reset();
    scheduledShutdownIsCustom_ = false;
    UserDefaults::standard().removeObject(scheduledShutdownDateKey);
    updateStatusBarActivityDisplay();
}

void AppDelegate::scheduleShutdown(int minutes, bool isCustom) {
    shutdownCountdownPanel_->cancel();
    if (scheduledShutdownTimer_) scheduledShutdownTimer_->invalidate();
    scheduledShutdownDate_ = AppContext::current().clock().now().addingTimeInterval(minutes * 60.0);
    scheduledShutdownSelectedMinutes_ = minutes;
    scheduledShutdownIsCustom_ = isCustom;
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    scheduledShutdownTimer_ = Timer::scheduledTimer(*scheduledShutdownDate_, [weakSelf](Timer&) {
        auto self = weakSelf.lock();
        if (!self) return;
        self->scheduledShutdownTimer_.reset();
        self->scheduledShutdownDate_.reset();
        self->scheduledShutdownSelectedMinutes_.reset();
        self->scheduledShutdownIsCustom_ = false;
        self->updateStatusBarActivityDisplay();
        self->shutdownCountdownPanel_->show(shutdownCountdownSeconds, [weakSelf] {
            auto owner = weakSelf.lock();
            if (!owner) return;
            owner->runAdministratorCommand(SystemShutdownCommand, [](bool succeeded) {
                // The person refused the password or the command failed:
                // say so, rather than leave them waiting for a shutdown.
                if (succeeded) return;
                auto alert = Alert::make();
                alert->messageText = L("定时关机");
                alert->informativeText = L("关机未能执行。");
                alert->addButton(L("确定"));
                alert->runModal();
            });
        });
    });
    updateStatusBarActivityDisplay();
}

void AppDelegate::runAdministratorCommand(const std::string& command, std::function<void(bool succeeded)> completion) {
    std::string escaped;
    for (char c : command) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    const std::string source = "do shell script \"" + escaped + "\" with administrator privileges";
    auto started = ProcessRunner::start({.executable = "/usr/bin/osascript", .arguments = {"-e", source}},
                                        [completion](const ProcessResult& result) {
                                            if (completion) completion(result.succeeded());
                                        });
    if (!started) {
        auto alert = Alert::make();
        alert->messageText = L("定时关机");
        alert->informativeText = started.error().message;
        alert->addButton(L("确定"));
        alert->runModal();
        return;
    }
    shutdownProcess_ = *started;
}

}  // namespace tallowmere
