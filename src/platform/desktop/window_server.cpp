#include "platform/desktop/window_server.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/window_painter.h"
#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

std::vector<std::shared_ptr<SimulatedWindow>> WindowServer::orderedWindows() const {
    std::vector<std::shared_ptr<SimulatedWindow>> result;
    for (const auto& weak : order_) {
        if (auto window = weak.lock(); window && window->isOnScreen()) result.push_back(window);
    }
    return result;
}

WindowInfo WindowServer::info(const SimulatedWindow& window) const {
    WindowInfo info;
    info.windowNumber = window.windowNumber();
    if (auto app = window.application()) {
        info.ownerPID = app->processIdentifier();
        info.ownerName = app->name();
    }
    info.bounds = window.isOwnWindow() ? window.axFrame() : window.serverBounds();
    info.layer = window.level();
    if (window.isOwnWindow() || screenCaptureAllowed_) info.name = window.title();
    info.alpha = window.alpha();
    info.isOnScreen = window.isOnScreen();
    return info;
}

std::vector<WindowInfo> WindowServer::windowList(unsigned options, int relativeTo) const {
    using namespace WindowListOption;
    const bool above = options & onScreenAboveWindow, below = options & onScreenBelowWindow;
    const bool including = options & includingWindow;
    const bool onScreen = (options & onScreenOnly) || above || below;

    std::vector<std::shared_ptr<SimulatedWindow>> all;
    for (const auto& weak : order_) {
        if (auto window = weak.lock();
            window && window->application() && window->application()->isRunning()) {
            all.push_back(window);
        }
    }
    const auto reference = std::find_if(
        all.begin(), all.end(), [&](const auto& w) { return w->windowNumber() == relativeTo; });
    const bool hasReference = relativeTo != 0 && reference != all.end();

    std::vector<WindowInfo> result;
    for (auto it = all.begin(); it != all.end(); ++it) {
        const auto& window = *it;
        const bool isReference = hasReference && it == reference;
        bool wanted;
        if (above || below) {
            // Without a window to be relative to, the whole list counts.
            const bool inFront = !hasReference || it < reference;
            const bool behind = !hasReference || it > reference;
            wanted = (above && inFront) || (below && behind) || (including && isReference);
        } else if (including) {
            wanted = isReference;
        } else {
            wanted = true;
        }
        if (!wanted) continue;
        if (onScreen && !window->isOnScreen()) continue;
        result.push_back(info(*window));
    }
    return result;
}

std::optional<WindowInfo> WindowServer::windowInfo(int windowNumber) const {
    auto found = window(windowNumber);
    if (!found) return std::nullopt;
    return info(*found);
}

std::shared_ptr<SimulatedWindow> WindowServer::window(int windowNumber) const {
    for (const auto& weak : order_) {
        if (auto window = weak.lock(); window && window->windowNumber() == windowNumber)
            return window;
    }
    return nullptr;
}

std::shared_ptr<SimulatedWindow> WindowServer::windowAt(ScreenPoint point) const {
    for (const auto& window : orderedWindows()) {
        // Fully transparent and click-through windows let the click pass.
        if (window->ignoresMouseEvents() || window->alpha() <= 0) continue;
        if (window->screenFrame().contains(point)) return window;
    }
    return nullptr;
}

std::shared_ptr<SimulatedWindow> WindowServer::ownWindow(int windowNumber) const {
    auto found = window(windowNumber);
    return found && found->isOwnWindow() ? found : nullptr;
}

int WindowServer::registerOwnWindow(const OwnWindowSpec& spec) {
    const int number = allocateWindowNumber();
    auto window = std::make_shared<SimulatedWindow>(number, spec.frame, spec.title, spec.level);
    window->setAlpha(spec.alpha);
    window->setIgnoresMouseEvents(spec.ignoresMouseEvents);
    window->spec().subrole = spec.subrole;
    window->orderedIn_ = spec.visible;
    desktop_.currentApplication().adoptOwnWindow(window);
    insert(window);
    return number;
}

