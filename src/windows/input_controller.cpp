#include "windows/input_controller.h"

#include <cmath>

#include "localization/interface_language.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/work_item.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/desktop_link.h"
#include "quicklaunch/quick_launch_panel.h"
#include "windows/mouse_snap_palette.h"
#include "windows/screen_geometry.h"
#include "windows/selection_bar.h"
#include "windows/snap_preview_overlay.h"

namespace tallowmere {

using platform::Event;
using platform::EventMask;
using platform::EventType;
using platform::ScreenPoint;

namespace {

constexpr EventMask scrollMask = platform::eventMask(EventType::scrollWheel);
constexpr EventMask leftMouseMask = platform::eventMask(EventType::leftMouseDown) |
                                    platform::eventMask(EventType::leftMouseUp) |
                                    platform::eventMask(EventType::leftMouseDragged);

// Stands in for the selection bar where none was handed over.
class NoSelectionBar final : public SelectionBar {
public:
    void hide() override {}
    bool isChoosingApplication() const override { return false; }
    bool excludes(const std::optional<std::string>&) const override { return false; }
    void showSelection(ScreenPoint, const std::shared_ptr<platform::Screen>&) override {}
    bool isSecureInput(ScreenPoint) override { return false; }
    std::optional<std::string> selectedText(ScreenPoint) override { return std::nullopt; }
    std::shared_ptr<const SelectionStyle> selectedTextStyle(ScreenPoint) override { return nullptr; }
    void readPageStyle(std::string, std::function<void(PageStyleReading)>) override {}
    void show(std::string, ScreenPoint, const std::shared_ptr<platform::Screen>&, bool,
              std::shared_ptr<const SelectionStyle>, std::optional<std::string>) override {}
};

platform::MainQueue& mainQueue() { return platform::AppContext::current().mainQueue(); }

}  // namespace

std::shared_ptr<InputController> InputController::make(std::shared_ptr<SnapEngine> snapEngine,
                                                       std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                                                       std::shared_ptr<SelectionBar> selectionBar) {
    std::shared_ptr<InputController> controller(
        new InputController(std::move(snapEngine), std::move(quickLaunchStore), std::move(selectionBar)));
    // The panel's status texts go wherever the controller's go, while both exist.
    controller->quickLaunchPanel_->onAction = [weak = std::weak_ptr<InputController>(controller)](const std::string& text) {
        auto owner = weak.lock();
        if (owner && owner->onAction) owner->onAction(text);
    };
    controller->quickLaunchPanel_->allowsLongPress = [] { return LongPressDestinationPreference::allowsQuickLaunch(); };
    return controller;
}

InputController::InputController(std::shared_ptr<SnapEngine> snapEngine, std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                                 std::shared_ptr<SelectionBar> selectionBar)
    : snapEngine_(std::move(snapEngine)),
      previewOverlay_(std::make_unique<SnapPreviewOverlay>()),
      mousePalette_(std::make_unique<MouseSnapPalette>()),
      quickLaunchPanel_(std::make_shared<QuickLaunchPanel>(std::move(quickLaunchStore))),
      selvanePanel_(selectionBar ? std::move(selectionBar) : std::make_shared<NoSelectionBar>()) {}

InputController::~InputController() {
    if (!platform::AppContext::hasCurrent()) return;
    cancelQuickLaunchLongPress();
    cancelPaletteAutoHide();
    auto* monitors = platform::AppContext::current().sharedIfMade<platform::EventMonitors>();
    if (!monitors) return;
    for (const auto& token : {gestureMonitor_, mouseMonitor_, localMouseMonitor_}) {
        if (token) monitors->removeMonitor(*token);
    }
}

// --- Monitors ----------------------------------------------------------------------

void InputController::updateGestureMonitor() {
    auto& monitors = platform::EventMonitors::shared();
    if (gestureMonitor_) monitors.removeMonitor(*gestureMonitor_);
    gestureMonitor_.reset();
    if (gestureWindow_) resetGesture();
    if (!gestureEnabled) return;
    gestureMonitor_ = monitors.addGlobalMonitor(scrollMask, [weak = weak_from_this()](const Event& event) {
        if (auto self = weak.lock()) self->handleGesture(event);
    });
}

void InputController::updateMouseMonitor() {
    auto& monitors = platform::EventMonitors::shared();
    if (mouseMonitor_) monitors.removeMonitor(*mouseMonitor_);
    if (localMouseMonitor_) monitors.removeMonitor(*localMouseMonitor_);
    mouseMonitor_.reset();
    localMouseMonitor_.reset();
    cancelQuickLaunchLongPress();
    cancelPaletteAutoHide();
    if (!mouseEnabled && !quickLaunchEnabled && !selvaneEnabled) return;
    const std::weak_ptr<InputController> weak = weak_from_this();
    mouseMonitor_ = monitors.addGlobalMonitor(leftMouseMask, [weak](const Event& event) {
        if (auto self = weak.lock()) self->handleMouse(event);
    });
    localMouseMonitor_ = monitors.addLocalMonitor(leftMouseMask, [weak](const Event& event) -> std::optional<Event> {
        auto self = weak.lock();
        if (!self) return event;
        return self->handleLocalMouse(event);
    });
}

// --- Long press ----------------------------------------------------------------------

void InputController::cancelQuickLaunchLongPress() {
    ++longPressGeneration_;
    if (quickLaunchLongPressWorkItem_) quickLaunchLongPressWorkItem_->cancel();
    quickLaunchLongPressWorkItem_.reset();
    quickLaunchLongPressOrigin_.reset();
}

void InputController::scheduleQuickLaunchLongPress(ScreenPoint point) {
    cancelQuickLaunchLongPress();
    const std::int64_t generation = longPressGeneration_;
    const LongPressDestination destination = LongPressDestinationPreference::current();
    switch (destination) {
        case LongPressDestination::disabled:
            return;
        case LongPressDestination::quickLaunch:
            if (!quickLaunchEnabled || !LongPressDestinationPreference::allowsQuickLaunch()) return;
            break;
        case LongPressDestination::selvane:
            if (!selvaneEnabled) return;
            break;
    }
    std::optional<pid_t> frontmost;
    if (auto front = platform::DesktopLink::desktop().frontmostApplication()) frontmost = front->processIdentifier();
    quickLaunchLongPressOrigin_ = point;
    quickLaunchLongPressTriggered = false;
    quickLaunchLongPressWorkItem_ =
        mainQueue().asyncAfter(longPressDelay, [weak = weak_from_this(), generation, destination, frontmost] {
            if (auto self = weak.lock()) self->fireLongPress(generation, destination, frontmost);
        });
}

void InputController::fireLongPress(std::int64_t generation, LongPressDestination destination,
                                    std::optional<pid_t> frontmostAtPress) {
    // The generation moves on with every cancellation, and the destination
    // may have been changed in the settings meanwhile.
    if (generation != longPressGeneration_ || LongPressDestinationPreference::current() != destination) return;
    if (destination == LongPressDestination::quickLaunch &&
        (!quickLaunchEnabled || !LongPressDestinationPreference::allowsQuickLaunch())) {
        return;
    }
    if (destination == LongPressDestination::selvane && !selvaneEnabled) return;
    auto& desktop = platform::DesktopLink::desktop();
    if ((desktop.input().pressedMouseButtons() & 1u) == 0 || !quickLaunchLongPressOrigin_) return;
    const ScreenPoint pointer = desktop.input().mouseLocation();
    if (pointer.distanceTo(*quickLaunchLongPressOrigin_) > longPressSlop) return;
    auto screen = ScreenGeometry::screenContainingMousePoint(pointer);
    if (!screen) return;

    if (destination == LongPressDestination::quickLaunch) {
        quickLaunchLongPressWorkItem_.reset();
        quickLaunchLongPressTriggered = true;
        previewOverlay_->hide();
        resetPalette();
        selvanePanel_->hide();
        clearDragState();
        if (quickLaunchPanel_->show(pointer, screen, QuickLaunchPanel::Trigger::longPress) && onAction) {
            onAction(L("已打开快捷启动"));
        }
        return;
    }

    std::optional<pid_t> frontmost;
    std::optional<std::string> bundleIdentifier;
    if (auto front = desktop.frontmostApplication()) {
        frontmost = front->processIdentifier();
        bundleIdentifier = front->bundleIdentifier();
    }
    if (!desktop.accessibility().isProcessTrusted() || frontmost != frontmostAtPress ||
        selvanePanel_->isChoosingApplication() || selvanePanel_->excludes(bundleIdentifier)) {
        return;
    }
    quickLaunchLongPressWorkItem_.reset();
    quickLaunchLongPressTriggered = true;
    quickLaunchPanel_->panel()->orderOut();
    selvanePanel_->showSelection(pointer, screen);
}

// --- Selection trigger -----------------------------------------------------------------

bool InputController::keyPressedRecently() const {
    // Exactly the quiet time still counts as recent: a key that close to the
    // read means the person is typing (Command-C, say), not selecting. In
    // whole microseconds, so sums of delays do not decide by a rounding error.
    const double since = platform::DesktopLink::desktop().input().secondsSinceLastEvent(EventType::keyDown);
    return std::llround(since * 1e6) <= std::llround(recentKeySeconds * 1e6);
}

bool InputController::isSelvaneAttemptStale(std::int64_t generation, pid_t sourcePID) const {
    auto& desktop = platform::DesktopLink::desktop();
    if (selvanePanel_->isChoosingApplication() || !selvaneEnabled || generation != selvaneSelectionGeneration_) {
        return true;
    }
    auto front = desktop.frontmostApplication();
    if (front && selvanePanel_->excludes(front->bundleIdentifier())) return true;
    if (!front || front->processIdentifier() != sourcePID) return true;
    // A button still down means the selection is not finished.
    if (desktop.input().pressedMouseButtons() != 0) return true;
    if (sourcePID == desktop.currentProcessIdentifier()) return true;
    return keyPressedRecently();
}

void InputController::scheduleSelvaneSelection(double delay, ScreenPoint point, std::int64_t generation,
                                               pid_t sourcePID, std::int64_t attempt,
                                               std::optional<std::string> stableText, std::int64_t styleAttempt) {
    // A newer selection never cancels this step: it expires by the generation.
    mainQueue().asyncAfter(delay, [weak = weak_from_this(), point, generation, sourcePID, attempt,
                                   stableText = std::move(stableText), styleAttempt] {
        if (auto self = weak.lock()) {
            self->showSelvaneSelection(point, generation, sourcePID, attempt, stableText, styleAttempt);
        }
    });
}

void InputController::showSelvaneSelection(ScreenPoint point, std::int64_t generation, pid_t sourcePID,
                                           std::int64_t attempt, std::optional<std::string> stableText,
                                           std::int64_t styleAttempt) {
    if (isSelvaneAttemptStale(generation, sourcePID)) return;
    auto screen = ScreenGeometry::screenContainingMousePoint(point);
    if (screen && selvanePanel_->isSecureInput(point)) {
        selvanePanel_->show(std::string(), point, screen, true, nullptr, std::nullopt);
        return;
    }

    auto text = selvanePanel_->selectedText(point);
    if (!text || !screen) {
        if (attempt < lastSelectionAttempt) {
            scheduleSelvaneSelection(selectionEmptyRetryDelay, point, generation, sourcePID, attempt + 1, std::nullopt, 0);
        }
        return;
    }
    if (stableText != text) {
        if (attempt < lastSelectionAttempt) {
            scheduleSelvaneSelection(selectionStabilityDelay, point, generation, sourcePID, attempt + 1, text, 0);
        }
        return;
    }

    auto style = selvanePanel_->selectedTextStyle(point);
    if (!style && styleAttempt < lastStyleAttempt) {
        scheduleSelvaneSelection(selectionStyleRetryDelay, point, generation, sourcePID, attempt, stableText,
                                 styleAttempt + 1);
        return;
    }

    auto source = platform::DesktopLink::desktop().application(sourcePID);
    if (source && source->bundleIdentifier() == chromeBundleIdentifier && !style) {
        if (platform::UserDefaults::standard().boolean(chromeStyleEnabledKey)) {
            selvanePanel_->readPageStyle(
                *text, [weak = weak_from_this(), point, generation, sourcePID, stableText = *text, screen,
                        style](SelectionBar::PageStyleReading reading) {
                    if (auto self = weak.lock()) {
                        self->showChromeSelection(point, generation, sourcePID, stableText, screen, style,
                                                  std::move(reading));
                    }
                });
            return;
        }
        selvanePanel_->show(std::move(*text), point, screen, false, nullptr, std::string(chromeStyleOffNote));
        return;
    }
    selvanePanel_->show(std::move(*text), point, screen, false, std::move(style), std::nullopt);
}

void InputController::showChromeSelection(ScreenPoint point, std::int64_t generation, pid_t sourcePID,
                                          const std::string& stableText,
                                          const std::shared_ptr<platform::Screen>& screen,
                                          std::shared_ptr<const SelectionStyle> accessibilityStyle,
                                          SelectionBar::PageStyleReading reading) {
    // The read may have taken seconds: the person may have moved on.
    auto& desktop = platform::DesktopLink::desktop();
    if (!selvaneEnabled || !platform::UserDefaults::standard().boolean(chromeStyleEnabledKey) ||
        generation != selvaneSelectionGeneration_) {
        return;
    }
    auto front = desktop.frontmostApplication();
    if (!front || front->processIdentifier() != sourcePID) return;
    if (selvanePanel_->isChoosingApplication() || selvanePanel_->excludes(std::string(chromeBundleIdentifier))) return;
    if (desktop.input().pressedMouseButtons() != 0 || selvanePanel_->isSecureInput(point) || keyPressedRecently()) {
        return;
    }
    if (selvanePanel_->selectedText(point) != stableText) return;
    auto style = reading.style ? std::move(reading.style) : std::move(accessibilityStyle);
    selvanePanel_->show(stableText, point, screen, false, std::move(style), std::move(reading.note));
}

// --- Status texts ----------------------------------------------------------------------

void InputController::postAction(std::string text) {
    mainQueue().async([weak = weak_from_this(), text = std::move(text)] {
        auto self = weak.lock();
        if (self && self->onAction) self->onAction(text);
    });
}

}  // namespace tallowmere
