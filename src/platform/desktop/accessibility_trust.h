#pragma once

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

    // The system-wide messaging timeout in seconds (0: the default).
    double messagingTimeout() const { return messagingTimeout_; }
    void setMessagingTimeout(double seconds) { messagingTimeout_ = seconds; }

private:
    bool trusted_ = false;
    int promptCount_ = 0;
    double messagingTimeout_ = 0;
};

}  // namespace tallowmere::platform
