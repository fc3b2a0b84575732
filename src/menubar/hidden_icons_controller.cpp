#include "menubar/hidden_icons_controller.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/serial_queue.h"
#include "platform/system/process_runner.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/popover.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "platform/ui/system_beep.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr std::string_view title = "Hidden Icons";
constexpr std::string_view defaultsPath = "/usr/bin/defaults";
constexpr std::string_view unsafeOrderText = "顺序放反啦，请这样排列：\n想隐藏的图标  |  <  🐱\n按住 ⌘ 拖动，排好后再收起。";
constexpr std::string_view spacingSavedText =
    "图标间距已保存\nmacOS 26 需要退出登录或重新启动后，所有状态栏图标才会使用新间距。";

// Collapsing stretches the separator over every screen, within bounds the
// status bar copes with.
constexpr double collapsedLengthWithoutScreens = 2880;
constexpr double shortestCollapsedLength = 500;
constexpr double longestCollapsedLength = 10000;

std::optional<Image> arrowImage(bool collapsed) {
    auto image = symbolImage(collapsed ? "chevron.right" : "chevron.left", title);
    if (image) image->setTemplate(true);
    return image;
}

// A thin upright line: where the hidden icons begin.
Image separatorImage() {
    auto image = Image::withHandler({5, 16}, [](Canvas& canvas, Rect rect) {
        canvas.setStrokeColor(Color::system(SystemColor::label));
        canvas.setLineWidth(1);
        canvas.strokeLine({rect.midX(), 2}, {rect.midX(), rect.height() - 2});
        return true;
    });
    image.setTemplate(true);
    return image;
}

const GlobalSpacingPreset* presetNamed(std::string_view id) {
    const auto& presets = HiddenIconsController::globalSpacingPresets;
    const auto found = std::find_if(presets.begin(), presets.end(), [&](const auto& preset) { return preset.id == id; });
    return found == presets.end() ? nullptr : &*found;
}

// Launched and waited for; whether it worked is not asked.
void runProcess(std::string_view path, std::vector<std::string> arguments) {
    (void)ProcessRunner::run(ProcessRequest{
        .executable = std::string(path), .arguments = std::move(arguments), .output = ProcessOutput::discarded});
}

double midX(const std::shared_ptr<StatusItem>& item) {
    const auto window = item->window();
    return window->frame().midX();
}

bool isOnScreen(const std::shared_ptr<StatusItem>& item) {
    const auto window = item ? item->window() : nullptr;
    return window && window->isVisible();
}

}  // namespace

std::shared_ptr<HiddenIconsController> HiddenIconsController::make() {
    return std::make_shared<HiddenIconsController>(Private{});
}

HiddenIconsController::HiddenIconsController(Private)
    : spacingQueue_(std::make_unique<SerialQueue>("com.quenlow.tallowmere.hidden-icons")) {}

HiddenIconsController::~HiddenIconsController() {
    if (started_ && AppContext::hasCurrent()) AppContext::current().notificationCenter().removeObserver(screensObserver_);
}

bool HiddenIconsController::isEnabled() const {
    return UserDefaults::standard().storedBoolean(enabledKey).value_or(true);
}

void HiddenIconsController::start(const std::shared_ptr<StatusItem>& protecting) {
    protectedStatusItem_ = protecting;
    if (!started_) {
        started_ = true;
        const std::weak_ptr<HiddenIconsController> weakSelf = weak_from_this();
        screensObserver_ = AppContext::current().notificationCenter().addObserver(
            ScreenArrangement::didChangeScreenParametersNotification, nullptr, [weakSelf](const Notification&) {
                if (auto self = weakSelf.lock()) self->screenConfigurationChanged();
            });
    }
    if (isEnabled()) installStatusItems();
}

void HiddenIconsController::expand() {
    if (!isEnabled()) return;
    if (!arrowItem_ || !separatorItem_) installStatusItems();
    isCollapsed_ = false;
    applyCollapsedState();
}

