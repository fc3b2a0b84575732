#include "time/countdown_lock_controller.h"

#include <algorithm>
#include <cmath>

#include "platform/base/format.h"
#include "platform/base/text.h"
#include "platform/desktop/screen_lock_service.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace.h"
#include "platform/gfx/attributed_string.h"
#include "platform/gfx/font.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/serial_queue.h"
#include "platform/system/process_runner.h"
#include "platform/runtime/timer.h"
#include "platform/ui/alert.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "time/typed_minutes.h"
#include "platform/ui/menu.h"
#include "platform/ui/text_field.h"
#include "time/lock_settings_rows.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr const char* alertTitle = "倒计时锁屏";
constexpr const char* lockSettingsURL = "x-apple.systempreferences:com.apple.Lock-Screen-Settings.extension";

Date now() { return AppContext::current().clock().now(); }

bool isPreset(int minutes) {
    return std::find(std::begin(CountdownLockController::presetMinutes), std::end(CountdownLockController::presetMinutes),
                     minutes) != std::end(CountdownLockController::presetMinutes);
}

std::string remainingText(Date deadline) {
    const auto seconds = static_cast<long long>(std::max(0.0, std::ceil(deadline.timeIntervalSince(now()))));
    return formatTemplate("%02d:%02d:%02d", seconds / 3600, (seconds / 60) % 60, seconds % 60);
}

}  // namespace

CountdownLockController& CountdownLockController::shared() {
    return AppContext::current().shared<CountdownLockController>();
}

CountdownLockController::CountdownLockController()
    : settingsQueue_(std::make_unique<SerialQueue>(settingsQueueLabel)),
      loginFrameworkLoaded_(ScreenLockService::shared().isAvailable) {}

CountdownLockController::~CountdownLockController() {
    if (timer_) timer_->invalidate();
}

std::optional<std::string> CountdownLockController::command(const std::string& path,
                                                            const std::vector<std::string>& arguments) {
    auto result = ProcessRunner::run(ProcessRequest{.executable = path,
                                                    .arguments = arguments,
                                                    .output = ProcessOutput::merged,
                                                    .timeout = readerTimeLimit});
    if (!result.ok() || !result->succeeded() || !Text::isValidUtf8(result->standardOutput)) return std::nullopt;
    return std::move(result->standardOutput);
}

void CountdownLockController::refreshSystemSettings() {
    if (isRefreshingSettings_) return;
    isRefreshingSettings_ = true;
    settingsQueue_->async([] {
        auto rows = LockSettingsRows::all(command("/usr/bin/pmset", {"-g", "custom"}),
                                          command("/usr/bin/defaults", {"-currentHost", "read", "com.apple.screensaver", "idleTime"}),
                                          command("/usr/sbin/sysadminctl", {"-screenLock", "status"}));
        AppContext::current().mainQueue().async([rows = std::move(rows)]() mutable {
            auto& controller = CountdownLockController::shared();
            controller.systemRows_ = std::move(rows);
            controller.isRefreshingSettings_ = false;
            controller.updateMenu();
        });
    });
}

std::string CountdownLockController::title() const {
    return deadline_ ? std::string("倒计时锁屏 · ") + remainingText(*deadline_) : "倒计时锁屏 · 未启用";
}

std::shared_ptr<MenuItem> CountdownLockController::makeMenuItem() {
    auto item = MenuItem::make(title());
    item->setImage(symbolImage("lock", "倒计时锁屏"));
    item->setState(isRunning() ? MenuItemState::on : MenuItemState::off);
    auto submenu = Menu::make();
    submenu->autoenablesItems = false;
    item->setSubmenu(submenu);
    menuItem_ = item;
    applyTitle(*item);
    populate(*submenu);
    refreshSystemSettings();
    return item;
}

void CountdownLockController::applyTitle(MenuItem& item) const {
    const std::string text = title();
    item.setTitle(text);
    AttributedString attributed(text, TextAttributes{.foregroundColor = Color::system(SystemColor::label)});
    if (deadline_) {
        const std::string remaining = remainingText(*deadline_);
        const auto found = text.rfind(remaining);
        if (found != std::string::npos) {
            attributed.setAttributes({found, remaining.size()},
                                     TextAttributes{.font = Font::monospacedDigitSystemFont(13, FontWeight::semibold),
                                                    .foregroundColor = Color::system(SystemColor::blue)});
        }
    }
    item.setAttributedTitle(std::move(attributed));
}

