#include "platform/ui/window.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/layer_animation_ticker.h"
#include "platform/ui/ui_trace.h"
#include "platform/ui/view.h"
#include "platform/ui/view_event_router.h"
#include "platform/ui/window_controller.h"

namespace tallowmere::platform {

Window::Window(MakeKey, ScreenRect contentRect, WindowStyleMask style)
    : styleMask_(style) {
    viewRouter_ = ViewEventRouter::make();
    frame_ = frameRectForContentRect(contentRect);
}

Window::~Window() {
    if (frameAnimation_) frameAnimation_->cancel();
    if (alphaAnimation_) alphaAnimation_->cancel();
    if (auto desktop = desktop_.lock(); desktop && windowNumber_ != 0) {
        desktop->windowServer().removeOwnWindow(windowNumber_);
    }
}

void Window::didMake() {
    auto& desktop = DesktopLink::desktop();
    desktop_ = desktop.weak_from_this();
    auto& server = desktop.windowServer();
    OwnWindowSpec spec;
    spec.frame = frame_;
    spec.title = title_;
    spec.level = level_;
    spec.visible = false;
    spec.alpha = alpha_;
    spec.ignoresMouseEvents = ignoresMouseEvents_;
    spec.subrole = dynamic_cast<const Panel*>(this) ? "AXFloatingWindow"
                   : styleMask_.contains(WindowStyleMask::titled) ? "AXStandardWindow"
                                                                   : "AXUnknown";
    windowNumber_ = server.registerOwnWindow(spec);
    Application::shared().registerWindow(shared_from_this());
}

void Window::trace(const std::string& what, const std::string& details) const {
    if (!tracesOrdering_) return;
    std::string line = what + " " + quotedForTrace(title_) + " #" + std::to_string(windowNumber_);
    if (!details.empty()) line += " " + details;
    UiTrace::shared().record(line);
}

// --- Identity and look -----------------------------------------------------

void Window::setTitle(std::string title) {
    title_ = std::move(title);
    DesktopLink::desktop().windowServer().setOwnWindowTitle(windowNumber_, title_);
}

void Window::setStyleMask(WindowStyleMask mask) {
    // The content keeps its place on screen; the frame grows or shrinks by
    // the title bar.
    const auto content = contentRectForFrameRect(frame_);
    styleMask_ = mask;
    applyFrame(frameRectForContentRect(content));
}

void Window::setLevel(int level) {
    level_ = level;
    DesktopLink::desktop().windowServer().setOwnWindowLevel(windowNumber_, level);
}

void Window::setAlphaValue(double alpha) {
    if (alphaAnimation_) alphaAnimation_->cancel();
    alphaAnimation_.reset();
    applyAlpha(std::clamp(alpha, 0.0, 1.0));
}

void Window::applyAlpha(double alpha) {
    const bool wasOnScreen = isOnScreen();
    alpha_ = alpha;
    DesktopLink::desktop().windowServer().setOwnWindowAlpha(windowNumber_, alpha_);
    if (isOnScreen() != wasOnScreen) onScreenDidChange();
}

void Window::onScreenDidChange() {
    const std::string kind = dynamic_cast<const Panel*>(this) ? "panel" : "window";
    if (isOnScreen()) {
        trace(kind + " shown", "level " + std::to_string(level_) + " at " + rectForTrace(frame_));
    } else {
        trace(kind + " hidden");
    }
    if (auto* ticker = LayerAnimationTicker::sharedIfMade()) ticker->visibilityMayHaveChanged();
}

void Window::setIgnoresMouseEvents(bool ignores) {
    ignoresMouseEvents_ = ignores;
    DesktopLink::desktop().windowServer().setOwnWindowIgnoresMouseEvents(windowNumber_, ignores);
}

// --- Geometry ----------------------------------------------------------------

ScreenRect Window::contentRectForFrameRect(ScreenRect frame) const {
    if (styleMask_.isBorderless() || styleMask_.contains(WindowStyleMask::fullSizeContentView) || isFullScreen()) {
        return frame;
    }
    return {frame.minX(), frame.minY(), frame.width(), std::max(0.0, frame.height() - titleBarHeight)};
}

ScreenRect Window::frameRectForContentRect(ScreenRect content) const {
    if (styleMask_.isBorderless() || styleMask_.contains(WindowStyleMask::fullSizeContentView) || isFullScreen()) {
        return content;
    }
    return {content.minX(), content.minY(), content.width(), content.height() + titleBarHeight};
}

Rect Window::contentLayoutRect() const {
    const double height = styleMask_.isBorderless() || isFullScreen()
                              ? frame_.height()
                              : std::max(0.0, frame_.height() - titleBarHeight);
    return {0, 0, frame_.width(), height};
}

void Window::setFrame(ScreenRect frame, bool /*display*/) {
    if (frameAnimation_) frameAnimation_->cancel();
    frameAnimation_.reset();
    applyFrame(frame);
}

std::shared_ptr<Animation> Window::setFrame(ScreenRect frame, bool display, bool animate, AnimationTiming timing) {
    if (!animate) {
        setFrame(frame, display);
        return nullptr;
    }
    if (frameAnimation_) frameAnimation_->cancel();
    const ScreenRect from = frame_;
    std::weak_ptr<Window> weak = weak_from_this();
    frameAnimation_ = Animation::make(timing, [weak, from, frame](double p) {
        auto self = weak.lock();
        if (!self) return;
        auto mix = [p](double a, double b) { return a + (b - a) * p; };
        self->applyFrame({mix(from.minX(), frame.minX()), mix(from.minY(), frame.minY()),
                          mix(from.width(), frame.width()), mix(from.height(), frame.height())});
    });
    frameAnimation_->start();
    return frameAnimation_;
}

void Window::applyFrame(ScreenRect frame) {
    const bool moved = frame.origin != frame_.origin;
    const bool resized = frame.size != frame_.size;
    frame_ = frame;
    if (windowNumber_ != 0) DesktopLink::desktop().windowServer().setOwnWindowFrame(windowNumber_, frame_);
    if (resized && contentView_) {
        const auto content = contentRectForFrameRect(frame_);
        contentView_->setFrame({0, 0, content.width(), content.height()});
    }
    if (attachedSheet_) placeAttachedSheet();
    auto owner = delegate();
    if (!owner) return;
    if (resized) owner->windowDidResize(*this);
    if (moved) owner->windowDidMove(*this);
}

void Window::setFrameOrigin(ScreenPoint origin) { setFrame({origin, frame_.size}); }

void Window::setFrameTopLeftPoint(ScreenPoint topLeft) {
    setFrame({topLeft.x, topLeft.y - frame_.height(), frame_.width(), frame_.height()});
}

void Window::setContentSize(Size size) {
    const auto content = contentRectForFrameRect(frame_);
    const double top = content.maxY();
    setFrame(frameRectForContentRect({content.minX(), top - size.height, size.width, size.height}));
}

void Window::setMinSize(Size size) { minSize_ = size; }
void Window::setMaxSize(std::optional<Size> size) { maxSize_ = size; }

ScreenRect Window::constrainFrameRect(ScreenRect frame, const std::shared_ptr<Screen>& screen) const {
    if (styleMask_.isBorderless() || !screen) return frame;
    // The title bar stays reachable: never above the menu bar.
    const double top = screen->visibleFrame().maxY();
    if (frame.maxY() > top) frame = frame.offsetBy(0, top - frame.maxY());
    return frame;
}

std::shared_ptr<Screen> Window::screen() const {
    auto& desktop = DesktopLink::desktop();
    std::shared_ptr<Screen> best;
    double bestArea = 0;
    for (const auto& candidate : desktop.screens().screens()) {
        const auto overlap = candidate->frame().intersection(frame_);
        const double area = overlap.width() * overlap.height();
        if (area > bestArea) {
            bestArea = area;
            best = candidate;
        }
    }
    return best;
}

void Window::center() {
    auto target = screen();
    if (!target) target = DesktopLink::mainScreen();
    if (!target) return;
    const auto area = target->visibleFrame();
    // A little above the middle: a third of the free height above the window,
    // two thirds below it.
    const double x = area.midX() - frame_.width() / 2;
    const double y = area.minY() + (area.height() - frame_.height()) * 2 / 3;
    setFrameOrigin({std::floor(x), std::floor(y)});
}

// --- Ordering and key status --------------------------------------------------

void Window::orderIn() {
    auto& server = DesktopLink::desktop().windowServer();
    if (!visible_) {
        const auto constrained = constrainFrameRect(frame_, screen());
        if (constrained != frame_) applyFrame(constrained);
        visible_ = true;
        miniaturized_ = false;
        server.orderOwnWindow(windowNumber_, WindowOrderingMode::above);
        // A transparent window comes in unseen; it shows when it gets alpha.
        if (isOnScreen()) onScreenDidChange();
        return;
    }
    server.orderOwnWindow(windowNumber_, WindowOrderingMode::above);
}

void Window::orderFront() { orderIn(); }
void Window::orderFrontRegardless() { orderIn(); }

void Window::orderBack() {
    if (!visible_) orderIn();
    DesktopLink::desktop().windowServer().orderOwnWindow(windowNumber_, WindowOrderingMode::below);
}

void Window::orderOut() {
    if (!visible_) return;
    const bool wasOnScreen = isOnScreen();
    visible_ = false;
    DesktopLink::desktop().windowServer().orderOwnWindow(windowNumber_, WindowOrderingMode::out);
    if (isKeyWindow()) resignKey();
    if (wasOnScreen) onScreenDidChange();
}

void Window::makeKeyAndOrderFront() {
    orderFront();
    makeKey();
}

bool Window::canBecomeKey() const {
    return styleMask_.contains(WindowStyleMask::titled) || styleMask_.contains(WindowStyleMask::resizable);
}

bool Window::canBecomeMain() const { return styleMask_.contains(WindowStyleMask::titled); }

void Window::makeKey() {
    if (!canBecomeKey() || isKeyWindow()) return;
    auto& application = Application::shared();
    if (auto previous = application.keyWindow(); previous && previous.get() != this) previous->resignKey();
    application.windowBecameKey(shared_from_this());
    DesktopLink::desktop().windowServer().setKeyWindow(windowNumber_);
    viewRouter_->setWindowIsKey(true);
    if (!hasBeenKey_) {
        hasBeenKey_ = true;
        if (auto initial = initialFirstResponder.lock()) makeFirstResponder(initial);
    }
    if (canBecomeMain()) makeMain();
    if (auto owner = delegate()) owner->windowDidBecomeKey(*this);
}

void Window::resignKey() {
    auto& application = Application::shared();
    application.windowResignedKey(*this);
    if (DesktopLink::desktop().windowServer().keyWindowNumber() == windowNumber_) {
        DesktopLink::desktop().windowServer().setKeyWindow(0);
    }
    viewRouter_->setWindowIsKey(false);
    if (auto owner = delegate()) owner->windowDidResignKey(*this);
}

void Window::makeMain() {
    if (!canBecomeMain()) return;
    Application::shared().windowBecameMain(shared_from_this());
}

bool Window::isKeyWindow() const { return Application::shared().keyWindow().get() == this; }
bool Window::isMainWindow() const { return Application::shared().mainWindow().get() == this; }

void Window::miniaturize() {
    if (miniaturized_ || !visible_) return;
    orderOut();
    miniaturized_ = true;
}

void Window::deminiaturize() {
    if (!miniaturized_) return;
    miniaturized_ = false;
    orderFront();
}

void Window::toggleFullScreen() {
    if (isFullScreen()) {
        styleMask_.rawValue &= ~WindowStyleMask::fullScreen;
        setFrame(frameBeforeFullScreen_.value_or(frame_));
        frameBeforeFullScreen_.reset();
        return;
    }
    auto target = screen();
    if (!target) target = DesktopLink::mainScreen();
    if (!target) return;
    frameBeforeFullScreen_ = frame_;
    styleMask_.rawValue |= WindowStyleMask::fullScreen;
    setFrame(target->frame());
}

void Window::performClose() {
    if (!styleMask_.contains(WindowStyleMask::closable)) return;
    if (auto owner = delegate(); owner && !owner->windowShouldClose(*this)) return;
    close();
}

void Window::close() {
    auto keepAlive = shared_from_this();
    if (auto owner = delegate()) owner->windowWillClose(*this);
    const bool wasVisible = visible_;
    if (attachedSheet_) endSheet(attachedSheet_);
    if (auto parent = sheetParent()) parent->endSheet(keepAlive);
    orderOut();
    miniaturized_ = false;
    if (wasVisible) trace("window closed");
    Application::shared().windowClosed(*this);
}

// --- Sheets ---------------------------------------------------------------------------

bool Window::beginSheet(const std::shared_ptr<Window>& sheet) {
    if (!sheet || sheet.get() == this || attachedSheet_ || sheet->sheetParent()) return false;
    attachedSheet_ = sheet;
    sheet->sheetParent_ = weak_from_this();
    placeAttachedSheet();
    sheet->setLevel(std::max(sheet->level(), level_));
    sheet->makeKeyAndOrderFront();
    sheet->trace("sheet attached", "to " + quotedForTrace(title_));
    return true;
}

void Window::endSheet(const std::shared_ptr<Window>& sheet) {
    if (!sheet || attachedSheet_ != sheet) return;
    attachedSheet_.reset();
    sheet->sheetParent_.reset();
    sheet->orderOut();
    if (visible_) makeKeyAndOrderFront();
}

void Window::placeAttachedSheet() {
    const auto size = attachedSheet_->frame().size;
    attachedSheet_->setFrameOrigin({frame_.midX() - size.width / 2, frame_.maxY() - titleBarHeight - size.height});
}

// --- Contents ----------------------------------------------------------------------

void Window::setContentView(std::shared_ptr<View> view) {
    if (contentView_ == view) return;
    if (contentView_) contentView_->setWindowOfTree({});
    contentView_ = std::move(view);
    viewRouter_->setRootView(contentView_);
    if (!contentView_) return;
    const auto content = contentRectForFrameRect(frame_);
    contentView_->setFrame({0, 0, content.width(), content.height()});
    contentView_->setWindowOfTree(weak_from_this());
}

std::shared_ptr<View> Window::firstResponder() const { return viewRouter_->firstResponder(); }

bool Window::makeFirstResponder(const std::shared_ptr<View>& view) {
    if (view && (!contentView_ || !view->isDescendantOf(*contentView_))) return false;
    return viewRouter_->makeFirstResponder(view);
}

// --- Events ---------------------------------------------------------------------------

Point Window::locationInWindow(ScreenPoint location) const {
    const auto content = contentRectForFrameRect(frame_);
    return {location.x - content.minX(), location.y - content.minY()};
}

void Window::keyDown(const Event& event) {
    const bool commandPeriod = event.modifierFlags.contains(ModifierFlags::command) && event.charactersIgnoringModifiers == ".";
    if (event.keyCode == KeyCode::escape || commandPeriod) cancelOperation();
}

void Window::sendEvent(const Event& event) {
    auto keepAlive = shared_from_this();
    const bool pressOrKey = event.type == EventType::leftMouseDown || event.type == EventType::rightMouseDown ||
                            event.type == EventType::otherMouseDown || event.type == EventType::keyDown;
    if (attachedSheet_ && pressOrKey) return;
    viewRouter_->setApplicationIsActive(Application::shared().isActive());
    const bool taken = viewRouter_->dispatch(event, locationInWindow(event.location));
    if (!taken && event.type == EventType::keyDown) keyDown(event);
}

void Window::pointerExited(const Event& event) { viewRouter_->pointerExitedWindow(event); }

// --- Animations ---------------------------------------------------------------------

std::shared_ptr<Animation> Window::animateAlphaValue(double alpha, AnimationTiming timing,
                                                     std::function<void()> completion) {
    if (alphaAnimation_) alphaAnimation_->cancel();
    const double from = alpha_;
    const double to = std::clamp(alpha, 0.0, 1.0);
    std::weak_ptr<Window> weak = weak_from_this();
    alphaAnimation_ = Animation::make(timing, [weak, from, to](double p) {
        auto self = weak.lock();
        if (!self) return;
        self->applyAlpha(from + (to - from) * p);
    });
    alphaAnimation_->onComplete = std::move(completion);
    alphaAnimation_->start();
    return alphaAnimation_;
}

// --- Panel -----------------------------------------------------------------------------

Panel::Panel(MakeKey key, ScreenRect contentRect, WindowStyleMask style) : Window(key, contentRect, style) {
    setHidesOnDeactivate(true);
}

void Panel::setFloatingPanel(bool floating) {
    floatingPanel_ = floating;
    setLevel(floating ? WindowLevel::floating : WindowLevel::normal);
}

}  // namespace tallowmere::platform