void HiddenIconsController::installStatusItems() {
    if (arrowItem_) {
        arrowItem_->setVisible(true);
        if (separatorItem_) separatorItem_->setVisible(true);
        return;
    }
    if (separatorItem_) {
        separatorItem_->setVisible(true);
        return;
    }
    auto& statusBar = StatusBar::shared();
    const std::weak_ptr<HiddenIconsController> weakSelf = weak_from_this();

    arrowItem_ = statusBar.statusItem(arrowLength);
    arrowItem_->setAutosaveName(std::string(arrowAutosaveName));
    arrowItem_->setVisible(true);
    auto arrow = arrowItem_->button();
    arrow->setImage(arrowImage(false));
    arrow->setToolTip(std::string(title));
    arrow->sendActionOn(eventMask(EventType::leftMouseUp) | eventMask(EventType::rightMouseUp));
    arrow->onAction = [weakSelf](Control&) {
        if (auto self = weakSelf.lock()) self->handleArrowClick();
    };

    // Made second, so the status bar puts it left of the arrow.
    separatorItem_ = statusBar.statusItem(expandedSeparatorLength);
    separatorItem_->setAutosaveName(std::string(separatorAutosaveName));
    separatorItem_->setVisible(true);
    auto separator = separatorItem_->button();
    separator->setImage(separatorImage());
    separator->setToolTip(std::string(title) + " 分隔线");
    separator->onAction = [weakSelf](Control&) {
        if (auto self = weakSelf.lock()) self->showSettingsMenu();
    };
    isCollapsed_ = false;
}

void HiddenIconsController::removeStatusItems() {
    auto& statusBar = StatusBar::shared();
    if (arrowItem_) statusBar.removeStatusItem(arrowItem_);
    if (separatorItem_) statusBar.removeStatusItem(separatorItem_);
    arrowItem_.reset();
    separatorItem_.reset();
    isCollapsed_ = false;
}

double HiddenIconsController::collapsedLength() const {
    const auto screens = DesktopLink::desktop().screens().screens();
    if (screens.empty()) return collapsedLengthWithoutScreens;
    double widest = 0;
    for (const auto& screen : screens) widest = std::max(widest, screen->frame().width());
    return std::clamp(widest * 2, shortestCollapsedLength, longestCollapsedLength);
}

void HiddenIconsController::applyCollapsedState() {
    if (separatorItem_) separatorItem_->setLength(isCollapsed_ ? collapsedLength() : expandedSeparatorLength);
    if (arrowItem_) arrowItem_->button()->setImage(arrowImage(isCollapsed_));
}

bool HiddenIconsController::canSafelyCollapse() const {
    const auto protectedItem = protectedStatusItem_.lock();
    if (!isOnScreen(separatorItem_) || !isOnScreen(arrowItem_) || !isOnScreen(protectedItem)) return false;
    const double separator = midX(separatorItem_);
    return separator < midX(arrowItem_) && separator < midX(protectedItem);
}

void HiddenIconsController::handleArrowClick() {
    const Event* event = Application::shared().currentEvent();
    if (event && event->type == EventType::rightMouseUp) {
        showSettingsMenu();
        return;
    }
    toggleCollapsed();
}

void HiddenIconsController::toggleCollapsed() {
    if (!isEnabled()) return;
    // Collapsing in the wrong order would hide the program's own icon.
    if (!isCollapsed_ && !canSafelyCollapse()) {
        showUnsafeOrderWarning();
        return;
    }
    isCollapsed_ = !isCollapsed_;
    applyCollapsedState();
}

void HiddenIconsController::showUnsafeOrderWarning() {
    systemBeep();
    if (!arrowItem_) return;
    showNote(328, 86, 14, 10, 300, 66, std::string(unsafeOrderText));
}

void HiddenIconsController::showNote(double width, double height, double labelX, double labelY, double labelWidth,
                                     double labelHeight, const std::string& text) {
    std::shared_ptr<StatusBarButton> anchor = arrowItem_ ? arrowItem_->button() : nullptr;
    if (!anchor && separatorItem_) anchor = separatorItem_->button();
    if (!anchor) return;
    auto content = View::make({0, 0, width, height});
    auto label = Label::makeWrapping(text);
    label->setFrame({labelX, labelY, labelWidth, labelHeight});
    label->setFont(Font::systemFont(13));
    label->setAlignment(TextAlignment::center);
    content->addSubview(label);
    // One note at a time: the new one replaces the last.
    if (safetyPopover_) safetyPopover_->close();
    auto popover = Popover::make();
    popover->behavior = Popover::Behavior::transient;
    popover->contentSize = {width, height};
    popover->contentView = content;
    popover->show(anchor->bounds(), *anchor, RectEdge::minY);
    safetyPopover_ = popover;
}

void HiddenIconsController::showSettingsMenu() {
    std::shared_ptr<StatusBarButton> anchor = arrowItem_ ? arrowItem_->button() : nullptr;
    if (!anchor && separatorItem_) anchor = separatorItem_->button();
    const Event* event = Application::shared().currentEvent();
    if (!anchor || !event) return;
    Menu::popUpContextMenu(makeSettingsMenu(), *event, *anchor);
}