void WindowServer::setOwnWindowFrame(int windowNumber, ScreenRect frame) {
    if (auto window = ownWindow(windowNumber)) window->setScreenFrame(frame);
}

void WindowServer::setOwnWindowTitle(int windowNumber, std::string title) {
    if (auto window = ownWindow(windowNumber)) window->setTitle(std::move(title));
}

void WindowServer::setOwnWindowLevel(int windowNumber, int level) {
    if (auto window = ownWindow(windowNumber)) window->setLevel(level);
}

void WindowServer::setOwnWindowAlpha(int windowNumber, double alpha) {
    if (auto window = ownWindow(windowNumber)) window->setAlpha(std::clamp(alpha, 0.0, 1.0));
}

void WindowServer::setOwnWindowIgnoresMouseEvents(int windowNumber, bool ignores) {
    if (auto window = ownWindow(windowNumber)) window->setIgnoresMouseEvents(ignores);
}

void WindowServer::orderOwnWindow(int windowNumber, WindowOrderingMode mode, int relativeTo) {
    auto window = ownWindow(windowNumber);
    if (!window) return;
    if (mode == WindowOrderingMode::out) {
        window->orderedIn_ = false;
        return;
    }
    window->orderedIn_ = true;
    std::erase_if(order_, [&](const auto& weak) { return weak.lock() == window; });
    auto other = relativeTo != 0 && relativeTo != windowNumber ? this->window(relativeTo) : nullptr;
    auto position = order_.end();
    if (other && other->level() == window->level()) {
        position = std::find_if(order_.begin(), order_.end(),
                                [&](const auto& weak) { return weak.lock() == other; });
        if (mode == WindowOrderingMode::below && position != order_.end()) ++position;
    } else if (mode == WindowOrderingMode::above) {
        position = std::find_if(order_.begin(), order_.end(), [&](const auto& weak) {
            auto w = weak.lock();
            return w && w->level() <= window->level();
        });
    } else {
        position = std::find_if(order_.begin(), order_.end(), [&](const auto& weak) {
            auto w = weak.lock();
            return w && w->level() < window->level();
        });
    }
    order_.insert(position, window);
}

void WindowServer::removeOwnWindow(int windowNumber) {
    auto window = ownWindow(windowNumber);
    if (!window) return;
    if (keyWindow_ == windowNumber) keyWindow_ = 0;
    window->close();
}

void WindowServer::setKeyWindow(int windowNumber) {
    keyWindow_ = ownWindow(windowNumber) ? windowNumber : 0;
}

bool WindowServer::requestScreenCaptureAccess() {
    ++screenCaptureRequests_;
    return screenCaptureAllowed_;
}

void WindowServer::insert(const std::shared_ptr<SimulatedWindow>& window) {
    std::erase_if(order_, [&](const auto& weak) {
        auto w = weak.lock();
        return !w || w == window;
    });
    auto position = std::find_if(order_.begin(), order_.end(), [&](const auto& weak) {
        auto w = weak.lock();
        return w && w->level() <= window->level();
    });
    order_.insert(position, window);
}

void WindowServer::bringToFront(const SimulatedWindow& window) {
    auto found = this->window(window.windowNumber());
    if (!found) return;
    const bool wasInFront = isInFrontOfItsLevel(*found);
    insert(found);
    if (!wasInFront) desktop_.windowDidChange(*found, Desktop::windowDidRaiseNotification);
}

bool WindowServer::isInFrontOfItsLevel(const SimulatedWindow& window) const {
    for (const auto& weak : order_) {
        auto other = weak.lock();
        if (!other) continue;
        if (other.get() == &window) return true;
        if (other->level() == window.level() && other->isOnScreen()) return false;
    }
    return true;
}

void WindowServer::remove(const SimulatedWindow& window) {
    std::erase_if(order_, [&](const auto& weak) {
        auto w = weak.lock();
        return !w || w.get() == &window;
    });
}

}  // namespace tallowmere::platform

