// Page 1: the switches' first states, the one-time migration, and the
// three columns of cards in their build order.
#include <regex>

#include "app/appearance_preferences.h"
#include "app/launch_at_login_manager.h"
#include "app/status_bar_icon_images.h"
#include "app/status_bar_icon_preference.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "mainwindow/finder_toolbar_line_icon.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/main_window_view_kit.h"
#include "mainwindow/mouse_drag_usage_icon_view.h"
#include "mainwindow/setting_row_view.h"
#include "mainwindow/wrapping_columns_view.h"
#include "platform/gfx/symbol_image.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/bundle_image.h"
#include "platform/ui/grid_view.h"
#include "platform/ui/image_view.h"
#include "platform/ui/stack_view.h"
#include "quicklaunch/new_file_type.h"
#include "selection/selvane_exclusions_window_controller.h"
#include "selection/selvane_preferences.h"
#include "windows/layout_store.h"
#include "windows/long_press_destination.h"
#include "windows/window_dial_theme.h"

namespace tallowmere {

using namespace platform;
using namespace mainwindowkit;

namespace {

// The dial preview is a little smaller than the palette, inside its 80-point square.
constexpr double dialPreviewDisplayScale = 0.9;

std::string authorizationTitle(std::string_view title) { return std::string(L(title)) + "（" + std::string(L("需授权")) + "）"; }

// Absent or not a Boolean: on.
bool missingMeansOn(std::string_view key) { return UserDefaults::standard().storedBoolean(key).value_or(true); }

std::shared_ptr<ImageView> makeSymbolView(std::string_view symbol, const std::string& description, double side) {
    auto view = ImageView::make(symbolImage(symbol, description, {16, FontWeight::regular}));
    view->setContentTintColor(Color::system(SystemColor::blue));
    view->setImageScaling(ImageScaling::proportionallyDown);
    view->setFixedSize({side, side});
    return view;
}

// A pop-up's title for a dial theme: its name without the scheme number
// before the first separator dot.
std::string dialThemePopupTitle(WindowDialTheme theme) {
    static const std::regex prefix("^.*?(·|•|・)\\s*");
    return std::regex_replace(title(theme), prefix, "", std::regex_constants::format_first_only);
}

}  // namespace

void MainWindowController::updateStatusIconPreview() {
    const auto style = StatusBarIconPreference::style();
    statusIconPreviewView->setImage(StatusBarIconImages::statusBarIconImage(style));
    statusIconPreviewView->largePreviewImage = StatusBarIconImages::statusBarIconLargePreviewImage(style);
}

std::shared_ptr<View> MainWindowController::buildFirstPageColumns() {
    auto& defaults = UserDefaults::standard();

    // Switches' first states. The long-press destination is written back
    // once, which brings its older keys in line.
    gestureSwitch->setOn(missingMeansOn("gestureEnabled"));
    naturalDirectionSwitch->setOn(missingMeansOn("naturalDirectionEnabled"));
    mouseSwitch->setOn(missingMeansOn("mouseEnabled"));
    edgeSnapSwitch->setOn(missingMeansOn("edgeSnapEnabled"));
    // Quick launch once needed Accessibility and was stored off without it;
    // it no longer does, so it comes back on once.
    if (!defaults.storedBoolean("quickLaunchPermissionDecoupledV1").value_or(false)) {
        defaults.set(LongPressDestinationPreference::quickLaunchEnabledKey, true);
        defaults.set("quickLaunchPermissionDecoupledV1", true);
    }
    quickLaunchSwitch->setOn(missingMeansOn(LongPressDestinationPreference::quickLaunchEnabledKey));
    LongPressDestinationPreference::set(LongPressDestinationPreference::current());
    quickLaunchLongPressSwitch->setOn(LongPressDestinationPreference::current() == LongPressDestination::quickLaunch);
    selvaneSwitch->setOn(SelvanePreferences::isEnabled());
    workspaceMemorySwitch->setOn(WorkspaceMemoryPreference::isEnabled());
    launchSwitch->setOn(LaunchAtLoginManager::isEnabled());
    selvaneLongPressSwitch->setOn(LongPressDestinationPreference::current() == LongPressDestination::selvane);
    for (const auto& toggle : {gestureSwitch, naturalDirectionSwitch, mouseSwitch, edgeSnapSwitch,
                               quickLaunchLongPressSwitch, selvaneSwitch, workspaceMemorySwitch}) {
        toggle->onAction = action(&MainWindowController::togglePermissionFeature);
    }
    quickLaunchSwitch->onAction = action(&MainWindowController::toggleQuickLaunch);
    launchSwitch->onAction = action(&MainWindowController::toggleLaunchAtLogin);
    selvaneLongPressSwitch->onAction = action(&MainWindowController::toggleSelvaneLongPress);
    handSwitchStatesToInputController();

    // Permission controls.
    permissionButton->onAction = action(&MainWindowController::requestPermission);
    permissionButton->setBezelStyle(BezelStyle::push);
    permissionButton->setControlSize(ControlSize::large);
    permissionLabel->setFont(Font::systemFont(15, FontWeight::medium));
    permissionLabel->setCompressionResistancePriority(LayoutPriority::required, LayoutAxis::vertical);

    // Appearance controls.
    outlineColorWell->setColor(AppearancePreferences::outlineColor());
    outlineColorWell->setFixedSize({28, 28});
    outlineColorWell->onAction = action(&MainWindowController::changeOutlineColor);
    themePopup->addItems({L("跟随系统"), L("浅色"), L("深色")});
    themePopup->selectItem(static_cast<std::size_t>(AppearancePreferences::themeMode()));
    themePopup->setControlSize(ControlSize::regular);
    setWidthKeepingTitleWhole(*themePopup, 104);
    themePopup->onAction = action(&MainWindowController::changeThemeMode);
    for (const auto style : StatusBarIconPreference::allStyles) statusIconPopup->addItem(StatusBarIconPreference::title(style));
    statusIconPopup->selectItem(static_cast<std::size_t>(StatusBarIconPreference::style()));
    statusIconPopup->setControlSize(ControlSize::regular);
    setWidthKeepingTitleWhole(*statusIconPopup, 164);
    statusIconPopup->onAction = action(&MainWindowController::changeStatusBarIconStyle);
    statusIconPreviewView->setImageScaling(ImageScaling::proportionallyUpOrDown);
    statusIconPreviewView->setFixedSize({28, 28});
    updateStatusIconPreview();

    // --- Window gestures -----------------------------------------------------------
    std::vector<std::shared_ptr<View>> gestureRows = {
        makeSettingRow("TitlebarTwoFingerBlue", L("手指拖动窗口"), "", gestureSwitch),
        makeSettingRow("cursorarrow.motionlines", L("鼠标拖动窗口"), "", mouseSwitch),
        makeSettingRow("rectangle.inset.filled", L("窗口边缘贴靠"), "", edgeSnapSwitch),
    };
    for (const auto& gestureRow : gestureRows) gestureRow->setFixedWidth(464);

    for (std::size_t i = 0; i < windowDialThemeCount; ++i) {
        dialThemePopup->addItem(dialThemePopupTitle(windowDialThemeTable[i].theme));
    }
    const auto storedTheme = WindowDialThemePreference::stored();
    dialThemePopup->selectItem(position(storedTheme));
    setWidthKeepingTitleWhole(*dialThemePopup, 168);
    dialThemePopup->onAction = action(&MainWindowController::changeDialTheme);
    dialThemePreviewView->setTheme(storedTheme);
    dialThemePreviewView->setDisplayScale(dialPreviewDisplayScale);
    dialThemePreviewView->setFixedSize({80, 80});
    dialThemePreviewView->setOnThemeStep([weak = std::weak_ptr<MainWindowController>(
                                              std::static_pointer_cast<MainWindowController>(shared_from_this()))](int step) {
        if (auto self = weak.lock()) self->stepDialTheme(step);
    });
    auto dialRow = makeSettingRow("circle.grid.3x3.fill", L("表盘样式"), "",
                                  row({dialThemePreviewView, dialThemePopup}, 12), 80.0);

    auto twoFingerIcon = ImageView::make(bundleImage("TwoFingerSwipe", "png"));
    twoFingerIcon->setImageScaling(ImageScaling::proportionallyUpOrDown);
    auto usage = row({makeUsageItem(std::nullopt, twoFingerIcon, L("双指手势"), L("在标题栏使用双指上下或左右滑动")),
                      makeUsageItem(std::nullopt, MouseDragUsageIconView::make(), L("鼠标操作"),
                                    L("按住标题栏，拖入布局面板后松开"))},
                     16, StackAlignment::top);
    usage->setDistribution(StackDistribution::fillEqually);
    usage->setFixedWidth(464);
    auto gesturesCard = makeCard(authorizationTitle("窗口手势控制"), {column(gestureRows, 9), dialRow, usage});

    // --- General settings ------------------------------------------------------------
    auto accessibilityIcon = makeSymbolView("shield.lefthalf.filled", L("辅助功能未授权"), 28);
    permissionDotView->setFixedSize({28, 28});
    setWidthKeepingTitleWhole(*permissionButton, 104);
    auto permissionControls = row({permissionDotView, permissionButton}, 8);
    permissionControls->setFixedWidth(28 + 8 + *permissionButton->sizeConstraints().width);
    auto accessibilityRow = SettingRowView::make(accessibilityIcon, textColumn({permissionLabel}, 2), permissionControls,
                                                 {.afterIcon = 12, .beforeControls = 12 + 12}, 34);

    auto guideButton = makePushButton(L("查看截图"), ControlSize::regular);
    auto settingsButton = makePushButton(L("去设置"), ControlSize::regular);
    for (const auto& button : {guideButton, settingsButton}) setWidthKeepingTitleWhole(*button, 104);
    guideButton->onAction = action(&MainWindowController::showWindowSettingsGuide);
    settingsButton->onAction = action(&MainWindowController::openWindowSettings);
    auto adviceRow = SettingRowView::make(makeSymbolView("info.circle.fill", {}, 28),
                                          textColumn({makeLabel(L("建议关闭系统设置"), 15)}, 5),
                                          row({guideButton, settingsButton}, 8), {.afterIcon = 10, .beforeControls = 10 + 10},
                                          34);

    auto finderIcon = ImageView::make(finderToolbarLineIcon());
    finderIcon->setContentTintColor(Color::system(SystemColor::blue));
    finderIcon->setImageScaling(ImageScaling::proportionallyDown);
    finderIcon->setFixedSize({28, 28});
    auto finderButton = makePushButton(byLanguage("启用 / 管理", "Enable / Manage"), ControlSize::regular);
    setWidthKeepingTitleWhole(*finderButton, 104);
    finderButton->onAction = action(&MainWindowController::openFinderExtensionSettings);
    auto finderRow = SettingRowView::make(
        finderIcon, textColumn({makeLabel(byLanguage("Finder 工具栏", "Finder Toolbar"), 15)}, 3), finderButton,
        {.afterIcon = 8, .beforeControls = 8 + 8}, 34);
    finderRow->setFixedWidth(464);

    auto generalRows = column({makeSettingRow("power", L("登录时自动启动"), "", launchSwitch),
                               makeSettingRow("menubar.rectangle", L("状态栏图标"), "",
                                              row({statusIconPreviewView, statusIconPopup}, 8)),
                               makeSettingRow("circle.lefthalf.filled", L("外观与框线颜色"), "",
                                              row({outlineColorWell, themePopup}, 8)),
                               accessibilityRow, adviceRow, finderRow},
                              6);
    generalRows->setCustomSpacing(8, *accessibilityRow);
    generalRows->setCustomSpacing(8, *adviceRow);
    for (const auto& generalRow : generalRows->arrangedSubviews()) generalRows->setFillsCrossAxis(*generalRow, true);
    auto generalCard = makeCard("", {generalRows});

    // --- Quick launch -------------------------------------------------------------------
    quickLaunchEditButton->setTitle(L("编辑"));
    quickLaunchEditButton->setEnabled(false);
    quickLaunchRenameButton->setTitle(L("重命名"));
    auto quickLaunchDeleteButton = Button::make(L("删除"));
    quickLaunchDeleteButton->onAction = action(&MainWindowController::deleteQuickEntry);
    auto addApplication = Button::make("+" + std::string(L("应用")));
    addApplication->onAction = [weak = std::weak_ptr<MainWindowController>(
                                    std::static_pointer_cast<MainWindowController>(shared_from_this()))](Control& sender) {
        if (auto self = weak.lock()) self->addQuickApplication(static_cast<Button&>(sender));
    };
    auto addWebsite = Button::make("+" + std::string(L("网页")));
    addWebsite->onAction = action(&MainWindowController::addQuickWebsite);
    auto addInformation = Button::make("+" + std::string(L("信息")));
    addInformation->onAction = action(&MainWindowController::addQuickInformation);
    for (const auto& button : {quickLaunchEditButton, quickLaunchRenameButton, quickLaunchDeleteButton, addApplication,
                               addWebsite, addInformation}) {
        button->setBezelStyle(BezelStyle::push);
        button->setControlSize(ControlSize::small);
    }
    // The editing buttons, then the add buttons after a wider gap; where a
    // language's words make both too wide for the card, the add buttons go
    // onto a line of their own.
    auto editButtons = row({quickLaunchEditButton, quickLaunchRenameButton, quickLaunchDeleteButton}, 7);
    auto addButtons = row({addApplication, addWebsite, addInformation}, 7);
    auto quickLaunchBar = WrappingColumnsView::make(
        {{editButtons, editButtons->fittingSize().width}, {addButtons, addButtons->fittingSize().width}}, 7 + 7,
        StackAlignment::centerY);
    quickLaunchIconStrip->setWantsLayer(true);
    quickLaunchIconStrip->mutableLayer().cornerRadius = 10;
    quickLaunchIconStrip->mutableLayer().borderWidth = 1;
    quickLaunchIconStrip->mutableLayer().borderColor = Color::system(SystemColor::separator);
    quickLaunchIconStrip->setFixedWidth(480 - 36);
    auto quickLaunchCard = makeCard(
        L("快捷启动"),
        {quickLaunchBar, makeNote(L("选择图标后可编辑，拖动可排序。可将文件、文件夹直接拖入应用区。"), 12),
         quickLaunchIconStrip,
         makeSettingRow("cursorarrow.click", L("左键长按快捷启动"), L("按住鼠标左键 1 秒调出快捷启动面板"),
                        quickLaunchLongPressSwitch)},
        quickLaunchSwitch);

    // --- New-file types -------------------------------------------------------------------
    const auto selectedTypes = NewFilePreferences::selectedTypes();
    std::vector<std::shared_ptr<View>> typeBoxes;
    for (const auto type : allNewFileTypes) {
        const bool on = std::find(selectedTypes.begin(), selectedTypes.end(), type) != selectedTypes.end();
        auto box = Button::makeCheckBox("." + std::string(rawValue(type)), on);
        box->setIdentifier(std::string(rawValue(type)));
        box->setControlSize(ControlSize::small);
        box->setFont(Font::systemFont(13));
        box->onAction = action(&MainWindowController::toggleNewFileType);
        professionalOnlyControls.push_back(box);
        typeBoxes.push_back(box);
    }
    auto finderExtensionButton = Button::make(byLanguage("启用 Finder 扩展", "Enable Finder Extension"));
    finderExtensionButton->setBordered(false);
    finderExtensionButton->setFont(Font::systemFont(13));
    finderExtensionButton->setContentTintColor(Color::system(SystemColor::blue));
    finderExtensionButton->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::horizontal);
    finderExtensionButton->onAction = action(&MainWindowController::openFinderExtensionSettings);
    auto newFileCard = makeCard(L("新建文件类型"), {row(typeBoxes, 12)}, finderExtensionButton);

