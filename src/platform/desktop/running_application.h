#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/base/data.h"  // image.h uses Data
#include "platform/gfx/image.h"

namespace tallowmere::platform {

class SimulatedApplication;

// Whether an application shows in the Dock and may have a menu bar.
enum class ActivationPolicy { regular, accessory, prohibited };

// What activating an application does to the others.
struct ActivationOptions {
    bool ignoringOtherApps = false;  // take the front even when another application is active
    bool allWindows = false;         // raise every window, not only the main one
};

// One process as the workspace lists it. The object stays valid after the
// process ends (`isTerminated`); a relaunch is another object with another
// process identifier.
class RunningApplication {
  public:
    RunningApplication(pid_t pid, std::weak_ptr<SimulatedApplication> model);
    RunningApplication(const RunningApplication&) = delete;
    RunningApplication& operator=(const RunningApplication&) = delete;

    pid_t processIdentifier() const { return pid_; }
    std::optional<std::string> bundleIdentifier() const;
    std::optional<std::string> localizedName() const;
    // The application bundle's path ("/Applications/Editor.app").
    std::optional<std::string> bundlePath() const;
    ActivationPolicy activationPolicy() const;
    std::optional<Image> icon() const;
    bool isTerminated() const { return terminated_; }
    bool isFinishedLaunching() const;
    bool isHidden() const;
    bool isActive() const;

    // Makes it the frontmost application; false when it has ended or may not
    // be active (a background-only application).
    bool activate(ActivationOptions options = {});
    bool hide();
    bool unhide();
    // Asks it to quit; it quits on the next turn of the main queue.
    bool terminate();
    // The program's own policy, set by the UI layer; other applications
    // refuse. False when refused.
    bool setActivationPolicy(ActivationPolicy policy);

    // The simulated application behind this process, while it runs.
    std::shared_ptr<SimulatedApplication> model() const { return model_.lock(); }

  private:
    friend class SimulatedApplication;
    pid_t pid_;
    std::weak_ptr<SimulatedApplication> model_;
    bool terminated_ = false;
};

}  // namespace tallowmere::platform
