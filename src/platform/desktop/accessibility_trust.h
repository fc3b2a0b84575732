#pragma once

#include <sys/types.h>

#include <map>

namespace tallowmere::platform {

// Whether the person allowed this program to use Accessibility. Without
// trust every request to another application fails with `apiDisabled`.
// Asking with the prompt shows the system's trust prompt (recorded; the
// answer only changes when a test grants trust, as when the person ticks
// the box in System Settings later).
class AccessibilityTrust {
  public:
    bool isProcessTrusted() const { return trusted_; }
    bool isProcessTrusted(bool prompt) {
        if (prompt && !trusted_) ++promptCount_;
        return trusted_;
    }
    int promptCount() const { return promptCount_; }
    void setTrusted(bool trusted) { trusted_ = trusted; }

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