    // --- Window memory ----------------------------------------------------------------------
    layoutPopup->setControlSize(ControlSize::large);
    layoutPopup->setContentHuggingPriority(LayoutPriority::defaultLow, LayoutAxis::horizontal);
    auto restoreButton = makePushButton(L("恢复"), ControlSize::large);
    auto deleteLayoutButton = makePushButton(L("删除"), ControlSize::large);
    restoreButton->onAction = action(&MainWindowController::restoreLayout);
    deleteLayoutButton->onAction = action(&MainWindowController::deleteLayout);
    workspaceControls = {layoutPopup, restoreButton, deleteLayoutButton};
    auto memoryCard = makeCard(authorizationTitle("窗口记忆"),
                               {layoutPopup, row({View::make(), restoreButton, deleteLayoutButton}, 8),
                                makeNote(L("从菜单栏图标中保存当前工作区，在这里恢复或删除。"), 13)},
                               workspaceMemorySwitch);
    if (auto content = memoryCard->subviews().front(); auto stack = std::dynamic_pointer_cast<StackView>(content)) {
        for (const auto& view : stack->arrangedSubviews()) stack->setFillsCrossAxis(*view, true);
    }

    // --- Support row ----------------------------------------------------------------------------
    auto thanksButton = Button::make(L("感谢名单"));
    thanksButton->setBordered(false);
    thanksButton->setFont(Font::systemFont(15, FontWeight::semibold));
    thanksButton->setContentTintColor(Color::system(SystemColor::label));
    thanksButton->onAction = action(&MainWindowController::showSupporterRoster);
    auto supportRow = row({makeSupportActionCard(thanksButton)}, 12);
    supportRow->setDistribution(StackDistribution::fillEqually);

