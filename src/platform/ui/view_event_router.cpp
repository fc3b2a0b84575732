#include "platform/ui/view_event_router.h"

#include <algorithm>
#include <utility>

#include "platform/ui/tracking_area.h"

namespace tallowmere::platform {

namespace {

bool holdsCommandOrControl(const Event& event) {
    const auto flags = event.modifierFlags.deviceIndependent();
    return flags.contains(ModifierFlags::command) || flags.contains(ModifierFlags::control);
}

}  // namespace

std::shared_ptr<ViewEventRouter> ViewEventRouter::make() {
    return std::shared_ptr<ViewEventRouter>(new ViewEventRouter());
}

void ViewEventRouter::setRootView(const std::shared_ptr<View>& root) {
    auto old = root_.lock();
    if (old == root) return;
    if (old && old->router_.lock().get() == this) old->router_.reset();
    if (auto current = firstResponder()) {
        current->resignFirstResponder();
        current->setIsFirstResponder(false);
    }
    firstResponder_.reset();
    pressed_.reset();
    inside_.clear();
    root_ = root;
    if (root) root->router_ = weak_from_this();
}

void ViewEventRouter::setWindowIsKey(bool isKey) {
    if (isKey == windowIsKey_) return;
    windowIsKey_ = isKey;
    updateTracking();
}

bool ViewEventRouter::dispatch(const Event& event, Point locationInWindow) {
    auto root = rootView();
    if (!root) return false;
    const EventType type = event.type;
    if (isMouseDown(type)) {
        root->layoutSubtreeIfNeeded();
        track(event, locationInWindow);
        routeMouseDown(event, locationInWindow);
        return pressed_.lock() != nullptr;
    }
    if (isMouseDragged(type)) {
        track(event, locationInWindow);
        auto pressed = pressed_.lock();
        if (!pressed) return false;
        pressed->mouseDragged(event);
        return true;
    }
    if (isMouseUp(type)) {
        auto pressed = pressed_.lock();
        pressed_.reset();
        if (pressed) {
            if (type == EventType::rightMouseUp) {
                pressed->rightMouseUp(event);
            } else {
                pressed->mouseUp(event);
            }
        }
        track(event, locationInWindow);
        return pressed != nullptr;
    }
    switch (type) {
    case EventType::mouseMoved:
        root->layoutSubtreeIfNeeded();
        track(event, locationInWindow);
        return true;
    case EventType::scrollWheel: {
        auto hit = hitTest(locationInWindow);
        if (!hit) return false;
        hit->scrollWheel(event);
        return true;
    }
    case EventType::keyDown:
        return routeKeyDown(event);
    case EventType::keyUp: {
        auto target = firstResponder();
        (target ? target : root)->keyUp(event);
        return true;
    }
    default:
        return false;
    }
}

void ViewEventRouter::routeMouseDown(const Event& event, Point location) {
    pressed_.reset();
    auto root = rootView();
    auto hit = root ? root->hitTest(location) : nullptr;
    if (!hit) return;
    if (event.type == EventType::leftMouseDown && hit->acceptsFirstResponder() && hit != firstResponder())
        makeFirstResponder(hit);
    pressed_ = hit;
    if (event.type == EventType::rightMouseDown) {
        hit->rightMouseDown(event);
    } else if (event.type == EventType::leftMouseDown) {
        hit->mouseDown(event);
    }
}

bool ViewEventRouter::routeKeyDown(const Event& event) {
    auto root = rootView();
    if (!root) return false;
    if (holdsCommandOrControl(event) && root->performKeyEquivalent(event)) return true;
    keyWentUnhandled_ = false;
    auto target = firstResponder();
    (target ? target : root)->keyDown(event);
    return !keyWentUnhandled_;
}

void ViewEventRouter::keyDownReachedRoot(const Event& event) {
    auto root = rootView();
    if (event.keyCode == KeyCode::tab && !holdsCommandOrControl(event)) {
        if (selectNextKeyView(event.modifierFlags.contains(ModifierFlags::shift))) return;
    }
    // Keys such as Return and Escape press the button that has them as its
    // key equivalent once no view wanted the key itself.
    if (root && !holdsCommandOrControl(event) && root->performKeyEquivalent(event)) return;
    keyWentUnhandled_ = true;
}

void ViewEventRouter::pointerExitedWindow(const Event& event) {
    auto leaving = std::move(inside_);
    inside_.clear();
    lastLocation_.reset();
    lastEvent_.reset();
    for (auto& tracked : leaving) {
        auto area = tracked.area.lock();
        auto view = tracked.view.lock();
        if (area && view && area->options().contains(TrackingOption::mouseEnteredAndExited)) view->mouseExited(event);
    }
}

void ViewEventRouter::updateTracking() {
    if (lastLocation_ && lastEvent_) trackAt(*lastEvent_, *lastLocation_, false);
}

void ViewEventRouter::track(const Event& event, Point location) {
    lastLocation_ = location;
    lastEvent_ = event;
    const bool moves = event.type == EventType::mouseMoved || isMouseDragged(event.type);
    trackAt(event, location, moves);
}

bool ViewEventRouter::isActive(const TrackingArea& area, const View& view) const {
    const auto options = area.options();
    if (options.contains(TrackingOption::activeAlways)) return true;
    if (options.contains(TrackingOption::activeInActiveApp)) return applicationIsActive_;
    if (options.contains(TrackingOption::activeInKeyWindow)) return windowIsKey_ && applicationIsActive_;
    if (options.contains(TrackingOption::activeWhenFirstResponder))
        return windowIsKey_ && view.isFirstResponder();
    return false;
}

void ViewEventRouter::collectInside(const std::shared_ptr<View>& view, Point location, std::vector<Tracked>& into) const {
    if (view->isHidden()) return;
    if (!view->trackingAreas().empty()) {
        const Point local = view->convertFromWindow(location);
        for (const auto& area : view->trackingAreas()) {
            if (!isActive(*area, *view)) continue;
            const Rect rect = area->options().contains(TrackingOption::inVisibleRect) ? view->visibleRect() : area->rect();
            if (rect.contains(local)) into.push_back({area, view, area.get()});
        }
    }
    for (const auto& subview : view->subviews()) collectInside(subview, location, into);
}

void ViewEventRouter::trackAt(const Event& event, Point location, bool sendMoves) {
    auto root = rootView();
    if (!root) return;
    std::vector<Tracked> now;
    collectInside(root, location, now);
    const auto contains = [](const std::vector<Tracked>& list, const TrackingArea* identity) {
        return std::any_of(list.begin(), list.end(), [&](const Tracked& t) { return t.identity == identity; });
    };
    const auto previous = std::exchange(inside_, now);
    // Exits first, so a view moving from one area to its neighbour's sees
    // the old one end before the new one begins.
    for (const auto& tracked : previous) {
        if (contains(now, tracked.identity)) continue;
        auto area = tracked.area.lock();
        auto view = tracked.view.lock();
        if (area && view && area->options().contains(TrackingOption::mouseEnteredAndExited)) view->mouseExited(event);
    }
    for (const auto& tracked : now) {
        auto area = tracked.area.lock();
        auto view = tracked.view.lock();
        if (!area || !view) continue;
        const bool entered = !contains(previous, tracked.identity);
        if (entered && area->options().contains(TrackingOption::mouseEnteredAndExited)) view->mouseEntered(event);
        const bool movesWanted = area->options().contains(TrackingOption::mouseMoved) &&
                                 (event.type == EventType::mouseMoved ||
                                  area->options().contains(TrackingOption::enabledDuringMouseDrag));
        if (sendMoves && movesWanted) view->mouseMoved(event);
    }
}

std::shared_ptr<View> ViewEventRouter::hitTest(Point locationInWindow) {
    auto root = rootView();
    if (!root) return nullptr;
    root->layoutSubtreeIfNeeded();
    return root->hitTest(locationInWindow);
}

CursorShape ViewEventRouter::cursorAt(Point locationInWindow) {
    for (auto view = hitTest(locationInWindow); view; view = view->superview())
        if (auto cursor = view->cursor()) return *cursor;
    return CursorShape::arrow;
}

std::shared_ptr<View> ViewEventRouter::firstResponder() const {
    auto current = firstResponder_.lock();
    auto root = root_.lock();
    if (current && (!root || !current->isDescendantOf(*root))) return nullptr;
    return current;
}

bool ViewEventRouter::makeFirstResponder(const std::shared_ptr<View>& view) {
    auto current = firstResponder();
    if (current && current == view) return true;
    if (current) {
        if (!current->resignFirstResponder()) return false;
        current->setIsFirstResponder(false);
    }
    firstResponder_.reset();
    if (!view) return true;
    auto root = rootView();
    if (!root || !view->isDescendantOf(*root)) return false;
    if (!view->acceptsFirstResponder()) return false;
    // Recorded before asking, so a view starting to edit already counts as
    // first responder; taken back when it refuses.
    firstResponder_ = view;
    view->setIsFirstResponder(true);
    if (!view->becomeFirstResponder()) {
        firstResponder_.reset();
        view->setIsFirstResponder(false);
        return false;
    }
    return true;
}

void ViewEventRouter::collectKeyViews(const std::shared_ptr<View>& view, std::vector<std::shared_ptr<View>>& into) const {
    if (view->isHidden()) return;
    if (view->acceptsFirstResponder()) into.push_back(view);
    for (const auto& subview : view->subviews()) collectKeyViews(subview, into);
}

bool ViewEventRouter::selectNextKeyView(bool backwards) {
    auto root = rootView();
    if (!root) return false;
    std::vector<std::shared_ptr<View>> keyViews;
    collectKeyViews(root, keyViews);
    if (keyViews.empty()) return false;
    const auto current = firstResponder();
    auto it = std::find(keyViews.begin(), keyViews.end(), current);
    const auto count = static_cast<std::ptrdiff_t>(keyViews.size());
    std::ptrdiff_t index;
    if (it == keyViews.end()) {
        index = backwards ? count - 1 : 0;
    } else {
        const auto position = it - keyViews.begin();
        index = backwards ? (position + count - 1) % count : (position + 1) % count;
    }
    return makeFirstResponder(keyViews[static_cast<std::size_t>(index)]);
}

void ViewEventRouter::viewWillLeaveTree(const View& view) {
    if (auto current = firstResponder(); current && current->isDescendantOf(view)) {
        current->resignFirstResponder();
        current->setIsFirstResponder(false);
        firstResponder_.reset();
    }
    if (auto pressed = pressed_.lock(); pressed && pressed->isDescendantOf(view)) pressed_.reset();
    std::erase_if(inside_, [&](const Tracked& tracked) {
        auto owner = tracked.view.lock();
        return !owner || owner->isDescendantOf(view);
    });
}

}  // namespace tallowmere::platform
