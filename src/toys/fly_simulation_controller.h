#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toys/fly.h"

namespace tallowmere {

namespace platform {
class Button;
class Control;
class MenuItem;
class PopUpButton;
class Switch;
class TextField;
class Timer;
}

// The desktop buddies: small creatures, each in its own tiny panel above
// the other windows, wandering, resting and fleeing the pointer. One per
// process (`shared()`), driven by the status menu and the main window's
// buddy card. The wanted number and the look of new buddies are kept in
// the preferences, so a relaunch brings the same number back.
class FlySimulationController : public std::enable_shared_from_this<FlySimulationController> {
public:
    static constexpr int maximumBuddies = 40;
    static constexpr int maximumGiants = 3;
    static constexpr double frameInterval = 0.016666666666666666;
    static constexpr double buddySide = 38;

    // Preference keys.
    static constexpr const char* enabledKey = "flySimulationEnabled";
    static constexpr const char* countKey = "flySimulationCount";
    static constexpr const char* activityKey = "flySimulationActivity";
    static constexpr const char* buddyTypeKey = "workBuddyType";
    static constexpr const char* buddyStyleKey = "workBuddyStyle";

    static FlySimulationController& shared();

    FlySimulationController();
    ~FlySimulationController();
    FlySimulationController(const FlySimulationController&) = delete;
    FlySimulationController& operator=(const FlySimulationController&) = delete;

    // --- State ------------------------------------------------------------------
    const std::vector<std::shared_ptr<Fly>>& flies() const { return flies_; }
    bool isTimerRunning() const { return timer_ != nullptr; }
    // The stored choices for new buddies, clamped as stored values are read.
    int selectedActivity() const;    // 0...2
    int selectedBuddyType() const;   // 0...8, 8 the disco ball
    int selectedBuddyStyle() const;  // 0...2

    // --- Life -----------------------------------------------------------------------
    // At launch: brings back the stored number of buddies when they were on.
    void activateSavedStateIfNeeded();
    // Shows the stored number of buddies and runs the motion.
    void start();
    // Takes every buddy away and stops the motion; the preferences stay.
    void stop();
    // Replaces the buddies by the stored number of new ones.
    void rebuildFlies();
    void startTimerIfNeeded();
    // Makes, shows and returns one buddy on a random screen; a missing
    // argument takes the stored choice. Not added to `flies`.
    std::shared_ptr<Fly> makeFly(std::optional<int> buddyType, std::optional<int> buddyStyle,
                                 std::optional<int> activity, double sizeScale);
    // One frame of the motion (the timer's).
    void tick();

    // --- Actions ----------------------------------------------------------------
    void summonOneFly(platform::Control& sender);
    void summonOneRandomBuddy(platform::Control& sender);
    void summonOneGiantBuddy(platform::Control& sender);
    void summonTenRandomBuddies(platform::MenuItem& sender);
    void summonTenRandomBuddies();
    // Every buddy flies off its screen and is gone when it gets there.
    void sendAllBuddiesHome(platform::Control&) { sendAllBuddiesHome(); }
    void sendAllBuddiesHome(platform::MenuItem&) { sendAllBuddiesHome(); }
    void sendAllBuddiesHome();
    void dismissAllBuddiesImmediately(platform::Control&) { dismissAllBuddiesImmediately(); }
    void dismissAllBuddiesImmediately(platform::MenuItem&) { dismissAllBuddiesImmediately(); }
    void dismissAllBuddiesImmediately();
    void sendAllFliesAway(platform::Control& sender);
    void toggleEnabled(platform::Switch& sender);
    void changeCount(platform::PopUpButton& sender);
    void changeActivity(platform::PopUpButton& sender);
    // The sender's tag is the personality (activity), type or style.
    void changePersonality(platform::Control& sender);
    void changeBuddyType(platform::Control& sender);
    void changeBuddyStyle(platform::Control& sender);

    // --- The main window's controls ----------------------------------------------
    // Kept weakly; shows "<prefix>：<n> 只".
    void bindCountLabel(const std::shared_ptr<platform::TextField>& label, std::string prefix);
    // Each is on exactly when its tag is the stored buddy type.
    void bindBuddyTypeButtons(std::vector<std::shared_ptr<platform::Button>> buttons);
    void updateCountLabel();
    // What the count label shows after the prefix ("：3 只").
    std::string countLabelText() const;

private:
    void stopTimer();
    void orderOutAll();
    // Removes the buddy whose panel this is, storing the new count.
    void removeFly(const platform::Panel* panel);
    void appendRandomBuddy();
    void setBuddyTypeButtonStates(int type);

    std::vector<std::shared_ptr<Fly>> flies_;
    std::shared_ptr<platform::Timer> timer_;
    double lastTick_ = 0;
    std::weak_ptr<platform::TextField> countLabel_;
    std::string countLabelPrefix_ = "当前苍蝇";
    std::vector<std::weak_ptr<platform::Button>> buddyTypeButtons_;
};

}  // namespace tallowmere