std::shared_ptr<Menu> HiddenIconsController::makeSettingsMenu() {
    const bool enabled = isEnabled();
    const std::weak_ptr<HiddenIconsController> weakSelf = weak_from_this();
    const auto act = [weakSelf](void (HiddenIconsController::*method)(MenuItem&)) {
        return [weakSelf, method](MenuItem& sender) {
            if (auto self = weakSelf.lock()) ((*self).*method)(sender);
        };
    };
    auto menu = Menu::make(std::string(title));
    menu->autoenablesItems = false;
    menu->addItem("启用 Hidden Icons", act(&HiddenIconsController::toggleEnabled))
        ->setState(enabled ? MenuItemState::on : MenuItemState::off);
    menu->addItem(isCollapsed_ ? "展开隐藏图标" : "收起隐藏图标",
                  [weakSelf](MenuItem&) {
                      if (auto self = weakSelf.lock()) self->toggleCollapsed();
                  })
        ->setEnabled(enabled);
    menu->addSeparator();

    auto spacing = Menu::make("全局图标间距");
    spacing->autoenablesItems = false;
    const std::string stored = UserDefaults::standard().string(spacingPresetKey).value_or("system");
    for (const auto& preset : globalSpacingPresets) {
        auto item = spacing->addItem(std::string(preset.title), act(&HiddenIconsController::changeSpacing));
        item->setRepresentedObject(std::string(preset.id));
        item->setState(preset.id == stored ? MenuItemState::on : MenuItemState::off);
    }
    spacing->addSeparator();
    spacing->addItem("macOS 26：重新登录或重启后生效")->setEnabled(false);
    auto spacingItem = menu->addItem("全局图标间距");
    spacingItem->setSubmenu(spacing);
    spacingItem->setEnabled(enabled);

    menu->addSeparator();
    menu->addItem("想隐藏的图标  |  <  🐱（按住 ⌘ 拖动）")->setEnabled(false);
    return menu;
}

void HiddenIconsController::toggleEnabled(MenuItem& item) {
    const bool enabled = !isEnabled();
    UserDefaults::standard().set(enabledKey, PropertyValue(enabled));
    item.setState(enabled ? MenuItemState::on : MenuItemState::off);
    if (enabled) {
        installStatusItems();
    } else {
        removeStatusItems();
    }
}

void HiddenIconsController::changeSpacing(MenuItem& item) {
    const auto* id = item.representedObjectAs<std::string>();
    const GlobalSpacingPreset* preset = id ? presetNamed(*id) : nullptr;
    if (!preset) return;
    UserDefaults::standard().set(spacingPresetKey, PropertyValue(std::string(preset->id)));
    if (auto menu = item.menu()) {
        for (const auto& other : menu->items()) {
            if (!other->representedObjectAs<std::string>()) continue;
            other->setState(other.get() == &item ? MenuItemState::on : MenuItemState::off);
        }
    }
    applyGlobalSpacing(*preset);
}

void HiddenIconsController::applyGlobalSpacing(const GlobalSpacingPreset& preset) {
    const std::weak_ptr<HiddenIconsController> weakSelf = weak_from_this();
    spacingQueue_->async([weakSelf, preset] {
        // Each step is skipped once the controller has gone.
        const auto step = [&](std::vector<std::string> arguments) {
            if (weakSelf.lock()) runProcess(defaultsPath, std::move(arguments));
        };
        if (preset.spacing && preset.selectionPadding) {
            step({"-currentHost", "write", "-globalDomain", "NSStatusItemSpacing", "-int",
                  std::to_string(*preset.spacing)});
            step({"-currentHost", "write", "-globalDomain", "NSStatusItemSelectionPadding", "-int",
                  std::to_string(*preset.selectionPadding)});
        } else {
            step({"-currentHost", "delete", "-globalDomain", "NSStatusItemSpacing"});
            step({"-currentHost", "delete", "-globalDomain", "NSStatusItemSelectionPadding"});
        }
        AppContext::current().mainQueue().async([weakSelf] {
            if (auto self = weakSelf.lock()) self->showNote(358, 78, 14, 12, 330, 54, std::string(spacingSavedText));
        });
    });
}

void HiddenIconsController::screenConfigurationChanged() {
    if (isCollapsed_ && separatorItem_) separatorItem_->setLength(collapsedLength());
}

}  // namespace tallowmere
