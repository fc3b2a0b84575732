#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/event.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/view.h"

namespace tallowmere::platform {

class TrackingArea;

// Delivers a window's input events to its view tree, as the Mac's window does
// for its views:
//  - a mouse down goes to the deepest visible view under the pointer, which
//    becomes first responder when it accepts; the drags and the up of that
//    press go to the same view, wherever the pointer is;
//  - pointer movement (moves and drags) updates the tracking areas: views get
//    mouseEntered / mouseExited / mouseMoved as the pointer crosses them;
//  - scroll wheel goes to the view under the pointer (and up its chain);
//  - a key down is first offered as a key equivalent when Command or Control
//    is held, then goes to the first responder and up its chain; what no one
//    takes is offered as a key equivalent (Return, Escape on buttons), and
//    Tab / Shift-Tab move the first responder through the tree.
// A window owns one router for its content view. Locations are in window
// coordinates (the window converts the event's screen location).
class ViewEventRouter : public std::enable_shared_from_this<ViewEventRouter> {
public:
    static std::shared_ptr<ViewEventRouter> make();

    ViewEventRouter(const ViewEventRouter&) = delete;
    ViewEventRouter& operator=(const ViewEventRouter&) = delete;

    // The tree's root (the content view); it finds its router through it.
    std::shared_ptr<View> rootView() const { return root_.lock(); }
    void setRootView(const std::shared_ptr<View>& root);

    // Tracking areas that are active only in the key window or the active
    // application look at these; the window keeps them current.
    bool windowIsKey() const { return windowIsKey_; }
    void setWindowIsKey(bool isKey);
    bool applicationIsActive() const { return applicationIsActive_; }
    void setApplicationIsActive(bool isActive) { applicationIsActive_ = isActive; }

    // Routes one event; true when a view took it. `locationInWindow` is
    // needed for mouse and scroll events.
    bool dispatch(const Event& event, Point locationInWindow);
    // The pointer left the window: every tracked area is exited.
    void pointerExitedWindow(const Event& event);
    // Re-evaluates tracking areas at the last pointer location (after the
    // tree changed under a still pointer).
    void updateTracking();

    // The deepest visible view at a window point, after laying out.
    std::shared_ptr<View> hitTest(Point locationInWindow);
    // The cursor shape at a window point.
    CursorShape cursorAt(Point locationInWindow);

    // First responder: none is the window itself.
    std::shared_ptr<View> firstResponder() const;
    // Asks the current one to resign and the new one to become; false when
    // either refuses (a refused new view leaves none). None clears it.
    bool makeFirstResponder(const std::shared_ptr<View>& view);
    // Moves the first responder to the next (or previous) view of the tree
    // that accepts it, wrapping round; false when there is none.
    bool selectNextKeyView(bool backwards = false);

    // The view that received the mouse down of the press in progress.
    std::shared_ptr<View> pressedView() const { return pressed_.lock(); }

    // For View: `view`'s subtree leaves the tree, so nothing keeps routing to it.
    void viewWillLeaveTree(const View& view);
    // For View: a key the responder chain did not take (it reached the root).
    void keyDownReachedRoot(const Event& event);

private:
    ViewEventRouter() = default;

    // A tracking area the pointer is inside, with the view it belongs to.
    struct Tracked {
        std::weak_ptr<TrackingArea> area;
        std::weak_ptr<View> view;
        const TrackingArea* identity;
    };

    void routeMouseDown(const Event& event, Point location);
    bool routeKeyDown(const Event& event);
    void track(const Event& event, Point location);
    void trackAt(const Event& event, Point location, bool sendMoves);
    void collectInside(const std::shared_ptr<View>& view, Point location, std::vector<Tracked>& into) const;
    bool isActive(const TrackingArea& area, const View& view) const;
    void collectKeyViews(const std::shared_ptr<View>& view, std::vector<std::shared_ptr<View>>& into) const;

    std::weak_ptr<View> root_;
    std::weak_ptr<View> firstResponder_;
    std::weak_ptr<View> pressed_;
    std::vector<Tracked> inside_;
    std::optional<Point> lastLocation_;
    std::optional<Event> lastEvent_;
    bool windowIsKey_ = true;
    bool applicationIsActive_ = true;
    bool keyWentUnhandled_ = false;
};

}  // namespace tallowmere::platform
