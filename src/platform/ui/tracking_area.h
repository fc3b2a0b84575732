#pragma once

#include <memory>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class View;

// What a tracking area reports and when it is active. Raw values are the
// platform's option bits.
enum class TrackingOption : unsigned {
    mouseEnteredAndExited = 0x01,
    mouseMoved = 0x02,
    cursorUpdate = 0x04,
    activeWhenFirstResponder = 0x10,
    activeInKeyWindow = 0x20,
    activeInActiveApp = 0x40,
    activeAlways = 0x80,
    assumeInside = 0x100,
    inVisibleRect = 0x200,
    enabledDuringMouseDrag = 0x400,
};
struct TrackingOptions {
    unsigned rawValue = 0;
    constexpr TrackingOptions() = default;
    constexpr TrackingOptions(TrackingOption option) : rawValue(static_cast<unsigned>(option)) {}
    constexpr bool contains(TrackingOption option) const { return (rawValue & static_cast<unsigned>(option)) != 0; }
    constexpr bool operator==(const TrackingOptions&) const = default;
};
constexpr TrackingOptions operator|(TrackingOptions a, TrackingOptions b) {
    TrackingOptions result;
    result.rawValue = a.rawValue | b.rawValue;
    return result;
}
constexpr TrackingOptions operator|(TrackingOption a, TrackingOption b) {
    return TrackingOptions(a) | TrackingOptions(b);
}

// A region of a view that reports the pointer entering, leaving and moving
// inside it. The owner is the view it is added to; the router of the window
// (ViewEventRouter) sends the view mouseEntered/Exited/Moved as the pointer
// crosses it. With `inVisibleRect` the area is the view's visible rect at
// each moment and `rect` is ignored.
class TrackingArea {
public:
    static std::shared_ptr<TrackingArea> make(Rect rect, TrackingOptions options) {
        return std::shared_ptr<TrackingArea>(new TrackingArea(rect, options));
    }

    TrackingArea(const TrackingArea&) = delete;
    TrackingArea& operator=(const TrackingArea&) = delete;

    Rect rect() const { return rect_; }
    TrackingOptions options() const { return options_; }
    // The view it was added to, while it is there.
    std::shared_ptr<View> view() const { return view_.lock(); }

private:
    friend class View;
    TrackingArea(Rect rect, TrackingOptions options) : rect_(rect), options_(options) {}

    Rect rect_;
    TrackingOptions options_;
    std::weak_ptr<View> view_;
};

}  // namespace tallowmere::platform
