#pragma once

namespace tallowmere {

// Countdown to a chosen day, shown in the status menu. One per process
// (`shared()`).
//
// For now presenting the editor does nothing: the editor comes with the
// countdown-day feature, and until then no menu item leads here.
class CountdownDayController {
public:
    static CountdownDayController& shared();

    CountdownDayController() = default;
    CountdownDayController(const CountdownDayController&) = delete;
    CountdownDayController& operator=(const CountdownDayController&) = delete;

    // Opens the countdown-day editor.
    void presentEditor() {}
};

}  // namespace tallowmere
