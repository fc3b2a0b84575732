#pragma once

namespace tallowmere {

class InputController;

// Hands the stored switches of the mouse and trackpad features to the input
// controller for the Accessibility trust state, and asks it for its
// monitors again. Without trust every feature that watches the mouse or
// trackpad is held off whatever its switch says; natural direction and
// quick launch follow their switches regardless. The switches themselves
// keep the person's choice. The main window does this whenever it
// refreshes; the application delegate does it once at start, so the
// features run before the main window is first opened.
namespace InputFeatureSwitches {

void apply(InputController& input, bool trusted);

}  // namespace InputFeatureSwitches

}  // namespace tallowmere
