#include "screen/display_brightness_controller.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_arrangement.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/serial_queue.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/alert.h"
#include "platform/ui/application.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/slider.h"
#include "platform/ui/label.h"
#include "screen/brightness_slider_row.h"

namespace tallowmere {

namespace resources {
extern const std::string_view brightnessCreditsText;
}

using namespace platform;

namespace {

constexpr const char* readingText = "正在读取亮度…";
constexpr const char* adjustingText = "正在调整硬件亮度…";
constexpr const char* failedText = "调节失败，请检查显示器或连接线";
constexpr const char* softwareText = "软件调暗 · 不改变背光";

std::string percentText(double percent) { return std::to_string(static_cast<int>(percent)) + "%"; }

MainQueue& mainQueue() { return AppContext::current().mainQueue(); }

std::vector<std::shared_ptr<Screen>> currentScreens() { return Desktop::shared().screens().screens(); }

}  // namespace

DisplayBrightnessController& DisplayBrightnessController::shared() {
    return AppContext::current().shared<DisplayBrightnessController>();
}

std::shared_ptr<DisplayBrightnessController> DisplayBrightnessController::makeShared() {
    auto controller = std::make_shared<DisplayBrightnessController>();
    auto& notifications = AppContext::current().notificationCenter();
    std::weak_ptr<DisplayBrightnessController> weak = controller;
    controller->observers_.push_back(notifications.addObserver(
        ScreenArrangement::didChangeScreenParametersNotification, nullptr, [weak](const Notification&) {
            if (auto self = weak.lock()) self->screensChanged();
        }));
    controller->observers_.push_back(
        notifications.addObserver(Application::willTerminateNotification, nullptr, [weak](const Notification&) {
            if (auto self = weak.lock()) self->applicationWillTerminate();
        }));
    return controller;
}

DisplayBrightnessController::DisplayBrightnessController()
    : ioQueue_(std::make_unique<SerialQueue>(queueLabel)) {}

DisplayBrightnessController::~DisplayBrightnessController() {
    for (const auto& token : observers_) AppContext::current().notificationCenter().removeObserver(token);
    for (auto& [id, write] : pendingWrites_) write->cancel();
    for (auto& [id, shade] : shades_) shade->close();
}

std::shared_ptr<MenuItem> DisplayBrightnessController::makeMenuItem() {
    auto item = MenuItem::make("亮度调节");
    item->setImage(symbolImage("sun.max", "亮度调节"));
    auto submenu = Menu::make();
    submenu->autoenablesItems = false;
    submenu->setDelegate(weak_from_this());
    submenu->addItem("打开后读取显示器亮度")->setEnabled(false);
    item->setSubmenu(submenu);
    return item;
}

void DisplayBrightnessController::menuNeedsUpdate(Menu& menu) { populate(menu); }

void DisplayBrightnessController::menuWillOpen(Menu& menu) {
    currentMenu_ = menu.weak_from_this();
    menuIsOpen_ = true;
}

void DisplayBrightnessController::menuDidClose(Menu&) { menuIsOpen_ = false; }

// --- Scanning ------------------------------------------------------------------

void DisplayBrightnessController::populate(Menu& menu) {
    currentMenu_ = menu.weak_from_this();
    const std::uint64_t generation = ++scanGeneration_;
    const auto revisionSnapshot = revisions_;
    std::set<DisplayID> pendingSnapshot;
    for (const auto& [id, write] : pendingWrites_) pendingSnapshot.insert(id);

    rows_.clear();
    menu.removeAllItems();
    for (const auto& running : Workspace::shared().runningApplications()) {
        if (running->bundleIdentifier() == monitorControlBundleIdentifier) {
            menu.addItem("MonitorControl 正在运行，建议只用一个工具调节")->setEnabled(false);
            menu.addSeparator();
            break;
        }
    }

    std::weak_ptr<DisplayBrightnessController> weak = weak_from_this();
    std::vector<DisplayBrightnessHardware::Screen> scanList;
    for (const auto& screen : currentScreens()) {
        const DisplayID id = screen->displayID();
        if (id == 0) continue;
        scanList.push_back({id, screen->localizedName(), screen->isBuiltIn()});
        auto row = BrightnessSliderRow::make(screen->localizedName());
        row->onChange = [weak, id](double level) {
            if (auto self = weak.lock()) self->change(id, level);
        };
        double level = 1.0;
        if (auto software = softwareLevels_.find(id); software != softwareLevels_.end()) {
            level = software->second;
        } else if (auto hardware = hardwareLevels_.find(id); hardware != hardwareLevels_.end()) {
            level = hardware->second;
        }
        row->slider().setRange(20, 100);
        row->slider().setDoubleValue(std::clamp(level * 100, 20.0, 100.0));
        row->slider().setEnabled(false);
        row->percent().setStringValue(percentText(level * 100));
        row->setDetail(readingText);
        rows_[id] = row;
        auto item = MenuItem::make("");
        item->setView(row);
        menu.addItem(item);
    }
    if (scanList.empty()) menu.addItem("未找到可用显示器")->setEnabled(false);

    menu.addSeparator();
    menu.addItem("重新读取显示器", [weak](MenuItem& sender) {
        if (auto self = weak.lock()) self->refresh(sender);
    });
    menu.addItem("取消所有软件调暗", [weak](MenuItem& sender) {
        if (auto self = weak.lock()) self->clearSoftwareDimming(sender);
    });
    menu.addItem("软件调暗不改变背光，退出应用后自动取消")->setEnabled(false);
    menu.addSeparator();
    menu.addItem("开源致谢 · MonitorControl", [weak](MenuItem& sender) {
        if (auto self = weak.lock()) self->showCredits(sender);
    });

    // The looked-up functions are had here, on the main thread, once.
    auto interfaces = DisplayBrightnessHardware::Interfaces::shared();
    ioQueue_->async([weak, interfaces, scanList, generation, revisionSnapshot, pendingSnapshot] {
        auto readings = DisplayBrightnessHardware::read(scanList, interfaces);
        AppContext::current().mainQueue().async(
            [weak, scanList, generation, revisionSnapshot, pendingSnapshot, readings = std::move(readings)] {
                if (auto self = weak.lock()) {
                    self->finishScan(generation, scanList, readings, revisionSnapshot, pendingSnapshot);
                }
            });
    });
}

void DisplayBrightnessController::finishScan(std::uint64_t generation,
                                             const std::vector<DisplayBrightnessHardware::Screen>& screens,
                                             const Readings& readings, const std::map<DisplayID, int>& revisionSnapshot,
                                             const std::set<DisplayID>& pendingSnapshot) {
    if (isStopping_ || generation != scanGeneration_) return;
    for (const auto& screen : screens) {
        auto found = rows_.find(screen.id);
        if (found == rows_.end()) continue;
        BrightnessSliderRow& row = *found->second;
        auto reading = readings.find(screen.id);
        if (reading != readings.end() && !shades_.contains(screen.id)) {
            endpoints_[screen.id] = reading->second.endpoint;
            auto revision = revisions_.find(screen.id);
            auto snapshot = revisionSnapshot.find(screen.id);
            const bool sameRevision = (revision == revisions_.end() && snapshot == revisionSnapshot.end()) ||
                                      (revision != revisions_.end() && snapshot != revisionSnapshot.end() &&
                                       revision->second == snapshot->second);
            if (sameRevision && !pendingSnapshot.contains(screen.id)) hardwareLevels_[screen.id] = reading->second.value;
            auto known = hardwareLevels_.find(screen.id);
            showHardwareLevel(row, known != hardwareLevels_.end() ? known->second : reading->second.value,
                              reading->second.endpoint->label());
        } else {
            endpoints_.erase(screen.id);
            auto software = softwareLevels_.find(screen.id);
            showSoftwareLevel(row, software != softwareLevels_.end() ? software->second * 100 : 100);
        }
    }
}

void DisplayBrightnessController::showHardwareLevel(BrightnessSliderRow& row, double level, const std::string& detail) {
    row.slider().setRange(lowestHardwareLevel * 100, 100);
    row.slider().setDoubleValue(std::clamp(level * 100, lowestHardwareLevel * 100, 100.0));
    row.slider().setEnabled(true);
    row.percent().setStringValue(percentText(level * 100));
    row.setDetail(detail);
}

void DisplayBrightnessController::showSoftwareLevel(BrightnessSliderRow& row, double percent) {
    row.slider().setRange(lowestSoftwareLevel * 100, 100);
    row.slider().setDoubleValue(std::clamp(percent, lowestSoftwareLevel * 100, 100.0));
    row.slider().setEnabled(true);
    row.percent().setStringValue(percentText(percent));
    row.setDetail(softwareText);
}

// --- Changing a level ------------------------------------------------------------

void DisplayBrightnessController::change(DisplayID id, double level) {
    if (isStopping_ || !std::isfinite(level)) return;
    if (endpoints_.contains(id)) {
        changeHardware(id, level);
    } else {
        changeSoftware(id, level);
    }
}

void DisplayBrightnessController::changeHardware(DisplayID id, double level) {
    const int revision = ++revisions_[id];
    level = std::min(level, 1.0);
    const std::uint64_t topology = topologyGeneration_;
    if (auto pending = pendingWrites_.find(id); pending != pendingWrites_.end()) {
        pending->second->cancel();
        pendingWrites_.erase(pending);
    }
    level = std::max(level, lowestHardwareLevel);
    if (auto row = rows_.find(id); row != rows_.end()) row->second->setDetail(adjustingText);

    std::weak_ptr<DisplayBrightnessController> weak = weak_from_this();
    auto write = WorkItem::make([weak, id, revision, topology, level] {
        auto self = weak.lock();
        if (!self || self->isStopping_ || self->topologyGeneration_ != topology || self->revisions_[id] != revision) {
            return;
        }
        self->pendingWrites_.erase(id);
        auto endpoint = self->endpoints_.at(id);
        // The write and its result hold the controller: the display hears
        // every write that started.
        self->ioQueue_->async([self, endpoint, id, revision, topology, level] {
            const bool succeeded = endpoint->set(level);
            AppContext::current().mainQueue().async([self, id, revision, topology, level, succeeded] {
                self->finishWrite(id, revision, topology, level, succeeded);
            });
        });
    });
    pendingWrites_[id] = write;
    mainQueue().asyncAfter(writeDelaySeconds, write);
}

void DisplayBrightnessController::finishWrite(DisplayID id, int revision, std::uint64_t topology, double level,
                                              bool succeeded) {
    if (isStopping_ || topology != topologyGeneration_) return;
    if (succeeded) hardwareLevels_[id] = level;
    auto row = rows_.find(id);
    if (revisions_[id] != revision || row == rows_.end()) return;
    auto known = hardwareLevels_.find(id);
    auto endpoint = endpoints_.find(id);
    const std::string label = endpoint != endpoints_.end() ? endpoint->second->label() : std::string();
    showHardwareLevel(*row->second, known != hardwareLevels_.end() ? known->second : level,
                      succeeded ? label : failedText);
}

void DisplayBrightnessController::changeSoftware(DisplayID id, double level) {
    std::shared_ptr<Screen> screen;
    for (const auto& candidate : currentScreens()) {
        if (candidate->displayID() == id) screen = candidate;
    }
    if (!screen) return;
    level = std::max(std::min(level, 1.0), lowestSoftwareLevel);
    if (level >= undimmedLevel) {
        if (auto shade = shades_.find(id); shade != shades_.end()) {
            shade->second->close();
            shades_.erase(shade);
        }
        softwareLevels_.erase(id);
    } else {
        auto& shade = shades_[id];
        if (!shade) {
            shade = Window::make<BrightnessShadePanel>(screen->frame(),
                                                       WindowStyleMask{WindowStyleMask::nonactivatingPanel});
            shade->isReleasedWhenClosed = false;
            shade->setOpaque(false);
            shade->setBackgroundColor(Color::black());
            shade->setHasShadow(false);
            shade->setIgnoresMouseEvents(true);
            shade->setHidesOnDeactivate(false);
            shade->setLevel(shadeLevel);
            shade->setCollectionBehavior(shadeCollectionBehavior);
        }
        shade->setFrame(screen->frame(), false);
        shade->setAlphaValue(1 - level);
        shade->orderFrontRegardless();
        softwareLevels_[id] = level;
    }
    if (auto row = rows_.find(id); row != rows_.end()) showSoftwareLevel(*row->second, level * 100);
}

// --- Actions ------------------------------------------------------------------------

void DisplayBrightnessController::refresh(MenuItem& sender) {
    if (auto menu = sender.menu()) populate(*menu);
}

void DisplayBrightnessController::clearSoftwareDimming(MenuItem& sender) {
    closeShades();
    softwareLevels_.clear();
    if (auto menu = sender.menu()) populate(*menu);
}

void DisplayBrightnessController::showCredits(MenuItem&) {
    mainQueue().async([] {
        auto alert = Alert::make();
        alert->messageText = "亮度调节 · 开源致谢";
        alert->informativeText = std::string(resources::brightnessCreditsText);
        while (!alert->informativeText.empty() && alert->informativeText.back() == '\n') {
            alert->informativeText.pop_back();
        }
        alert->addButton("好");
        alert->runModal();
    });
}

// --- Screens and termination ----------------------------------------------------

void DisplayBrightnessController::cancelPendingWrites() {
    for (auto& [id, write] : pendingWrites_) write->cancel();
    pendingWrites_.clear();
}

void DisplayBrightnessController::closeShades() {
    for (auto& [id, shade] : shades_) shade->close();
    shades_.clear();
}

void DisplayBrightnessController::screensChanged() {
    ++topologyGeneration_;
    ++scanGeneration_;
    cancelPendingWrites();
    endpoints_.clear();
    std::map<DisplayID, std::shared_ptr<Screen>> present;
    for (const auto& screen : currentScreens()) present[screen->displayID()] = screen;
    std::erase_if(hardwareLevels_, [&](const auto& entry) { return !present.contains(entry.first); });
    std::erase_if(softwareLevels_, [&](const auto& entry) { return !present.contains(entry.first); });
    for (auto it = shades_.begin(); it != shades_.end();) {
        if (auto screen = present.find(it->first); screen != present.end()) {
            it->second->setFrame(screen->second->frame(), true);
            ++it;
        } else {
            it->second->close();
            it = shades_.erase(it);
        }
    }
    if (auto menu = currentMenu_.lock(); menu && menuIsOpen_) populate(*menu);
}

void DisplayBrightnessController::applicationWillTerminate() {
    isStopping_ = true;
    ++topologyGeneration_;
    ++scanGeneration_;
    cancelPendingWrites();
    closeShades();
}

// --- Readers ------------------------------------------------------------------------

std::shared_ptr<BrightnessSliderRow> DisplayBrightnessController::row(DisplayID id) const {
    auto found = rows_.find(id);
    return found == rows_.end() ? nullptr : found->second;
}

std::shared_ptr<BrightnessShadePanel> DisplayBrightnessController::shade(DisplayID id) const {
    auto found = shades_.find(id);
    return found == shades_.end() ? nullptr : found->second;
}

std::optional<double> DisplayBrightnessController::hardwareLevel(DisplayID id) const {
    auto found = hardwareLevels_.find(id);
    return found == hardwareLevels_.end() ? std::nullopt : std::optional<double>(found->second);
}

std::optional<double> DisplayBrightnessController::softwareLevel(DisplayID id) const {
    auto found = softwareLevels_.find(id);
    return found == softwareLevels_.end() ? std::nullopt : std::optional<double>(found->second);
}

}  // namespace tallowmere
