#pragma once

#include <cstdint>

namespace tallowmere::platform {

// The pointer's shape, as the program sets it: the arrow, the hands of
// grabbing and of a link, the text beam and the crosshair. The desktop
// viewer shows it over the simulated screen. One current shape per
// AppContext; `didChangeNotification` (context centre) says when it changes.
class Cursor {
public:
    enum class Shape : std::uint8_t { arrow, openHand, closedHand, pointingHand, iBeam, crosshair };

    static constexpr const char* didChangeNotification = "CursorDidChange";

    static Cursor& shared();
    Cursor() = default;
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    Shape current() const { return current_; }
    // Makes `shape` the pointer's shape until the next set.
    void set(Shape shape);

    static void arrow() { shared().set(Shape::arrow); }
    static void closedHand() { shared().set(Shape::closedHand); }
    static void pointingHand() { shared().set(Shape::pointingHand); }

private:
    Shape current_ = Shape::arrow;
};

}  // namespace tallowmere::platform