namespace tallowmere::platform {

namespace {
// What a capture keeps of a window.
struct WindowShot {
    int windowNumber;
    bool own;
    ScreenRect frame;
    std::string title;
    double alpha;
    int level;
    std::string content;
};
}  // namespace

std::optional<Image> WindowServer::captureWindow(int windowNumber) const {
    auto found = window(windowNumber);
    if (!found || !found->isOnScreen()) return std::nullopt;
    if (!found->isOwnWindow() && !screenCaptureAllowed_) return std::nullopt;
    ++captureCount_;
    const ScreenRect frame = found->screenFrame();
    if (found->isOwnWindow() && drawOwnWindow) {
        std::weak_ptr<SimulatedWindow> weak = found;
        auto draw = drawOwnWindow;
        return Image::withHandler(frame.size, [weak, draw, frame](Canvas& canvas, Rect) {
            auto window = weak.lock();
            if (!window) return false;
            canvas.save();
            canvas.translate(-frame.minX(), -frame.minY());
            draw(canvas, *window);
            canvas.restore();
            return true;
        });
    }
    // The picture is the window as it is now: a later change of its title
    // or content shows in the next capture, not in this one.
    const std::string title = found->title();
    const std::string content = found->content();
    return Image::withHandler(found->serverBounds().size, [title, content](Canvas& canvas, Rect rect) {
        WindowPainter::paintWindow(canvas, rect, title, 1, content);
        return true;
    });
}

std::optional<Image> WindowServer::captureScreenRect(ScreenRect rect) const {
    if (rect.isEmpty()) return std::nullopt;
    ++captureCount_;
    std::vector<WindowShot> shots;
    for (const auto& window : orderedWindows()) {
        // Without the person's permission other applications' windows are
        // left out, as if they were not there.
        if (!window->isOwnWindow() && !screenCaptureAllowed_) continue;
        if (!window->screenFrame().intersects(rect)) continue;
        shots.push_back({window->windowNumber(), window->isOwnWindow(), window->screenFrame(),
                         window->title(), window->alpha(), window->level(), window->content()});
    }
    std::reverse(shots.begin(), shots.end());  // back to front
    std::vector<ScreenRect> screens;
    for (const auto& screen : desktop_.screens().screens()) screens.push_back(screen->frame());
    auto primary = desktop_.screens().primaryScreen();
    const std::optional<ScreenRect> menuBar =
        primary ? std::optional<ScreenRect>(
                      ScreenRect{primary->frame().minX(),
                                 primary->frame().maxY() - ScreenArrangement::menuBarHeight,
                                 primary->frame().width(), ScreenArrangement::menuBarHeight})
                : std::nullopt;
    auto drawOwn = drawOwnWindow;
    auto drawBar = drawMenuBar;
    std::weak_ptr<Desktop> desktop = desktop_.weak_from_this();
    return Image::withHandler(rect.size, [=](Canvas& canvas, Rect) {
        canvas.save();
        canvas.translate(-rect.minX(), -rect.minY());
        canvas.setFillColor(WindowPainter::desktopColor);
        for (const ScreenRect& screen : screens) canvas.fillRect(rect_cast<LocalSpace>(screen));
        // The menu bar sits between normal windows and status items.
        bool menuBarDrawn = false;
        auto paintMenuBar = [&] {
            menuBarDrawn = true;
            if (drawBar) {
                drawBar(canvas);
            } else if (menuBar) {
                canvas.setFillColor(WindowPainter::menuBarColor);
                canvas.fillRect(rect_cast<LocalSpace>(*menuBar));
            }
        };
        auto owner = desktop.lock();
        for (const WindowShot& shot : shots) {
            if (!menuBarDrawn && shot.level >= WindowLevel::mainMenu) paintMenuBar();
            auto own =
                shot.own && owner ? owner->windowServer().window(shot.windowNumber) : nullptr;
            if (own && drawOwn) {
                drawOwn(canvas, *own);
            } else if (!shot.own || own) {
                WindowPainter::paintWindow(canvas, rect_cast<LocalSpace>(shot.frame), shot.title,
                                           shot.alpha, shot.content);
            }
        }
        if (!menuBarDrawn) paintMenuBar();
        canvas.restore();
        return true;
    });
}

}  // namespace tallowmere::platform
