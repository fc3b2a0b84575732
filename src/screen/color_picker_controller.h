#pragma once

#include <memory>

namespace tallowmere {

namespace platform {
class Menu;
class MenuItem;
}  // namespace platform

// Picks the colour of a pixel on screen, copies it as "#RRGGBB" and keeps
// the recent ones. One per process (`shared()`).
//
// For now it keeps no colours: picking, the toast and the stored history
// come with the colour picker, so the history menu says there is none.
class ColorPickerController {
public:
    static ColorPickerController& shared();

    ColorPickerController() = default;
    ColorPickerController(const ColorPickerController&) = delete;
    ColorPickerController& operator=(const ColorPickerController&) = delete;

    // Starts picking a colour from the screen.
    void pickFromMenu(platform::MenuItem& sender);
    // A new menu of the recorded colours, built afresh at each call.
    std::shared_ptr<platform::Menu> makeHistoryMenu();
};

}  // namespace tallowmere