    // --- Selvane ----------------------------------------------------------------------------------
    constexpr double selvaneToggleWidth = 116;
    const auto enabledActions = SelvanePreferences::enabledActions();
    const auto enabledTools = SelvanePreferences::enabledTools();
    std::vector<std::shared_ptr<View>> toggles;
    for (const auto selvaneAction : allSelvaneActions) {
        const bool on = std::find(enabledActions.begin(), enabledActions.end(), selvaneAction) != enabledActions.end();
        auto box = Button::makeCheckBox(title(selvaneAction), on);
        box->setIdentifier(std::string(rawValue(selvaneAction)));
        box->setFont(Font::systemFont(13));
        box->setFixedWidth(selvaneToggleWidth);
        box->onAction = action(&MainWindowController::toggleSelvaneAction);
        selvaneActionButtons[selvaneAction] = box;
        toggles.push_back(box);
    }
    for (const auto tool : allSelvaneTools) {
        const bool on = std::find(enabledTools.begin(), enabledTools.end(), tool) != enabledTools.end();
        auto box = Button::makeCheckBox(std::string(title(tool)), on);
        box->setIdentifier(std::string(rawValue(tool)));
        box->setFont(Font::systemFont(13));
        box->setFixedWidth(selvaneToggleWidth);
        box->onAction = action(&MainWindowController::toggleSelvaneTool);
        selvaneToolButtons[tool] = box;
        toggles.push_back(box);
    }
    // As many equal toggles side by side as the grid's width holds.
    constexpr double toggleGridWidth = 344 - 36;
    constexpr double toggleSpacing = 8;
    constexpr auto togglesPerRow =
        static_cast<std::size_t>((toggleGridWidth + toggleSpacing) / (selvaneToggleWidth + toggleSpacing));
    auto toggleGrid = GridView::make();
    for (std::size_t first = 0; first < toggles.size(); first += togglesPerRow) {
        std::vector<std::shared_ptr<View>> cells(togglesPerRow);
        for (std::size_t i = 0; i < togglesPerRow && first + i < toggles.size(); ++i) cells[i] = toggles[first + i];
        toggleGrid->addRow(cells);
    }
    toggleGrid->setRowSpacing(7);
    toggleGrid->setColumnSpacing(toggleSpacing);
    toggleGrid->setFixedWidth(toggleGridWidth);

