#include "platform/desktop/simulated_window.h"

#include <algorithm>
#include <cmath>

#include "platform/desktop/desktop.h"

namespace tallowmere::platform {

namespace {
ElementSpec windowElementSpec(const std::string& title, const std::string& subrole) {
    ElementSpec spec;
    spec.role = AXRole::window;
    spec.subrole = subrole;
    spec.title = title;
    return spec;
}
}  // namespace

SimulatedWindow::SimulatedWindow(int windowNumber, WindowSpec spec)
    : SimulatedElement(windowElementSpec(spec.title, spec.subrole)),
      windowNumber_(windowNumber),
      spec_(std::move(spec)),
      frame_(spec_.frame) {}

SimulatedWindow::SimulatedWindow(int windowNumber, ScreenRect frame, std::string title, int level)
    : SimulatedElement(windowElementSpec(title, AXSubrole::standardWindow)),
      windowNumber_(windowNumber),
      frame_(frame) {
    spec_.title = std::move(title);
    spec_.level = level;
    spec_.hasCloseButton = false;
    spec_.hasMinimizeButton = false;
    orderedIn_ = false;
}

AXRect SimulatedWindow::axFrame() const {
    if (auto* ax = std::get_if<AXRect>(&frame_)) return *ax;
    const ScreenRect screen = std::get<ScreenRect>(frame_);
    auto owner = desktop();
    return owner ? owner->screens().toAX(screen) : rect_cast<AXSpace>(screen);
}

ScreenRect SimulatedWindow::screenFrame() const {
    if (auto* screen = std::get_if<ScreenRect>(&frame_)) return *screen;
    const AXRect ax = std::get<AXRect>(frame_);
    auto owner = desktop();
    return owner ? owner->screens().toScreen(ax) : rect_cast<ScreenSpace>(ax);
}

AXRect SimulatedWindow::serverBounds() const {
    const AXRect frame = axFrame();
    const BoundsOffset& offset = spec_.serverBoundsOffset;
    return {frame.minX() + offset.x, frame.minY() + offset.y, frame.width() + offset.width,
            frame.height() + offset.height};
}

void SimulatedWindow::setFrame(AXRect frame) {
    if (isOwnWindow()) {
        auto owner = desktop();
        frame_ = owner ? owner->screens().toScreen(frame) : rect_cast<ScreenSpace>(frame);
    } else {
        moveTo(frame);
    }
}

void SimulatedWindow::moveTo(AXRect frame) {
    const bool changed = axFrame() != frame;
    frame_ = frame;
    if (!changed) return;
    if (auto owner = desktop()) owner->windowDidChange(*this, Desktop::windowDidChangeFrameNotification);
}

void SimulatedWindow::setScreenFrame(ScreenRect frame) {
    if (isOwnWindow()) {
        frame_ = frame;
        return;
    }
    auto owner = desktop();
    moveTo(owner ? owner->screens().toAX(frame) : rect_cast<AXSpace>(frame));
}

void SimulatedWindow::setMinimized(bool minimized) {
    if (spec_.minimized == minimized) return;
    spec_.minimized = minimized;
    if (auto owner = desktop()) {
        owner->windowDidChange(*this, minimized ? Desktop::windowDidMinimizeNotification
                                                : Desktop::windowDidDeminimizeNotification);
    }
    // Coming back from the Dock brings a window to the front.
    if (!minimized) raise();
}

bool SimulatedWindow::isMain() const {
    auto app = application();
    return app && app->mainWindow().get() == this;
}

bool SimulatedWindow::isFocused() const {
    auto app = application();
    return app && app->focusedWindow().get() == this;
}

void SimulatedWindow::setLevel(int level) {
    spec_.level = level;
    if (auto owner = desktop()) owner->windowServer().bringToFront(*this);
}

bool SimulatedWindow::isOnScreen() const {
    auto app = application();
    return orderedIn_ && !spec_.minimized && app && app->isRunning() && !app->isHidden();
}

void SimulatedWindow::setSizeLimits(std::optional<Size> minSize, std::optional<Size> maxSize) {
    spec_.minSize = minSize;
    spec_.maxSize = maxSize;
}

void SimulatedWindow::raise() {
    if (auto app = application()) {
        app->bringWindowToFront(std::static_pointer_cast<SimulatedWindow>(shared_from_this()));
    }
}

void SimulatedWindow::close() {
    if (auto app = application()) app->windowClosed(*this);
}

AXRect SimulatedWindow::titleBarFrame() const {
    const AXRect frame = axFrame();
    return {frame.minX(), frame.minY(), frame.width(),
            std::min(frame.height(), spec_.titleBarHeight)};
}

Size SimulatedWindow::clampedSize(Size size) const {
    if (spec_.minSize) {
        size.width = std::max(size.width, spec_.minSize->width);
        size.height = std::max(size.height, spec_.minSize->height);
    }
    if (spec_.maxSize) {
        size.width = std::min(size.width, spec_.maxSize->width);
        size.height = std::min(size.height, spec_.maxSize->height);
    }
    return size;
}

void SimulatedWindow::addStandardButtons() {
    struct Button {
        bool wanted;
        const char* subrole;
        double x;
    };
    const Button buttons[] = {{spec_.hasCloseButton, AXSubrole::closeButton, 8},
                              {spec_.hasMinimizeButton, AXSubrole::minimizeButton, 28}};
    std::weak_ptr<SimulatedWindow> weak =
        std::static_pointer_cast<SimulatedWindow>(shared_from_this());
    for (const Button& b : buttons) {
        if (!b.wanted) continue;
        ElementSpec spec;
        spec.role = AXRole::button;
        spec.subrole = b.subrole;
        spec.frame = {b.x, 6, 14, 16};
        auto element = addElement(spec);
        const bool closes = std::string_view(b.subrole) == AXSubrole::closeButton;
        element->setAction(AXAction::press, [weak, closes]() -> Result<void> {
            auto window = weak.lock();
            if (!window) return axFailure(AXError::invalidElement);
            if (closes) {
                window->close();
            } else {
                window->setMinimized(true);
            }
            return {};
        });
    }
}

std::shared_ptr<SimulatedElement> SimulatedWindow::button(const char* subrole) const {
    for (const auto& child : children()) {
        if (child->role() == AXRole::button && child->subrole() == subrole) return child;
    }
    return nullptr;
}

Result<AXValue> SimulatedWindow::readAttribute(std::string_view name) const {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    if (auto it = spec().attributes.find(std::string(name)); it != spec().attributes.end())
        return it->second;
    if (name == AXAttribute::title) return AXValue(SimulatedElement::title());
    if (name == AXAttribute::minimized) return AXValue(spec_.minimized);
    if (name == AXAttribute::main) return AXValue(isMain());
    if (name == AXAttribute::focused) return AXValue(isFocused());
    if (name == AXAttribute::document) {
        if (!spec_.document) return axFailure(AXError::noValue);
        return AXValue(*spec_.document);
    }
    if (name == AXAttribute::closeButton || name == AXAttribute::minimizeButton) {
        auto found = button(name == AXAttribute::closeButton ? AXSubrole::closeButton
                                                             : AXSubrole::minimizeButton);
        if (!found) return axFailure(AXError::noValue);
        return AXValue(AXElement(found));
    }
    return SimulatedElement::readAttribute(name);
}

Result<void> SimulatedWindow::writeAttribute(std::string_view name, const AXValue& value) {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    if (name == AXAttribute::position) {
        auto point = value.asPoint();
        if (!point || !std::isfinite(point->x) || !std::isfinite(point->y)) {
            return axFailure(AXError::illegalArgument);
        }
        if (isOwnWindow() || !spec_.movable) return axFailure(AXError::attributeUnsupported);
        AXRect frame = axFrame();
        frame.origin = *point;
        moveTo(frame);
        return {};
    }
    if (name == AXAttribute::size) {
        auto size = value.asSize();
        if (!size || !std::isfinite(size->width) || !std::isfinite(size->height) ||
            size->width < 0 || size->height < 0) {
            return axFailure(AXError::illegalArgument);
        }
        if (isOwnWindow() || !spec_.resizable) return axFailure(AXError::attributeUnsupported);
        // The application keeps the top-left corner and clamps to its limits.
        AXRect frame = axFrame();
        frame.size = clampedSize(*size);
        moveTo(frame);
        return {};
    }
    if (name == AXAttribute::minimized) {
        auto minimized = value.asBool();
        if (!minimized) return axFailure(AXError::illegalArgument);
        if (*minimized && !spec_.hasMinimizeButton) return axFailure(AXError::cannotComplete);
        setMinimized(*minimized);
        return {};
    }
    if (name == AXAttribute::main || name == AXAttribute::focused) {
        auto flag = value.asBool();
        if (!flag) return axFailure(AXError::illegalArgument);
        if (*flag) raise();
        return {};
    }
    return SimulatedElement::writeAttribute(name, value);
}

bool SimulatedWindow::isAttributeSettable(std::string_view name) const {
    if (injectedFailure(name)) return false;
    if (name == AXAttribute::position) return !isOwnWindow() && spec_.movable;
    if (name == AXAttribute::size) return !isOwnWindow() && spec_.resizable;
    if (name == AXAttribute::minimized) return spec_.hasMinimizeButton;
    if (name == AXAttribute::main || name == AXAttribute::focused) return true;
    return SimulatedElement::isAttributeSettable(name);
}

std::vector<std::string> SimulatedWindow::attributeNames() const {
    auto names = SimulatedElement::attributeNames();
    for (const char* extra :
         {AXAttribute::title, AXAttribute::minimized, AXAttribute::main, AXAttribute::document,
          AXAttribute::closeButton, AXAttribute::minimizeButton}) {
        if (std::find(names.begin(), names.end(), extra) == names.end()) names.push_back(extra);
    }
    return names;
}

std::vector<std::string> SimulatedWindow::actionNames() const {
    auto names = SimulatedElement::actionNames();
    if (std::find(names.begin(), names.end(), AXAction::raise) == names.end())
        names.push_back(AXAction::raise);
    return names;
}

Result<void> SimulatedWindow::performAction(std::string_view name) {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    auto custom = SimulatedElement::actionNames();
    if (name == AXAction::raise && std::find(custom.begin(), custom.end(), name) == custom.end()) {
        if (!isOrderedIn()) return axFailure(AXError::cannotComplete);
        raise();
        return {};
    }
    return SimulatedElement::performAction(name);
}

}  // namespace tallowmere::platform