void CountdownLockController::populate(Menu& menu) {
    menu.removeAllItems();
    // Items call the shared controller again rather than holding it.
    for (int minutes : presetMinutes) {
        auto preset = menu.addItem(minutes == 60 ? std::string("1 小时后锁屏") : std::to_string(minutes) + " 分钟后锁屏",
                                   [](MenuItem& sender) { CountdownLockController::shared().selectDuration(sender.tag()); });
        preset->setTag(minutes);
        preset->setState(isRunning() && selectedMinutes_ == minutes ? MenuItemState::on : MenuItemState::off);
    }
    auto custom = menu.addItem("自定义时间", [](MenuItem&) { CountdownLockController::shared().customDuration(); });
    custom->setState(isRunning() && selectedMinutes_ && !isPreset(*selectedMinutes_) ? MenuItemState::on
                                                                                       : MenuItemState::off);
    auto cancel = menu.addItem("取消倒计时锁屏", [](MenuItem&) { CountdownLockController::shared().cancelCountdown(); });
    cancel->setEnabled(isRunning());
    menu.addSeparator();
    for (const auto& row : systemRows_) menu.addItem(row)->setEnabled(false);
    menu.addItem("打开系统锁屏设置", [](MenuItem&) { CountdownLockController::shared().openSettings(); });
    menu.addSeparator();
    menu.addItem("从现在计时；退出应用将取消")->setEnabled(false);
}

void CountdownLockController::selectDuration(int minutes) { start(minutes); }

void CountdownLockController::customDuration() {
    Application::shared().activate(true);
    auto alert = Alert::make();
    alert->messageText = alertTitle;
    alert->informativeText = "输入从现在开始的分钟数（1–1440）。到时锁定电脑，不会关闭正在运行的应用。";
    auto field = TextField::make("30");
    field->setFrame({0, 0, 260, 26});
    alert->accessoryView = field;
    alert->addButton("开始倒计时");
    alert->addButton("取消");
    if (auto window = alert->window()) window->makeFirstResponder(field);
    if (alert->runModal() != ModalResponses::alertFirstButton) return;
    if (const auto minutes = typedWholeMinutes(field->stringValue(), longestMinutes)) {
        start(*minutes);
    } else {
        showAlert("请输入 1–1440 之间的整数分钟数。");
    }
}

void CountdownLockController::start(int minutes) {
    if (minutes < 1 || minutes > longestMinutes) return;
    if (!loginFrameworkLoaded_ || !ScreenLockService::shared().lockFunction()) {
        showAlert("当前系统的锁屏接口不可用，未启动倒计时。请使用系统锁屏功能。");
        return;
    }
    if (timer_) timer_->invalidate();
    deadline_ = now().addingTimeInterval(minutes * 60.0);
    selectedMinutes_ = minutes;
    timer_ = Timer::scheduledTimer(1.0, true, [](Timer&) { CountdownLockController::shared().tick(); });
    updateMenu();
}

void CountdownLockController::tick() {
    if (!deadline_) return;
    if (deadline_->timeIntervalSince(now()) > 0) {
        if (auto item = menuItem_.lock()) applyTitle(*item);
        return;
    }
    if (auto item = menuItem_.lock()) {
        if (auto menu = item->menu()) menu->cancelTracking();
    }
    cancelCountdown();
    // Only the screen is locked: running applications are left as they are.
    auto lock = loginFrameworkLoaded_ ? ScreenLockService::shared().lockFunction() : std::nullopt;
    if (!lock) {
        showAlert("锁屏接口不可用，请手动锁屏。");
    } else if ((*lock)() != 0) {
        showAlert("系统未能执行锁屏，请手动锁屏。");
    }
}

void CountdownLockController::cancelCountdown() {
    if (timer_) timer_->invalidate();
    timer_.reset();
    deadline_.reset();
    selectedMinutes_.reset();
    updateMenu();
}

void CountdownLockController::updateMenu() {
    auto item = menuItem_.lock();
    if (!item) return;
    item->setState(isRunning() ? MenuItemState::on : MenuItemState::off);
    applyTitle(*item);
    if (auto submenu = item->submenu()) populate(*submenu);
}

void CountdownLockController::openSettings() { DesktopLink::desktop().workspace().openURL(lockSettingsURL); }

void CountdownLockController::showAlert(std::string text) const {
    Application::shared().activate(true);
    auto alert = Alert::make();
    alert->messageText = alertTitle;
    alert->informativeText = std::move(text);
    alert->addButton("好");
    alert->runModal();
}

}  // namespace tallowmere