    auto longPressLine = SettingRowView::make(
        makeSymbolView("cursorarrow.click", {}, 20),
        textColumn({makeLabel(byLanguage("长按呼出控件", "Long-Press for Selvane"), 13)}, 0), selvaneLongPressSwitch,
        {.afterIcon = 8, .beforeControls = 8 + 8}, 0);
    longPressLine->setFixedWidth(308);
    longPressLine->setToolTip(byLanguage("按住鼠标左键 1 秒呼出 Selvane；开启后自动关闭快捷启动长按。",
                                         "Hold the left mouse button for 1 second to open Selvane. Enabling this "
                                         "turns off long-press Quick Launch."));

    auto setupGuide = makePushButton(byLanguage("开启引导", "Setup Guide"), ControlSize::small);
    setupGuide->onAction = action(&MainWindowController::showSelvaneTextStyleGuide);
    auto chromeNote = makeNote(byLanguage("基础读取无需 Chrome 开关；读取不到字体等信息时，可选增强读取。",
                                          "Basic reading needs no Chrome setting. Try enhanced reading if font "
                                          "details are unavailable."),
                               12);
    chromeNote->setCompressionResistancePriority(LayoutPriority::required, LayoutAxis::vertical);
    selvaneChromeStyleButton->setFont(Font::systemFont(12));
    selvaneChromeStyleButton->onAction = action(&MainWindowController::toggleSelvaneChromeStyle);
    selvaneChromeStyleButton->setState(defaults.storedBoolean("selvaneChromeStyleEnabled").value_or(false)
                                           ? ControlState::on
                                           : ControlState::off);
    selvaneChromeStyleButton->setToolTip(
        byLanguage("仅在基础读取无结果时尝试。此选项不会自动开启 Chrome 或系统权限，请查看开启引导。",
                   "Only used when basic reading returns no result. This option does not grant Chrome or system "
                   "permissions. See the setup guide."));
    auto textDetailsLine = row({makeLabel(byLanguage("文字信息", "Text Details"), 13), View::make(), setupGuide}, 8);
    auto textDetails = column({textDetailsLine, chromeNote, selvaneChromeStyleButton}, 5);
    textDetails->setFillsCrossAxis(*textDetailsLine, true);
    textDetails->setFillsCrossAxis(*chromeNote, true);

    auto exclusionsButton = makePushButton(byLanguage("排除应用", "Excluded Apps"), ControlSize::small);
    exclusionsButton->setFont(Font::systemFont(13));
    exclusionsButton->onAction = [](Control&) { SelvaneExclusionsWindowController::shared().open(); };
    auto selvaneHint = makeNote(L("控件显示功能"), 13, 2);
    selvaneHint->setFixedWidth(308);
    auto selvaneCard = makeCard(authorizationTitle("Selvane"), {selvaneHint, toggleGrid, longPressLine, textDetails},
                                selvaneSwitch, exclusionsButton);

    // --- Columns -------------------------------------------------------------------------------------
    auto makeColumn = [](std::vector<std::shared_ptr<View>> cards) {
        auto stack = column(cards, 18);
        for (const auto& card : cards) stack->setFillsCrossAxis(*card, true);
        stack->addArrangedSubview(View::make());
        return stack;
    };
    return WrappingColumnsView::make({{makeColumn({gesturesCard, generalCard}), 500},
                                      {makeColumn({newFileCard, quickLaunchCard}), 480},
                                      {makeColumn({selvaneCard, memoryCard, supportRow}), 344}});
}

}  // namespace tallowmere
