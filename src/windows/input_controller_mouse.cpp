// The left mouse button: title-bar drags with the palette and edge
// snapping, the menu-bar double click, arming the long press, and the
// hand-off of a possible text selection.
#include <array>
#include <cmath>
#include <string_view>

#include "localization/interface_language.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/window.h"
#include "quicklaunch/quick_launch_panel.h"
#include "windows/accessibility.h"
#include "windows/input_controller.h"
#include "windows/mouse_snap_palette.h"
#include "windows/screen_geometry.h"
#include "windows/selection_bar.h"
#include "windows/snap_engine.h"
#include "windows/snap_preview_overlay.h"

namespace tallowmere {

using platform::AXElement;
using platform::AXRect;
using platform::Event;
using platform::EventType;
using platform::ScreenPoint;

namespace {

// The text-input guard looks this far up from the element under a press.
constexpr int textInputWalk = 6;

constexpr std::array<std::string_view, 5> textInputRoles = {
    platform::AXRole::textField, platform::AXRole::textArea, platform::AXRole::comboBox, platform::AXRole::searchField,
    platform::AXRole::secureTextField};
// What the hit test finds on the bar itself, away from menus and status items.
constexpr std::array<std::string_view, 4> emptyMenuBarRoles = {"", platform::AXRole::menuBar,
                                                               platform::AXRole::application,
                                                               platform::AXRole::systemWide};

template <std::size_t N>
bool isOneOf(std::string_view role, const std::array<std::string_view, N>& roles) {
    return std::find(roles.begin(), roles.end(), role) != roles.end();
}

std::string role(const AXElement& element) {
    auto value = element.attribute(platform::AXAttribute::role);
    return value && value->asString() ? *value->asString() : std::string();
}

// The deepest element at a screen point; none when the hit test fails.
std::optional<AXElement> hitTest(ScreenPoint p) {
    const auto ax = ScreenGeometry::toAccessibility(p);
    // The hit test takes single-precision coordinates.
    auto hit = AXElement::systemWide().elementAtPosition({static_cast<float>(ax.x), static_cast<float>(ax.y)});
    if (!hit || !hit->isValid()) return std::nullopt;
    return *hit;
}

AXRect titleStrip(const AXRect& frame) {
    return {frame.origin, {frame.size.width, std::min(frame.size.height, InputController::titleStripHeight)}};
}

platform::Desktop& desktop() { return platform::DesktopLink::desktop(); }

}  // namespace

void InputController::handleMouse(const Event& event) {
    // The person is choosing an application for the exclusion list.
    if (selvanePanel_->isChoosingApplication()) return;
    const ScreenPoint p = desktop().input().mouseLocation();
    switch (event.type) {
        case EventType::leftMouseDown:
            mouseDown(event, p);
            break;
        case EventType::leftMouseDragged:
            mouseDragged(p);
            break;
        case EventType::leftMouseUp:
            mouseUp(event, p);
            break;
        default:
            break;
    }
}

// --- Press ------------------------------------------------------------------------------

void InputController::mouseDown(const Event& event, ScreenPoint p) {
    cancelPaletteAutoHide();
    quickLaunchPanel_->panel()->orderOut();
    selvanePanel_->hide();
    ++selvaneSelectionGeneration_;

    std::optional<std::string> frontmostBundle;
    if (auto front = desktop().frontmostApplication(); front && !front->bundleIdentifier().empty()) {
        frontmostBundle = front->bundleIdentifier();
    }
    selvaneSelectionOrigin_.reset();
    if (selvaneEnabled && !selvanePanel_->excludes(frontmostBundle)) selvaneSelectionOrigin_ = p;
    selvaneSelectionDragged_ = false;
    selvaneSelectionDoubleClicked_ = selvaneEnabled && event.clickCount > 1;

    const auto destination = LongPressDestinationPreference::current();
    if ((selvaneEnabled && destination == LongPressDestination::selvane) ||
        (quickLaunchEnabled && LongPressDestinationPreference::allowsQuickLaunch())) {
        scheduleQuickLaunchLongPress(p);
    }

    if (quickLaunchEnabled && event.clickCount >= 2 && openQuickLaunchFromMenuBar(p)) return;

    if (pressIsInTextInput(p)) {
        // Pressing in a text field is typing or selecting: quick launch
        // would be in the way, the selection bar may be what is wanted.
        if (!(selvaneEnabled && LongPressDestinationPreference::current() == LongPressDestination::selvane)) {
            cancelQuickLaunchLongPress();
        }
        return;
    }
    if (!mouseEnabled) return;
    trackTitleBarPress(p);
}

bool InputController::openQuickLaunchFromMenuBar(ScreenPoint p) {
    auto screen = ScreenGeometry::screenContainingMousePoint(p);
    if (!screen) return false;
    const double top = screen->frame().maxY();
    const double strip = std::max(minimumMenuBarStrip, top - screen->visibleFrame().maxY());
    if (p.y < top - strip || p.y > top) return false;
    if (auto hit = hitTest(p); hit && !isOneOf(role(*hit), emptyMenuBarRoles)) return false;

    screen = ScreenGeometry::screenContainingMousePoint(p);
    if (!screen) return false;
    cancelQuickLaunchLongPress();
    previewOverlay_->hide();
    resetPalette();
    clearDragState();
    selvaneSelectionOrigin_.reset();
    if (quickLaunchPanel_->show(p, screen, QuickLaunchPanel::Trigger::menuBarDoubleClick) && onAction) {
        onAction(L("已打开快捷启动"));
    }
    return true;
}

bool InputController::pressIsInTextInput(ScreenPoint p) const {
    auto element = hitTest(p);
    for (int step = 0; element && step < textInputWalk; ++step) {
        if (isOneOf(role(*element), textInputRoles)) return true;
        auto parent = element->attribute(platform::AXAttribute::parent);
        if (!parent || !parent->asElement()) break;
        element = *parent->asElement();
    }
    return false;
}

void InputController::trackTitleBarPress(ScreenPoint p) {
    auto window = Accessibility::windowAtCocoaPoint(p);
    if (!window || Accessibility::isOwnedByCurrentApplication(*window)) return;
    auto frame = Accessibility::frame(*window);
    if (!frame || !titleStrip(*frame).contains(ScreenGeometry::toAccessibility(p))) return;
    frame = Accessibility::frame(*window);
    if (!frame) return;
    auto screen = ScreenGeometry::screenContainingMousePoint(p);
    if (!screen) return;
    dragWindow_ = *window;
    dragInitialFrame_ = *frame;
    dragScreen_ = screen;
    dragTarget_.reset();
    mouseDownPoint_ = p;
    isWindowDrag_ = false;
    // A title-bar drag selects no text.
    selvaneSelectionOrigin_.reset();
}

// --- Drag ---------------------------------------------------------------------------------

void InputController::mouseDragged(ScreenPoint p) {
    if (quickLaunchLongPressOrigin_ && p.distanceTo(*quickLaunchLongPressOrigin_) > longPressSlop) {
        cancelQuickLaunchLongPress();
    }
    if (!dragWindow_) {
        if (selvaneSelectionOrigin_ && p.distanceTo(*selvaneSelectionOrigin_) >= selectionDragDistance) {
            selvaneSelectionDragged_ = true;
        }
        return;
    }
    if (!mouseEnabled || !mouseDownPoint_) return;
    const ScreenPoint down = *mouseDownPoint_;

    if (!isWindowDrag_) {
        if (p.distanceTo(down) < dragThreshold) return;
        // The press must still lie on the title strip of the window where
        // it is now (the application may already be moving it); the next
        // drag event tries again otherwise.
        auto frame = Accessibility::frame(*dragWindow_);
        if (!frame || !titleStrip(*frame).contains(ScreenGeometry::toAccessibility(down))) return;
        isWindowDrag_ = true;
        if (dragScreen_ && !mousePalette_->isVisible()) {
            mousePalette_->show(p, dragScreen_);
            scheduleMousePaletteAutoHide();
        }
        postAction(L("鼠标：拖入旁边的布局选项"));
    }

    if (auto screen = ScreenGeometry::screenContainingMousePoint(p); screen && screen != dragScreen_) {
        dragScreen_ = screen;
        if (mousePalette_->isVisible()) {
            mousePalette_->show(p, screen);
            scheduleMousePaletteAutoHide();
        }
    }

    const auto paletteTarget = mousePalette_->target(p);
    std::optional<AXRect> projected;
    if (dragInitialFrame_) projected = dragInitialFrame_->offsetBy(p.x - down.x, -(p.y - down.y));
    const auto target = paletteTarget ? paletteTarget : edgeSnapTarget(p, projected, dragScreen_);

    // Once the person aims at something the palette stays for good.
    if ((mousePalette_->isVisible() && mousePalette_->paletteWindow()->frame().contains(p)) || target) {
        cancelPaletteAutoHide();
    }
    dragTarget_ = target;
    if (mousePalette_->paletteView()->selectedTarget() != paletteTarget) {
        mousePalette_->paletteView()->setSelectedTarget(paletteTarget);
    }

    std::optional<AXRect> preview;
    if (target) {
        if (auto frame = Accessibility::frame(*dragWindow_)) preview = snapEngine_->targetFrame(*frame, *target, dragScreen_);
    }
    if (preview) {
        previewOverlay_->show(*preview);
    } else {
        previewOverlay_->hide();
    }
}

void InputController::scheduleMousePaletteAutoHide() {
    cancelPaletteAutoHide();
    mousePaletteAutoHideWorkItem_ =
        platform::AppContext::current().mainQueue().asyncAfter(MouseSnapPalette::automaticHideDelay, [weak = weak_from_this()] {
            auto self = weak.lock();
            if (!self || !self->isWindowDrag_ || !self->mousePalette_->isVisible()) return;
            self->mousePaletteAutoHideWorkItem_.reset();
            self->dragTarget_.reset();
            self->previewOverlay_->hide();
            self->mousePalette_->paletteView()->setSelectedTarget(std::nullopt);
            self->mousePalette_->fadeOut(MouseSnapPalette::automaticHideFade);
        });
}

std::optional<SnapTarget> InputController::edgeSnapTarget(ScreenPoint p, std::optional<AXRect> projectedFrame,
                                                          const std::shared_ptr<platform::Screen>& screen) const {
    // The choice rests on the pointer alone; the projected frame is kept
    // for callers that may want it.
    (void)projectedFrame;
    if (!edgeSnapEnabled || !screen) return std::nullopt;
    const double y = ScreenGeometry::mainHeight() - p.y;
    const AXRect visible = ScreenGeometry::toAccessibility(screen->visibleFrame());
    // Distances to the edge lines, so the menu bar and the Dock beyond the
    // visible frame count as the edge too.
    const double dl = std::abs(p.x - visible.minX()), dr = std::abs(p.x - visible.maxX());
    const double dt = std::abs(y - visible.minY()), db = std::abs(y - visible.maxY());
    const double d = mouseEdgeSnapDistance;
    const bool nearSide = std::min(dl, dr) <= d;
    if (dt <= d && nearSide) return dl <= d ? SnapTarget::topLeft : SnapTarget::topRight;
    if (db <= d) {
        if (dt <= d || nearSide) {
            if (dl <= d) return SnapTarget::bottomLeft;
            if (dr <= d) return SnapTarget::bottomRight;
            return SnapTarget::top;
        }
        return SnapTarget::bottom;
    }
    if (dt <= d) return SnapTarget::top;
    if (dl <= d) return SnapTarget::left;
    if (dr <= d) return SnapTarget::right;
    return std::nullopt;
}

// --- Release ------------------------------------------------------------------------------

void InputController::mouseUp(const Event& event, ScreenPoint p) {
    cancelPaletteAutoHide();
    const bool wasLongPress = quickLaunchLongPressTriggered;
    quickLaunchLongPressTriggered = false;
    cancelQuickLaunchLongPress();

    const auto window = dragWindow_;
    const auto screen = dragScreen_;
    const auto target = dragTarget_;
    const bool wasWindowDrag = isWindowDrag_;
    const bool dragged = selvaneSelectionDragged_;
    const bool doubleClick = selvaneSelectionOrigin_ && (selvaneSelectionDoubleClicked_ || event.clickCount > 1);

    previewOverlay_->hide();
    resetPalette();
    clearDragState();
    selvaneSelectionOrigin_.reset();
    selvaneSelectionDragged_ = false;
    selvaneSelectionDoubleClicked_ = false;

    if (wasWindowDrag) {
        if (window && screen && target) finishTitleBarDrag(window, screen, target);
        return;
    }

    auto front = desktop().frontmostApplication();
    if (wasLongPress || !(dragged || doubleClick) || !selvaneEnabled || !desktop().accessibility().isProcessTrusted() ||
        !front) {
        return;
    }
    const std::int64_t generation = selvaneSelectionGeneration_;
    const pid_t sourcePID = front->processIdentifier();
    platform::AppContext::current().mainQueue().asyncAfter(
        selectionHandOffDelay, [weak = weak_from_this(), p, generation, sourcePID] {
            if (auto self = weak.lock()) self->showSelvaneSelection(p, generation, sourcePID);
        });
}

void InputController::finishTitleBarDrag(const std::optional<AXElement>& window,
                                         const std::shared_ptr<platform::Screen>& screen,
                                         std::optional<SnapTarget> target) {
    bool placed = false;
    if (desktop().accessibility().isProcessTrusted()) {
        auto frame = Accessibility::frame(*window);
        auto targetFrame = frame ? snapEngine_->targetFrame(*frame, *target, screen) : std::nullopt;
        if (targetFrame) {
            (void)Accessibility::setMinimized(false, *window);
            // A window that refuses the frame has not been placed.
            placed = Accessibility::setFrame(targetFrame->integral(), *window);
        }
    }
    postAction(placed ? "鼠标：" + title(*target) : L("鼠标贴靠失败"));
}

// --- The program's own windows ------------------------------------------------------------

std::optional<Event> InputController::handleLocalMouse(const Event& event) {
    const ScreenPoint p = desktop().input().mouseLocation();
    auto window = platform::Application::shared().windowWithNumber(event.windowNumber);

    if (event.type == EventType::leftMouseDown && mouseEnabled && window && window == mainWindow_.lock() &&
        !window->isFullScreen() && event.clickCount == 1) {
        const auto local = window->locationInWindow(event.location);
        if (local.y >= window->contentLayoutRect().maxY() && local.x > ownWindowButtonArea) {
            cancelQuickLaunchLongPress();
            cancelPaletteAutoHide();
            selvanePanel_->hide();
            quickLaunchPanel_->panel()->orderOut();
            previewOverlay_->hide();
            resetPalette();
            nativeDragWindow_ = window;
            nativeDragOrigin_ = p;
            nativeDragFrame_ = window->frame();
            dragScreen_ = ScreenGeometry::screenContainingMousePoint(p);
            dragTarget_.reset();
            isWindowDrag_ = false;
            return std::nullopt;
        }
    }

    if (!nativeDragWindow_.expired() && nativeDragOrigin_ && nativeDragFrame_ &&
        (event.type == EventType::leftMouseDragged || event.type == EventType::leftMouseUp)) {
        return ownWindowDrag(event, p);
    }

    if (window && window->level() == platform::WindowLevel::normal && event.type == EventType::leftMouseDown) {
        ownWindowPressElsewhere();
    }
    return event;
}

std::optional<Event> InputController::ownWindowDrag(const Event& event, ScreenPoint p) {
    auto window = nativeDragWindow_.lock();
    const ScreenPoint origin = *nativeDragOrigin_;
    const platform::ScreenRect startFrame = *nativeDragFrame_;
    const AXRect startFrameAX = ScreenGeometry::toAccessibility(startFrame);

    if (event.type == EventType::leftMouseDragged) {
        if (!isWindowDrag_ && p.distanceTo(origin) < dragThreshold) return std::nullopt;
        auto screen = ScreenGeometry::screenContainingMousePoint(p);
        if (!isWindowDrag_ || screen != dragScreen_) {
            dragScreen_ = screen;
            if (screen) {
                mousePalette_->show(p, screen);
                scheduleMousePaletteAutoHide();
            }
        }
        isWindowDrag_ = true;
        window->setFrameOrigin({startFrame.minX() + p.x - origin.x, startFrame.minY() + p.y - origin.y});

        const auto paletteTarget = mousePalette_->target(p);
        dragTarget_ = paletteTarget ? paletteTarget : edgeSnapTarget(p, std::nullopt, screen);
        if (mousePalette_->paletteView()->selectedTarget() != paletteTarget) {
            mousePalette_->paletteView()->setSelectedTarget(paletteTarget);
        }
        if ((mousePalette_->isVisible() && mousePalette_->paletteWindow()->frame().contains(p)) || dragTarget_) {
            cancelPaletteAutoHide();
        }
        auto preview = dragTarget_ ? snapEngine_->targetFrame(startFrameAX, *dragTarget_, screen) : std::nullopt;
        if (preview) {
            previewOverlay_->show(*preview);
        } else {
            previewOverlay_->hide();
        }
        return std::nullopt;
    }

    // Released: the program places its own window itself, without a message.
    if (isWindowDrag_ && dragTarget_) {
        if (auto placed = snapEngine_->targetFrame(startFrameAX, *dragTarget_, dragScreen_)) {
            window->setFrame(ScreenGeometry::toScreen(placed->integral()), true);
        }
    }
    cancelPaletteAutoHide();
    previewOverlay_->hide();
    resetPalette();
    clearNativeDrag();
    return std::nullopt;
}

void InputController::ownWindowPressElsewhere() {
    cancelQuickLaunchLongPress();
    cancelPaletteAutoHide();
    selvanePanel_->hide();
    quickLaunchPanel_->panel()->orderOut();
    previewOverlay_->hide();
    resetPalette();
    ++selvaneSelectionGeneration_;
    selvaneSelectionOrigin_.reset();
    selvaneSelectionDragged_ = false;
    selvaneSelectionDoubleClicked_ = false;
    clearDragState();
}

// --- Shared steps ---------------------------------------------------------------------------

void InputController::cancelPaletteAutoHide() {
    if (mousePaletteAutoHideWorkItem_) mousePaletteAutoHideWorkItem_->cancel();
    mousePaletteAutoHideWorkItem_.reset();
}

void InputController::resetPalette() { mousePalette_->reset(); }

void InputController::clearDragState() {
    dragWindow_.reset();
    dragInitialFrame_.reset();
    dragTarget_.reset();
    dragScreen_.reset();
    mouseDownPoint_.reset();
    isWindowDrag_ = false;
}

void InputController::clearNativeDrag() {
    nativeDragWindow_.reset();
    nativeDragOrigin_.reset();
    nativeDragFrame_.reset();
    dragTarget_.reset();
    dragScreen_.reset();
    isWindowDrag_ = false;
}

}  // namespace tallowmere
