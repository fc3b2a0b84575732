#include "menubar/default_input_source_controller.h"

#include <algorithm>
#include <set>

#include "app/persistent_configuration.h"
#include "localization/interface_language.h"
#include "platform/base/format.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/work_item.h"
#include "platform/system/system_log.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/alert.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu_item.h"

namespace tallowmere {

using namespace platform;

namespace {

std::optional<std::string> storedIdentifier() { return UserDefaults::standard().string(DefaultInputSourceController::preferenceKey); }

std::optional<DefaultInputSourceController::Source> findSource(
    const std::vector<DefaultInputSourceController::Source>& sources, const std::string& id) {
    const auto found = std::find_if(sources.begin(), sources.end(), [&](const auto& source) { return source.id == id; });
    if (found == sources.end()) return std::nullopt;
    return *found;
}

}  // namespace

DefaultInputSourceController& DefaultInputSourceController::shared() {
    return AppContext::current().shared<DefaultInputSourceController>();
}

DefaultInputSourceController::~DefaultInputSourceController() {
    if (pendingApplication_) pendingApplication_->cancel();
    if (started_ && AppContext::hasCurrent() && AppContext::current().sharedIfMade<Desktop>()) {
        DesktopLink::desktop().workspace().notificationCenter().removeObserver(activationObserver_);
    }
}

void DefaultInputSourceController::start() {
    if (started_) return;
    started_ = true;
    const std::weak_ptr<DefaultInputSourceController> weakSelf = weak_from_this();
    activationObserver_ = DesktopLink::desktop().workspace().notificationCenter().addObserver(
        Workspace::didActivateApplicationNotification, nullptr, [weakSelf](const Notification&) {
            if (auto self = weakSelf.lock()) self->scheduleApplication();
        });
    scheduleApplication();
}

void DefaultInputSourceController::cancelPendingApplication() {
    ++generation_;
    if (pendingApplication_) pendingApplication_->cancel();
    pendingApplication_.reset();
}

void DefaultInputSourceController::scheduleApplication() {
    cancelPendingApplication();
    const auto identifier = storedIdentifier();
    if (!identifier) return;
    const auto front = DesktopLink::desktop().workspace().frontmostApplication();
    if (!front) return;
    const pid_t pid = front->processIdentifier();
    const int generation = generation_;
    const std::weak_ptr<DefaultInputSourceController> weakSelf = weak_from_this();
    // Switches in quick succession collapse into one selection after the
    // last; an application that lost the front meanwhile gets none.
    pendingApplication_ = WorkItem::make([weakSelf, generation, identifier = *identifier, pid] {
        auto self = weakSelf.lock();
        if (!self || self->generation_ != generation || storedIdentifier() != identifier) return;
        auto& desktop = DesktopLink::desktop();
        const auto front = desktop.workspace().frontmostApplication();
        if (!front || front->processIdentifier() != pid) return;
        self->pendingApplication_.reset();
        if (!findSource(self->enabledSources(), identifier)) return;
        if (const int status = desktop.inputSources().select(identifier); status != 0) {
            SystemLog::shared().log(formatTemplate("Default input source selection failed: %d", status));
        }
    });
    AppContext::current().mainQueue().asyncAfter(applicationDelay, pendingApplication_);
}

std::vector<DefaultInputSourceController::Source> DefaultInputSourceController::enabledSources() const {
    std::vector<Source> sources;
    std::set<std::string> seen;
    for (const auto& source : DesktopLink::desktop().inputSources().list(true, true, true)) {
        if (source.id.empty() || source.localizedName.empty() || !seen.insert(source.id).second) continue;
        sources.push_back({source.id, source.localizedName});
    }
    std::sort(sources.begin(), sources.end(), [](const Source& a, const Source& b) {
        const auto order = Text::compareNumeric(a.name, b.name);
        if (order != 0) return order < 0;
        return a.id < b.id;
    });
    return sources;
}

std::shared_ptr<MenuItem> DefaultInputSourceController::makeMenuItem() {
    const auto identifier = storedIdentifier();
    std::string suffix;
    if (!identifier) {
        suffix = InterfaceLanguage::text("跟随系统");
    } else if (const auto source = findSource(enabledSources(), *identifier)) {
        suffix = source->name;
    } else {
        suffix = InterfaceLanguage::text("所选输入法未启用");
    }
    auto item = MenuItem::make(InterfaceLanguage::text("默认输入法") + " · " + suffix);
    item->setImage(symbolImage("keyboard", InterfaceLanguage::text("默认输入法")));
    auto submenu = Menu::make();
    submenu->autoenablesItems = false;
    submenu->setDelegate(weak_from_this());
    populate(*submenu);
    item->setSubmenu(submenu);
    return item;
}

void DefaultInputSourceController::menuNeedsUpdate(Menu& menu) { populate(menu); }

void DefaultInputSourceController::populate(Menu& menu) {
    menu.removeAllItems();
    const auto identifier = storedIdentifier();
    const std::weak_ptr<DefaultInputSourceController> weakSelf = weak_from_this();
    const auto act = [weakSelf](void (DefaultInputSourceController::*method)(MenuItem&)) {
        return [weakSelf, method](MenuItem& sender) {
            if (auto self = weakSelf.lock()) ((*self).*method)(sender);
        };
    };
    auto follow = menu.addItem(L("跟随系统（不自动切换）"), act(&DefaultInputSourceController::followSystem));
    follow->setState(identifier ? MenuItemState::off : MenuItemState::on);
    menu.addSeparator();
    const auto sources = enabledSources();
    for (const auto& source : sources) {
        auto item = menu.addItem(source.name, act(&DefaultInputSourceController::selectSource));
        item->setRepresentedObject(source.id);
        item->setState(source.id == identifier ? MenuItemState::on : MenuItemState::off);
    }
    if (sources.empty()) menu.addItem(L("未找到已启用且可选择的输入法"))->setEnabled(false);
    if (identifier && !findSource(sources, *identifier)) {
        // Kept, and shown, so the person sees why nothing is re-selected.
        const auto name = UserDefaults::standard().string(nameKey).value_or(L("原默认输入法"));
        auto vanished = menu.addItem(name + " · " + L("已停用或不可用"));
        vanished->setEnabled(false);
        vanished->setState(MenuItemState::on);
    }
    menu.addSeparator();
    for (const char* line : {"启动和切换应用时自动使用", "手动切换保留至下次切换应用", "仅切换输入源；拼音或英文模式由输入法决定"}) {
        menu.addItem(L(line))->setEnabled(false);
    }
}

void DefaultInputSourceController::selectSource(MenuItem& item) {
    const auto* identifier = item.representedObjectAs<std::string>();
    if (!identifier) return;
    cancelPendingApplication();
    const auto source = findSource(enabledSources(), *identifier);
    if (source && DesktopLink::desktop().inputSources().select(source->id) == 0) {
        auto& defaults = UserDefaults::standard();
        defaults.set(preferenceKey, PropertyValue(source->id));
        defaults.set(nameKey, PropertyValue(source->name));
        persist();
        if (auto menu = item.menu()) populate(*menu);
        scheduleApplication();
        return;
    }
    // Nothing is stored: the previous default stays.
    AppContext::current().mainQueue().async([] {
        auto alert = Alert::make();
        alert->messageText = L("无法切换到该输入法");
        alert->informativeText = L("请确认该输入法仍已启用，且系统当前允许切换。原默认设置未更改。");
        alert->addButton(L("好"));
        alert->runModal();
    });
}

void DefaultInputSourceController::followSystem(MenuItem& item) {
    cancelPendingApplication();
    auto& defaults = UserDefaults::standard();
    defaults.removeObject(preferenceKey);
    defaults.removeObject(nameKey);
    persist();
    if (auto menu = item.menu()) populate(*menu);
}

void DefaultInputSourceController::persist() const { PersistentConfiguration::shared().persistNow(); }

}  // namespace tallowmere
