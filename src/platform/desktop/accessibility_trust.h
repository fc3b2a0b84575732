#pragma once

#include <sys/types.h>

#include <functional>
#include <map>

namespace tallowmere::platform {

// Whether the person allowed this program to use Accessibility. Without
// trust every request to another application fails with `apiDisabled`.
// Asking with the prompt shows the system's trust prompt (counted, and shown
// through `onPrompt`); the answer only changes when trust is granted later,
// by a test or by the person in System Settings.
class AccessibilityTrust {
  public:
    bool isProcessTrusted() const { return trusted_; }
    bool isProcessTrusted(bool prompt) {
        if (prompt && !trusted_) {
            ++promptCount_;
            if (onPrompt) onPrompt();
        }
        return trusted_;
    }
    int promptCount() const { return promptCount_; }
    void setTrusted(bool trusted) { trusted_ = trusted; }
    // Shows the prompt; the desktop installs the system's prompt window.
    std::function<void()> onPrompt;

    // Messaging timeouts in seconds (0: the default), system-wide and per
    // process; recorded, as nothing here waits for real.
    double messagingTimeout() const { return messagingTimeout_; }
    void setMessagingTimeout(double seconds) { messagingTimeout_ = seconds; }
    double messagingTimeout(pid_t pid) const {
        auto it = processTimeouts_.find(pid);
        return it == processTimeouts_.end() ? messagingTimeout_ : it->second;
    }
    void setMessagingTimeout(pid_t pid, double seconds) { processTimeouts_[pid] = seconds; }

  private:
    std::map<pid_t, double> processTimeouts_;
    bool trusted_ = false;
    int promptCount_ = 0;
    double messagingTimeout_ = 0;
};

}  // namespace tallowmere::platform
