// The status menu, rebuilt in full each time it is about to open so that
// every title, mark and submenu shows the state of that moment.
#include "app/app_delegate.h"
#include "app/launch_at_login_manager.h"
#include "app/menu_item_styling.h"
#include "app/status_menu_links.h"
#include "app/status_menu_titles.h"
#include "hosts/hosts_editor_controller.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "menubar/default_input_source_controller.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/bundle_image.h"
#include "platform/gfx/image.h"
#include "platform/runtime/app_context.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "quicklaunch/net_ease_music_icon.h"
#include "quicklaunch/new_file_type.h"
#include "screen/blackboard_window_controller.h"
#include "screen/color_picker_controller.h"
#include "screen/display_brightness_controller.h"
#include "screen/screenshot_controller.h"
#include "time/countdown_day_controller.h"
#include "time/countdown_lock_controller.h"
#include "time/meeting_break_countdown_controller.h"
#include "toys/disco_light_show_controller.h"
#include "toys/fly_simulation_controller.h"
#include "toys/symbol_library_controller.h"
#include "webpanel/menu_bar_web_controller.h"
#include "windows/layout_store.h"
#include "windows/window_pin_controller.h"

namespace tallowmere {

using namespace platform;

namespace {

std::string brand(std::string_view chinese, std::string_view english) {
    return ProductIdentity::localizedBrand(chinese, english);
}

std::string withProductName(std::string_view key) {
    return L(key) + " " + std::string(ProductIdentity::localizedName());
}

// A controller's menu action, reaching its process-wide instance when chosen.
template <class Controller>
MenuItem::Action sharedAction(void (Controller::*method)(MenuItem&)) {
    return [method](MenuItem& sender) { (Controller::shared().*method)(sender); };
}

std::shared_ptr<MenuItem> addItem(Menu& menu, std::string title, MenuItem::Action action = {},
                                  std::optional<Image> icon = std::nullopt) {
    auto item = menu.addItem(std::move(title), std::move(action));
    if (icon) item->setImage(std::move(icon));
    return item;
}

Image symbolIcon(std::string_view name, std::string_view description) { return unifiedMenuIcon(name, description); }

// A submenu titled like the item that holds it.
std::shared_ptr<Menu> attachSubmenu(MenuItem& item) {
    auto submenu = Menu::make(item.title());
    item.setSubmenu(submenu);
    return submenu;
}

// The items that need Accessibility say so while it is not granted; the
// note is drawn in the system blue so it reads as a hint, not as the name.
void addPermissionSuffix(MenuItem& item, bool trusted) {
    if (trusted) return;
    const std::string suffix = "（" + L("需授权") + "）";
    AttributedString title(item.title() + suffix, TextAttributes{.foregroundColor = Color::system(SystemColor::label)});
    if (auto found = title.findLast(suffix)) title.setForegroundColor(*found, Color::system(SystemColor::blue));
    item.setAttributedTitle(std::move(title));
}

std::optional<Image> bundleIcon(std::string_view name, std::string_view type) {
    auto image = bundleImage(name, type);
    if (!image) return std::nullopt;
    image->setSize({16, 16});
    return image;
}

}  // namespace

MenuItem::Action AppDelegate::action(void (AppDelegate::*method)()) {
    return [weakSelf = weak_from_this(), method](MenuItem&) {
        if (auto self = weakSelf.lock()) ((*self).*method)();
    };
}

MenuItem::Action AppDelegate::action(void (AppDelegate::*method)(MenuItem&)) {
    return [weakSelf = weak_from_this(), method](MenuItem& sender) {
        if (auto self = weakSelf.lock()) ((*self).*method)(sender);
    };
}

MenuItem::Action AppDelegate::action(void (AppDelegate::*method)(const MenuItem&)) {
    return [weakSelf = weak_from_this(), method](MenuItem& sender) {
        if (auto self = weakSelf.lock()) ((*self).*method)(sender);
    };
}

void AppDelegate::rebuildStatusMenu() {
    if (!mainStatusMenu_) return;
    Menu& menu = *mainStatusMenu_;
    menu.removeAllItems();

    addItem(menu, L("打开主界面"), action(&AppDelegate::showMainWindow));
    addItem(menu, withProductName("关于"), action(&AppDelegate::showAboutFromMenu));
    menu.addSeparator();
    addTimerItems(menu);
    menu.addSeparator();
    addWorkspaceItems(menu);
    menu.addSeparator();
    addToolItems(menu);
    menu.addSeparator();
    addSwitchItems(menu);
    menu.addSeparator();
    addProjectionItem(menu);

    const std::string meetingTitle = brand("会议休息倒计时", "Meeting Break Timer");
    auto meetingBreak = addItem(menu, meetingTitle, {}, symbolIcon("timer", meetingTitle));
    {
        auto submenu = attachSubmenu(*meetingBreak);
        for (int minutes : {10, 15, 20, 30}) {
            auto preset = addItem(*submenu, std::to_string(minutes) + brand(" 分钟", " minutes"),
                                  sharedAction(&MeetingBreakCountdownController::startFromMenu));
            preset->setTag(minutes);
        }
        addItem(*submenu, brand("自定义…", "Custom..."),
                sharedAction(&MeetingBreakCountdownController::startCustomFromMenu));
        if (MeetingBreakCountdownController::shared().isRunning()) {
            submenu->addSeparator();
            addItem(*submenu, brand("结束倒计时", "Stop Timer"),
                    sharedAction(&MeetingBreakCountdownController::stopFromMenu));
        }
    }

    auto board = addItem(menu, brand("小黑板", "Blackboard"));
    Image boardIcon = Image::withHandler({18, 18}, boardMenuIcon());
    boardIcon.setTemplate(true);
    board->setImage(std::move(boardIcon));
    {
        auto submenu = attachSubmenu(*board);
        const auto& presets = BlackboardWindowController::presetTexts;
        for (std::size_t index = 0; index < presets.size(); ++index) {
            auto preset = addItem(*submenu, std::string(presets[index]),
                                  sharedAction(&BlackboardWindowController::showPresetFromMenu));
            preset->setTag(static_cast<int>(index));
        }
        submenu->addSeparator();
        addItem(*submenu, brand("自定义", "Custom"), sharedAction(&BlackboardWindowController::openFromMenu));
    }
    menu.addSeparator();

    addKeepAwakeItem(menu);
    auto lock = CountdownLockController::shared().makeMenuItem();
    lock->setImage(symbolIcon("lock", lock->title()));
    menu.addItem(lock);
    addShutdownItem(menu);
    menu.addSeparator();

    menu.addItem(DefaultInputSourceController::shared().makeMenuItem());
    menu.addItem(DisplayBrightnessController::shared().makeMenuItem());
    auto launchAtLogin = addItem(menu, L("登录时自动启动"), action(&AppDelegate::toggleLaunchAtLoginFromMenu));
    launchAtLogin->setState(LaunchAtLoginManager::isEnabled() ? MenuItemState::on : MenuItemState::off);
    menu.addSeparator();
    addItem(menu, withProductName("退出应用"), action(&AppDelegate::quit))->setKeyEquivalent("q");

    removeEllipsesFromMenuTitles(menu);
    normalizeMenuIconSizes(menu);
}

void AppDelegate::addTimerItems(Menu& menu) {
    const std::string start = L("开启一个番茄闹钟");
    pomodoroCountdownMenuItem_ = addItem(menu, start, action(&AppDelegate::startDefaultPomodoro),
                                         symbolIcon("timer", start));
    const std::string custom = L("自定义番茄时间…");
    addItem(menu, custom, action(&AppDelegate::startCustomPomodoro), blankMenuIcon());
    updatePomodoroCountdown();
}

void AppDelegate::addWorkspaceItems(Menu& menu) {
    const bool trusted = DesktopLink::desktop().accessibility().isProcessTrusted();
    const bool workspaceEnabled = trusted && WorkspaceMemoryPreference::isEnabled();

    auto save = addItem(menu, L("保存工作区位置…"), action(&AppDelegate::saveWorkspaceFromMenu),
                        symbolIcon("rectangle.on.rectangle", L("保存工作区位置…")));
    save->setKeyEquivalent("s");
    save->setEnabled(workspaceEnabled);
    addPermissionSuffix(*save, trusted);

    auto restore = addItem(menu, L("恢复工作区位置"), {}, blankMenuIcon());
    restore->setEnabled(workspaceEnabled);
    auto layouts = attachSubmenu(*restore);
    addPermissionSuffix(*restore, trusted);
    for (const auto& layout : layoutStore_->layouts) {
        auto item = addItem(*layouts, layout.name, action(&AppDelegate::restoreWorkspaceFromMenu));
        item->setRepresentedObject(layout.id.uuidString());
        item->setEnabled(workspaceEnabled);
    }
    if (layoutStore_->layouts.empty()) addItem(*layouts, L("暂无已保存布局"))->setEnabled(false);

    const auto& pinned = windowPinController_->pinnedWindow;
    auto pin = addItem(menu,
                       pinned ? L("取消钉住窗口") + " · " + pinned->title : L("钉住当前窗口（只读镜像）"),
                       action(&AppDelegate::togglePinnedWindowFromMenu));
    pin->setImage(symbolIcon("pin", pin->title()));
    pin->setState(pinned ? MenuItemState::on : MenuItemState::off);
    pin->setToolTip(L("只读截图镜像，不能操作原窗口。"));
}

void AppDelegate::addToolItems(Menu& menu) {
    const std::string screenshotTitle = brand("截图", "Screenshot");
    auto screenshot = addItem(menu, screenshotTitle, sharedAction(&ScreenshotController::capture),
                              symbolIcon("viewfinder", screenshotTitle));
    screenshot->setKeyEquivalentModifierMask(ModifierFlags{});
    const std::string pickerTitle = brand("取色器", "Color Picker");
    addItem(menu, pickerTitle, sharedAction(&ColorPickerController::pickFromMenu), symbolIcon("eyedropper", pickerTitle));
    auto history = addItem(menu, brand("取色历史", "Color History"), {}, blankMenuIcon());
    history->setSubmenu(ColorPickerController::shared().makeHistoryMenu());
    const std::string hostsTitle = brand("Hosts 编辑", "Edit Hosts");
    addItem(menu, hostsTitle, action(&AppDelegate::showHostsEditorFromMenu), symbolIcon("network", hostsTitle));
    auto hostsProfiles = addItem(menu, brand("Hosts 快速选择", "Switch Hosts Profile"), {}, blankMenuIcon());
    hostsProfiles->setSubmenu(HostsEditorController::shared().makeQuickSelectionMenu());

    const bool trusted = DesktopLink::desktop().accessibility().isProcessTrusted();
    const std::string newFileTitle = L("新建文件");
    auto newFile = addItem(menu, newFileTitle, {}, symbolIcon("doc.badge.plus", newFileTitle));
    auto types = attachSubmenu(*newFile);
    for (NewFileType type : NewFilePreferences::selectedTypes()) {
        auto item = addItem(*types, "." + std::string(rawValue(type)), action(&AppDelegate::createDesktopFileFromMenu));
        item->setRepresentedObject(std::string(rawValue(type)));
    }
    const std::string copyTitle = L("复制地址");
    auto copyPath = addItem(menu, copyTitle, action(&AppDelegate::copyPathFromMenu), symbolIcon("doc.on.doc", copyTitle));
    addPermissionSuffix(*copyPath, trusted);
    menu.addSeparator();

    auto music = addItem(menu, L("来点儿音乐"), {}, netEaseMusicIcon(16));
    auto scenes = attachSubmenu(*music);
    int tag = 0;
    for (std::string_view scene : {"安静工作", "平静的一天", "被裁员了"}) {
        auto item = addItem(*scenes, L(scene), action(&AppDelegate::openWorkSceneMusicFromMenu), netEaseMusicIcon(16));
        item->setTag(tag++);
    }

    Image aiIcon = Image::withHandler({16, 16}, aiMenuTextIcon());
    aiIcon.setAccessibilityDescription("AI 导航");
    auto ai = addItem(menu, L("AI导航"), {}, aiIcon);
    auto services = attachSubmenu(*ai);
    for (std::size_t index = 0; index < aiNavigationServices.size(); ++index) {
        const auto& service = aiNavigationServices[index];
        auto item = addItem(*services, brand(service.chineseTitle, service.englishTitle),
                            action(&AppDelegate::openAINavigationFromMenu),
                            bundleIcon(service.iconResource, service.iconType));
        item->setTag(static_cast<int>(index));
    }
    services->addSeparator();
    addItem(*services, L("一键全打开"), action(&AppDelegate::openAllAINavigationFromMenu));

    menu.addItem(MenuBarWebController::shared().makeMenuItem());
    auto countdown = addItem(menu, "", action(&AppDelegate::showCountdownFromMenu),
                             symbolIcon("calendar.badge.clock", "倒数日"));
    countdown->setEnabled(true);
    CountdownDayController::shared().bindMenuItem(countdown);
    addItem(menu, "Emoji", sharedAction(&SymbolLibraryController::showLibraryInWindow),
            symbolIcon("face.smiling", "Emoji"));
    menu.addSeparator();

    addItem(menu, brand("召唤10只work buddy", "Show 10 Desktop Buddies"),
            sharedAction(&FlySimulationController::summonTenRandomBuddies), menuEmojiImage("🐛"));
    addItem(menu, brand("让它们回家", "Send Buddies Home"), sharedAction(&FlySimulationController::sendAllBuddiesHome),
            blankMenuIcon());
    addItem(menu, brand("让它们消失", "Hide All Buddies"),
            sharedAction(&FlySimulationController::dismissAllBuddiesImmediately), blankMenuIcon());
    menu.addSeparator();
    addItem(menu, brand("召唤灯球", "Show Disco Ball"), sharedAction(&DiscoLightShowController::presentLauncherFromMenu),
            menuEmojiImage("🪩"));
}

void AppDelegate::addSwitchItems(Menu& menu) {
    const StatusMenuTitles& titles = StatusMenuTitles::current();
    const std::string mediaTitle = brand("状态栏播放器控件", "Menu Bar Player Controls");
    auto media = addItem(menu, mediaTitle, action(&AppDelegate::toggleMediaControlsFromMenu),
                         symbolIcon("play.circle", mediaTitle));
    media->setState(mediaControlsEnabled_ ? MenuItemState::on : MenuItemState::off);
    media->setEnabled(true);
    auto network = addItem(menu, std::string(titles.networkTraffic), action(&AppDelegate::toggleNetworkTrafficFromMenu),
                           symbolIcon("arrow.up.arrow.down", titles.networkTraffic));
    network->setState(networkTrafficEnabled_ ? MenuItemState::on : MenuItemState::off);
    auto proxy = addItem(menu, (proxyTrafficEnabled_ ? "✓  " : "") + std::string(titles.proxyTraffic),
                         action(&AppDelegate::toggleProxyTrafficFromMenu), blankMenuIcon());
    proxyTrafficMenuItem_ = proxy;
    refreshProxyTrafficMenuItem(*proxy);
    menu.addSeparator();
    const std::string calendarTitle = brand("日历", "Calendar");
    auto calendar = addItem(menu, calendarTitle, action(&AppDelegate::toggleCalendarDisplayFromMenu),
                            symbolIcon("calendar", calendarTitle));
    calendar->setState(calendarEnabled_ ? MenuItemState::on : MenuItemState::off);
}

void AppDelegate::refreshProxyTrafficMenuItem(MenuItem& item) {
    const StatusMenuTitles& titles = StatusMenuTitles::current();
    const std::string title = (proxyTrafficEnabled_ ? "✓  " : "") + std::string(titles.proxyTraffic);
    item.setState(MenuItemState::off);
    item.setEnabled(networkTrafficEnabled_);
    // A mark drawn in the title rather than the check column: the switch
    // stays readable while it is disabled along with network traffic.
    const Color color = Color::system(networkTrafficEnabled_ ? SystemColor::label : SystemColor::disabledControlText);
    item.setAttributedTitle(AttributedString(title, TextAttributes{.font = Font::menuFont(), .foregroundColor = color}));
}

void AppDelegate::addProjectionItem(Menu& menu) {
    const auto displays = onlineDisplayIDs();
    const bool hasSecondDisplay = displays.size() >= 2;
    bool mirroring = false;
    if (hasSecondDisplay) {
        for (DisplayID id : displays) {
            auto screen = DesktopLink::desktop().screens().screen(id);
            if (screen && screen->isMirrored()) mirroring = true;
        }
    }
    const std::string title = hasSecondDisplay
                                  ? brand("投屏模式切换", "Projection Mode")
                                  : brand("投屏模式切换（未连接外接显示器）", "Projection Mode (No External Display)");
    auto projection = addItem(menu, title, {}, symbolIcon("airplayvideo", title));
    projection->setEnabled(hasSecondDisplay);
    auto modes = attachSubmenu(*projection);
    auto mirror = addItem(*modes, brand("镜像显示", "Mirror Displays"), action(&AppDelegate::setProjectionModeFromMenu));
    mirror->setTag(1);
    mirror->setState(mirroring ? MenuItemState::on : MenuItemState::off);
    mirror->setEnabled(hasSecondDisplay && !mirroring);
    auto extend = addItem(*modes, brand("扩展显示", "Extend Displays"), action(&AppDelegate::setProjectionModeFromMenu));
    extend->setTag(0);
    extend->setState(mirroring ? MenuItemState::off : MenuItemState::on);
    extend->setEnabled(hasSecondDisplay && mirroring);
}

void AppDelegate::addKeepAwakeItem(Menu& menu) {
    const std::string alwaysTitle(StatusMenuTitles::current().alwaysAwake);
    const Date now = AppContext::current().clock().now();
    const auto countdown = displayAwakeUntil_ ? exactCountdownText(*displayAwakeUntil_, now) : std::nullopt;
    const std::string prefix = L("保持亮屏") + " · ";

    std::shared_ptr<MenuItem> header;
    if (!displayAwakeActivity_) {
        header = addItem(menu, prefix + L("未启用"));
    } else if (countdown) {
        header = addItem(menu, prefix + *countdown);
        styleCountdownValue(*header, *countdown);
    } else {
        header = addItem(menu, prefix + alwaysTitle);
        styleActiveStatusSuffix(*header);
    }
    header->setEnabled(true);
    header->setImage(symbolIcon("sun.max", header->title()));

    auto submenu = Menu::make(header->title());
    header->setSubmenu(submenu);
    auto always = addItem(*submenu, alwaysTitle, action(&AppDelegate::keepDisplayAwakeAlwaysFromMenu));
    if (displayAwakeActivity_ && !displayAwakeUntil_) styleActiveMenuOption(*always);
    submenu->addSeparator();
    for (auto [title, minutes] : {std::pair{"30 分钟", 30}, {"1 小时", 60}, {"2 小时", 120}, {"4 小时", 240}}) {
        auto preset = addItem(*submenu, L(title), action(&AppDelegate::keepDisplayAwakeFromMenu));
        preset->setTag(minutes);
        if (displayAwakeActivity_ && displayAwakeSelectedMinutes_ == minutes) styleActiveMenuOption(*preset);
    }
    submenu->addSeparator();
    addItem(*submenu, L("取消亮屏"), action(&AppDelegate::cancelKeepDisplayAwakeFromMenu))
        ->setEnabled(displayAwakeActivity_ != nullptr);
}

void AppDelegate::addShutdownItem(Menu& menu) {
    const Date now = AppContext::current().clock().now();
    // A shutdown whose time has passed is over, whatever became of it.
    if (scheduledShutdownDate_ && *scheduledShutdownDate_ <= now) {
        scheduledShutdownDate_.reset();
        UserDefaults::standard().removeObject(scheduledShutdownDateKey);
    }
    const auto countdown = scheduledShutdownDate_ ? exactCountdownText(*scheduledShutdownDate_, now) : std::nullopt;
    auto header = addItem(menu, L("定时关机") + " · " + (countdown ? *countdown : L("未启用")));
    if (countdown) styleCountdownValue(*header, *countdown);
    header->setEnabled(true);
    header->setImage(symbolIcon("power", header->title()));

    auto submenu = Menu::make(header->title());
    header->setSubmenu(submenu);
    for (auto [title, minutes] : {std::pair{"1 小时", 60}, {"2 小时", 120}, {"3 小时", 180}, {"5 小时", 300}}) {
        auto preset = addItem(*submenu, L(title), action(&AppDelegate::scheduleShutdownFromMenu));
        preset->setTag(minutes);
        if (scheduledShutdownDate_ && !scheduledShutdownIsCustom_ && scheduledShutdownSelectedMinutes_ == minutes) {
            styleActiveMenuOption(*preset);
        }
    }
    auto custom = addItem(*submenu, std::string(StatusMenuTitles::current().customShutdown),
                          action(&AppDelegate::scheduleCustomShutdownFromMenu));
    if (scheduledShutdownDate_ && scheduledShutdownIsCustom_) styleActiveMenuOption(*custom);
    submenu->addSeparator();
    addItem(*submenu, L("取消定时关机"), action(&AppDelegate::cancelScheduledShutdownFromMenu))
        ->setEnabled(scheduledShutdownDate_.has_value());
}

std::vector<DisplayID> AppDelegate::onlineDisplayIDs() {
    std::vector<DisplayID> ids;
    for (const auto& display : DesktopLink::desktop().screens().onlineDisplays()) ids.push_back(display->displayID());
    return ids;
}

}  // namespace tallowmere
