#pragma once

namespace tallowmere {

// Turns a placement (left half, top-right quarter ...) into the frame a
// window receives. One engine is made by the application delegate and
// shared with the input controller and the main window. It keeps no state.
//
// The placements and their geometry come with window snapping.
class SnapEngine {
public:
    SnapEngine() = default;
    SnapEngine(const SnapEngine&) = delete;
    SnapEngine& operator=(const SnapEngine&) = delete;
};

}  // namespace tallowmere
