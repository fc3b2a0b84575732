// What every switch, check box and pop-up of the main window does: the key
// it stores, the input controller's flag it sets and the status it shows.
#include <algorithm>
#include <set>

#include "app/appearance_preferences.h"
#include "app/application_icon.h"
#include "app/launch_at_login_manager.h"
#include "app/status_bar_icon_preference.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "mainwindow/main_window_controller.h"
#include "platform/base/format.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/alert.h"
#include "platform/ui/desktop_link.h"
#include "quicklaunch/new_file_type.h"
#include "quicklaunch/quick_launch_panel.h"
#include "selection/selvane_preferences.h"
#include "windows/accessibility.h"
#include "windows/input_controller.h"
#include "windows/layout_store.h"
#include "windows/long_press_destination.h"
#include "windows/mouse_snap_palette.h"
#include "windows/selection_bar.h"

namespace tallowmere {

using namespace platform;

namespace {

bool isTrusted() { return DesktopLink::desktop().accessibility().isProcessTrusted(); }

std::string byLanguage(const char* chinese, const char* english) {
    return ProductIdentity::usesChineseDisplayName() ? chinese : english;
}

UserDefaults& defaults() { return UserDefaults::standard(); }

bool isOn(const Control& control) {
    if (const auto* toggle = dynamic_cast<const Switch*>(&control)) return toggle->isOn();
    if (const auto* button = dynamic_cast<const Button*>(&control)) return button->isOn();
    return false;
}

// A check-box list stored as raw values in case order, of which at least
// `minimum` stay chosen. Returns whether anything changed; a box turned off
// below the minimum is set back on.
template <typename Item, std::size_t N>
bool toggleListItem(const Control& sender, const std::array<Item, N>& allItems, std::vector<Item> enabled,
                    std::optional<Item> (*fromRaw)(std::string_view), std::string_view key, std::size_t minimum) {
    const auto item = fromRaw(sender.identifier());
    if (!item) return false;
    const bool on = isOn(sender);
    if (!on && minimum > 0 && enabled.size() <= minimum &&
        std::find(enabled.begin(), enabled.end(), *item) != enabled.end()) {
        if (auto* button = dynamic_cast<Button*>(const_cast<Control*>(&sender))) button->setState(ControlState::on);
        return false;
    }
    std::set<Item> chosen(enabled.begin(), enabled.end());
    if (on) {
        chosen.insert(*item);
    } else if (chosen.size() > minimum) {
        chosen.erase(*item);
    }
    PropertyValue::Array stored;
    for (const auto candidate : allItems) {
        if (chosen.count(candidate)) stored.emplace_back(std::string(rawValue(candidate)));
    }
    defaults().set(key, std::move(stored));
    return true;
}

}  // namespace

void MainWindowController::togglePermissionFeature(const Control& sender) {
    const bool trusted = isTrusted();
    const bool needsPrompt = !trusted && isOn(sender);
    const std::pair<StandardGreenSwitch*, void (MainWindowController::*)()> toggles[] = {
        {gestureSwitch.get(), &MainWindowController::toggleGesture},
        {naturalDirectionSwitch.get(), &MainWindowController::toggleNaturalDirection},
        {mouseSwitch.get(), &MainWindowController::toggleMouse},
        {edgeSnapSwitch.get(), &MainWindowController::toggleEdgeSnap},
        {quickLaunchLongPressSwitch.get(), &MainWindowController::toggleQuickLaunchLongPress},
        {selvaneSwitch.get(), &MainWindowController::toggleSelvane},
        {workspaceMemorySwitch.get(), &MainWindowController::toggleWorkspaceMemory},
    };
    for (const auto& [toggle, method] : toggles) {
        if (toggle == &sender) {
            (this->*method)();
            break;
        }
    }
    applyAccessibilityFeatureState(trusted);
    updateAccessibilitySwitchAppearance(trusted);
    if (!needsPrompt) return;
    DesktopLink::desktop().accessibility().isProcessTrusted(true);
    startPermissionPolling();
    setStatus(formatTemplate(L("请在系统设置中允许 %@，然后返回本应用。"), std::string(ProductIdentity::displayName)));
}

void MainWindowController::toggleGesture() {
    const bool on = gestureSwitch->isOn();
    if (inputController_) {
        inputController_->gestureEnabled = on;
        inputController_->updateGestureMonitor();
    }
    defaults().set("gestureEnabled", on);
    setStatus(on ? L("触控板手势已开启") : L("触控板手势已关闭"));
}

void MainWindowController::toggleNaturalDirection() {
    const bool on = naturalDirectionSwitch->isOn();
    if (inputController_) inputController_->naturalDirectionEnabled = on;
    defaults().set("naturalDirectionEnabled", on);
    setStatus(on ? L("上下手势已使用自然方向") : L("上下手势已关闭自然方向"));
}

void MainWindowController::toggleMouse() {
    const bool on = mouseSwitch->isOn();
    if (inputController_) {
        inputController_->mouseEnabled = on;
        inputController_->updateMouseMonitor();
    }
    defaults().set("mouseEnabled", on);
    setStatus(on ? L("标题栏鼠标布局面板已开启") : L("标题栏鼠标布局面板已关闭"));
}

void MainWindowController::toggleEdgeSnap() {
    const bool on = edgeSnapSwitch->isOn();
    if (inputController_) inputController_->edgeSnapEnabled = on;
    defaults().set("edgeSnapEnabled", on);
    setStatus(on ? L("窗口边缘贴靠已开启") : L("窗口边缘贴靠已关闭"));
}

void MainWindowController::toggleQuickLaunch() {
    const bool on = quickLaunchSwitch->isOn();
    if (inputController_) {
        inputController_->quickLaunchEnabled = on;
        inputController_->updateMouseMonitor();
        if (!on) inputController_->quickLaunchPanel().panel()->orderOut();
    }
    defaults().set(LongPressDestinationPreference::quickLaunchEnabledKey, on);
    setStatus(on ? L("菜单栏快捷启动已开启") : L("菜单栏快捷启动已关闭"));
}

void MainWindowController::toggleWorkspaceMemory() {
    const bool on = workspaceMemorySwitch->isOn();
    defaults().set("workspaceMemoryEnabled", on);
    updateWorkspaceControlsState();
    setStatus(on ? L("窗口记忆已开启") : L("窗口记忆已关闭"));
}

void MainWindowController::toggleQuickLaunchLongPress() {
    const bool on = quickLaunchLongPressSwitch->isOn();
    if (on) {
        LongPressDestinationPreference::set(LongPressDestination::quickLaunch);
    } else if (LongPressDestinationPreference::current() == LongPressDestination::quickLaunch) {
        // A long press given to the selection bar is not this switch's to take back.
        LongPressDestinationPreference::set(LongPressDestination::disabled);
    }
    auto resetLongPress = [this] {
        if (!inputController_) return;
        inputController_->cancelQuickLaunchLongPress();
        inputController_->quickLaunchLongPressTriggered = false;
        inputController_->quickLaunchPanel().panel()->orderOut();
    };
    resetLongPress();
    if (inputController_) inputController_->selvanePanel().hide();
    selvaneLongPressSwitch->setOn(LongPressDestinationPreference::current() == LongPressDestination::selvane);
    if (inputController_) inputController_->quickLaunchLongPressEnabled = on;
    if (!on) resetLongPress();
    setStatus(on ? L("左键长按快捷启动已开启") : L("左键长按快捷启动已关闭"));
}

void MainWindowController::toggleSelvaneLongPress() {
    if (selvaneLongPressSwitch->isOn()) {
        LongPressDestinationPreference::set(LongPressDestination::selvane);
    } else if (LongPressDestinationPreference::current() == LongPressDestination::selvane) {
        LongPressDestinationPreference::set(LongPressDestination::disabled);
    }
    auto resetLongPress = [this] {
        if (!inputController_) return;
        inputController_->cancelQuickLaunchLongPress();
        inputController_->quickLaunchLongPressTriggered = false;
        inputController_->quickLaunchPanel().panel()->orderOut();
    };
    resetLongPress();
    if (inputController_) inputController_->selvanePanel().hide();
    const bool selvane = LongPressDestinationPreference::current() == LongPressDestination::selvane;
    if (selvane) {
        quickLaunchLongPressSwitch->setOn(false);
        if (inputController_) inputController_->quickLaunchLongPressEnabled = false;
        resetLongPress();
    }
    setStatus(selvane ? byLanguage("长按呼出 Selvane 已开启，快捷启动长按已关闭",
                                   "Long-press Selvane is on. Long-press Quick Launch is off.")
                      : byLanguage("长按呼出 Selvane 已关闭", "Long-press Selvane is off."));
}

void MainWindowController::toggleSelvane() {
    const bool on = selvaneSwitch->isOn();
    auto apply = [this](bool enabled) {
        if (inputController_) {
            inputController_->selvaneEnabled = enabled;
            inputController_->updateMouseMonitor();
            if (!enabled) inputController_->selvanePanel().hide();
        }
        defaults().set(SelvanePreferences::enabledKey, enabled);
        defaults().removeObject(SelvanePreferences::legacyEnabledKey);
    };
    if (on && !isTrusted()) {
        // The bar reads other applications' text: without trust it is refused outright.
        selvaneSwitch->setOn(false);
        apply(false);
        presentAccessibilityPermissionPrompt();
        return;
    }
    apply(on);
    setStatus(on ? L("Selvane 已开启") : L("Selvane 已关闭"));
}

void MainWindowController::toggleSelvaneAction(const Control& sender) {
    if (!toggleListItem(sender, allSelvaneActions, SelvanePreferences::enabledActions(), selvaneActionFromRawValue,
                        SelvanePreferences::enabledActionsKey, 1)) {
        return;
    }
    const auto enabled = SelvanePreferences::enabledActions();
    for (const auto& [selvaneAction, box] : selvaneActionButtons) {
        box->setState(std::find(enabled.begin(), enabled.end(), selvaneAction) != enabled.end() ? ControlState::on : ControlState::off);
    }
}

void MainWindowController::toggleSelvaneTool(const Control& sender) {
    if (!toggleListItem(sender, allSelvaneTools, SelvanePreferences::enabledTools(), selvaneToolFromRawValue,
                        SelvanePreferences::enabledToolsKey, 0)) {
        return;
    }
    const auto enabled = SelvanePreferences::enabledTools();
    for (const auto& [tool, box] : selvaneToolButtons) {
        box->setState(std::find(enabled.begin(), enabled.end(), tool) != enabled.end() ? ControlState::on : ControlState::off);
    }
}

void MainWindowController::toggleNewFileType(const Control& sender) {
    if (!toggleListItem(sender, allNewFileTypes, NewFilePreferences::selectedTypes(), newFileTypeFromRawValue,
                        NewFilePreferences::typesKey, 1)) {
        return;
    }
    setStatus(L("新建文件类型已更新"));
}

void MainWindowController::toggleSelvaneChromeStyle(const Control& sender) {
    const bool on = isOn(sender);
    defaults().set("selvaneChromeStyleEnabled", on);
    if (!on) {
        setStatus(byLanguage("已关闭 Chrome 增强读取，保留基础读取",
                             "Enhanced Chrome reading is off. Basic reading remains available."));
        return;
    }
    setStatus(byLanguage("已选择 Chrome 增强读取，请按引导手动设置权限",
                         "Enhanced Chrome reading selected. Follow the setup guide to grant the required permissions."));
    showSelvaneTextStyleGuide();
}

void MainWindowController::showSelvaneTextStyleGuide() {
    auto alert = Alert::make();
    alert->alertStyle = AlertStyle::informational;
    alert->icon = ApplicationIcon::image();
    alert->messageText = byLanguage("文字信息读取 · 开启引导", "Text Details: Setup Guide");
    alert->informativeText = byLanguage(
        "基础读取\n在系统设置 → 隐私与安全性 → 辅助功能中允许塔洛梅。基础读取不需要开启 Chrome 的 JavaScript "
        "开关，但部分页面可能不提供字体、字号、粗细或颜色。\n\nChrome 增强读取（可选）\n1. 在主界面 Selvane "
        "中勾选“Chrome 增强读取”。\n2. 打开 Chrome，在屏幕顶部菜单栏选择：显示 → 开发者 → 允许 Apple 事件中的 "
        "JavaScript。\n英文菜单：View → Developer → Allow JavaScript from Apple Events。\n3. "
        "回到网页重新选中文字。如系统询问是否允许塔洛梅控制 Chrome，选择允许；此前拒绝过，可在系统设置 → "
        "隐私与安全性 → 自动化中允许塔洛梅控制 Google Chrome。未发起过请求时，列表中可能还没有这一项。\n\n通过 "
        "Selvane 的“字体信息”面板查看读取结果。勾选应用内选项不代表上述权限已经开启，也不保证所有网页都能读取。"
        "增强读取的字体为网页 CSS 字体族，字号单位为 px。\n\n安全提示：Chrome 此开关允许获准控制它的应用通过 "
        "Apple 事件执行网页 JavaScript，不只对塔洛梅有效。请按需开启；不再需要时可在同一菜单关闭。"
        "关闭本应用的增强读取不会替你关闭 Chrome 开关。",
        "Basic reading\nAllow Tallowmere in System Settings > Privacy & Security > Accessibility. Basic reading "
        "does not require Chrome's JavaScript option. Some pages may not expose a font, size, weight, or "
        "color.\n\nEnhanced Chrome Reading (Optional)\n1. Select Enhanced Chrome Reading in Selvane settings.\n2. "
        "In Chrome's menu bar, choose View > Developer > Allow JavaScript from Apple Events.\n3. Select the "
        "webpage text again. If macOS asks whether Tallowmere may control Chrome, allow it only if you want this "
        "feature. If you previously denied access, review System Settings > Privacy & Security > Automation. "
        "Chrome may not appear there until a request has been made.\n\nView the results in Selvane's Font Info "
        "panel. Selecting the app option does not grant these permissions or guarantee that every webpage can be "
        "read. Enhanced reading reports CSS font families and font sizes in px.\n\nSecurity: Chrome's option "
        "allows apps with permission to control Chrome to run webpage JavaScript through Apple Events; it is not "
        "limited to Tallowmere. Enable it only when needed. To turn it off, use the same Chrome menu. Turning off "
        "enhanced reading in this app does not turn off Chrome's option.");
    alert->addButton(byLanguage("打开 Chrome", "Open Chrome"));
    alert->addButton(byLanguage("自动化设置", "Automation Settings"));
    alert->addButton(byLanguage("辅助功能设置", "Accessibility Settings"));
    alert->addButton(byLanguage("关闭", "Close"));
    const auto response = alert->runModal();
    auto& workspace = DesktopLink::desktop().workspace();
    if (response == ModalResponses::alertFirstButton) {
        auto chrome = workspace.urlForApplication("com.google.Chrome");
        if (!chrome) {
            setStatus(byLanguage("未找到 Google Chrome，请安装后按开启引导设置",
                                 "Google Chrome was not found. Install it, then follow the setup guide."));
            return;
        }
        std::weak_ptr<MainWindowController> weak = std::static_pointer_cast<MainWindowController>(shared_from_this());
        workspace.openApplication(*chrome, OpenConfiguration{.activates = true},
                                  [weak](Result<std::shared_ptr<RunningApplication>> opened) {
                                      auto self = weak.lock();
                                      if (!self || opened) return;
                                      auto failure = Alert::make();
                                      failure->messageText = opened.error().message;
                                      failure->runModal();
                                      self->setStatus(opened.error().message);
                                      self->refreshPermission();
                                  });
        return;
    }
    const char* anchor = response == ModalResponses::alertSecondButton  ? "Privacy_Automation"
                         : response == ModalResponses::alertThirdButton ? "Privacy_Accessibility"
                                                                        : nullptr;
    if (!anchor) return;
    if (!workspace.openURL(std::string("x-apple.systempreferences:com.apple.preference.security?") + anchor)) {
        setStatus(byLanguage("请手动打开系统设置 → 隐私与安全性，按引导开启权限",
                             "Open System Settings > Privacy & Security and follow the guide to grant permissions."));
    }
}

void MainWindowController::changeThemeMode() {
    const auto index = themePopup->indexOfSelectedItem();
    if (!index || *index >= AppearancePreferences::allThemeModes.size()) return;
    const auto mode = AppearancePreferences::allThemeModes[*index];
    defaults().set(AppearancePreferences::themeModeKey, std::string(AppearancePreferences::rawValue(mode)));
    AppearancePreferences::applyTheme();
    static constexpr const char* titles[] = {"跟随系统", "浅色", "深色"};
    setStatus(formatTemplate(L("外观已切换为：%@"), std::string(L(titles[*index]))));
}

void MainWindowController::changeOutlineColor() {
    AppearancePreferences::setOutlineColor(outlineColorWell->color());
    setStatus(L("框线颜色已更新"));
}

void MainWindowController::changeStatusBarIconStyle() {
    const auto index = statusIconPopup->indexOfSelectedItem();
    if (!index || *index >= StatusBarIconPreference::allStyles.size()) return;
    const auto style = StatusBarIconPreference::allStyles[*index];
    StatusBarIconPreference::setStyle(style);
    updateStatusIconPreview();
    setStatus(formatTemplate(L("状态栏图标已切换为：%@"), StatusBarIconPreference::title(style)));
}

void MainWindowController::selectDialTheme(WindowDialTheme theme) {
    WindowDialThemePreference::store(theme);
    if (inputController_) {
        const auto& palette = inputController_->mousePalette().paletteView();
        palette->setTheme(theme);
        palette->setNeedsDisplay();
    }
    dialThemePreviewView->setTheme(theme);
    dialThemePreviewView->setNeedsDisplay();
    dialThemePopup->selectItem(position(theme));
    setStatus(L("表盘样式已更新"));
}

void MainWindowController::changeDialTheme() {
    const auto index = dialThemePopup->indexOfSelectedItem();
    if (!index || *index >= windowDialThemeCount) return;
    selectDialTheme(windowDialThemeTable[*index].theme);
}

void MainWindowController::resetDialTheme() { selectDialTheme(windowDialThemeTable[0].theme); }

void MainWindowController::stepDialTheme(int step) {
    // An unknown stored theme reads as the first.
    const auto count = static_cast<long>(windowDialThemeCount);
    const auto index = static_cast<long>(position(WindowDialThemePreference::stored()));
    const auto next = ((index + step) % count + count) % count;
    selectDialTheme(windowDialThemeTable[static_cast<std::size_t>(next)].theme);
}

void MainWindowController::toggleLaunchAtLogin() {
    const bool desired = launchSwitch->isOn();
    const auto result = LaunchAtLoginManager::setEnabled(desired);
    launchSwitch->setOn(LaunchAtLoginManager::isEnabled());
    if (!result) {
        auto failure = Alert::make();
        failure->messageText = result.error().message;
        failure->runModal();
        setStatus(result.error().message);
        refreshPermission();
        return;
    }
    setStatus(desired ? L("已设为登录时自动启动") : L("已关闭登录时自动启动"));
}

void MainWindowController::openFinderExtensionSettings() {
    auto alert = Alert::make();
    alert->alertStyle = AlertStyle::informational;
    alert->icon = ApplicationIcon::image();
    alert->messageText = byLanguage("启用 Finder 工具栏与右键菜单", "Enable the Finder Toolbar and Context Menu");
    alert->informativeText = byLanguage(
        "第一步：在系统设置 → 通用 → 登录项与扩展 → 文件提供程序中，开启“塔洛梅百宝箱”。部分系统版本将此分类显示为"
        "“Finder 扩展”。\n\n第二步：回到 Finder，右键顶部工具栏，选择“自定工具栏”，将塔洛梅应用图标拖入工具栏。\n\n"
        "如果开关已经开启，无需重复设置，请关闭并重新打开“自定工具栏”。工具栏位置需要你手动选择，应用不会替你更改。",
        "Step 1: In System Settings > General > Login Items & Extensions > File Providers, enable Tallowmere. On "
        "some macOS versions, this category is called Finder Extensions.\n\nStep 2: In Finder, right-click the "
        "toolbar, choose Customize Toolbar, and drag the Tallowmere icon onto it.\n\nIf the extension is already "
        "enabled, reopen Customize Toolbar. You choose its position; the app will not rearrange your toolbar.");
    alert->addButton(L("去设置"));
    alert->addButton(L("取消"));
    if (alert->runModal() != ModalResponses::alertFirstButton) return;
    const std::string url(LaunchAtLoginManager::loginItemsSettingsURL);
    DesktopLink::desktop().workspace().openURLs(
        {url}, "/System/Applications/System Settings.app", OpenConfiguration{.activates = true},
        [url](Result<std::shared_ptr<RunningApplication>> opened) {
            if (!opened) DesktopLink::desktop().workspace().openURL(url);
        });
    setStatus(L("请在 Finder 的快速操作中使用塔洛梅右键功能"));
}

}  // namespace tallowmere
