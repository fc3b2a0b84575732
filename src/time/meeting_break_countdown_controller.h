#pragma once

namespace tallowmere {

namespace platform {
class MenuItem;
}

// The meeting-break countdown. One per process (`shared()`).
//
// For now it never runs: the countdown, its window and its sound come with
// the meeting-break timer.
class MeetingBreakCountdownController {
public:
    static MeetingBreakCountdownController& shared();

    MeetingBreakCountdownController() = default;
    MeetingBreakCountdownController(const MeetingBreakCountdownController&) = delete;
    MeetingBreakCountdownController& operator=(const MeetingBreakCountdownController&) = delete;

    // True while a break end is set.
    bool isRunning() const { return false; }
    // Starts the countdown for the sender's tag in minutes.
    void startFromMenu(platform::MenuItem& sender);
    // Asks for a duration and starts it.
    void startCustomFromMenu(platform::MenuItem& sender);
    // Stops the running countdown without its sound.
    void stopFromMenu(platform::MenuItem& sender);
};

}  // namespace tallowmere
