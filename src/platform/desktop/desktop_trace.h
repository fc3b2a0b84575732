#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

class Desktop;
class SimulatedWindow;
class WorkItem;

// What a person would see change on the rest of the simulated desktop, one
// line each: applications launched, activated, hidden, shown and quit;
// other applications' windows opened, closed, minimised, restored, raised
// and moved or resized (with the frame they settle at, in screen
// coordinates, as whole points); the pasteboard's new contents; whether the
// display is kept awake; the screen locked and unlocked. Printed as
// "desktop: ..." on standard error when TALLOWMERE_TRACE names "desktop",
// so a headless run can be followed. One per AppContext, watching from the
// moment it is first reached.
class DesktopTrace : public std::enable_shared_from_this<DesktopTrace> {
  public:
    // A frame is reported once it has held still this long: where a drag or
    // an animation ends, not each of its steps.
    static constexpr double settleSeconds = 0.3;

    static DesktopTrace& shared();
    static std::shared_ptr<DesktopTrace> makeShared();
    explicit DesktopTrace(Desktop& desktop);
    ~DesktopTrace();
    DesktopTrace(const DesktopTrace&) = delete;
    DesktopTrace& operator=(const DesktopTrace&) = delete;

    bool printsToStandardError() const { return printsToStandardError_; }
    void setPrintsToStandardError(bool prints) { printsToStandardError_ = prints; }

    // Every line, whether or not it is printed (tests read what was shown).
    std::function<void(const std::string& line)> onLine;

  private:
    void start();
    bool isWatched() const { return printsToStandardError_ || onLine; }
    void record(const std::string& line);
    void applicationChanged(const char* what, const Notification& notification);
    void windowChanged(const char* what, const Notification& notification);
    void frameChanged(const std::shared_ptr<SimulatedWindow>& window);
    void reportFrame(int windowNumber);
    void pasteboardChanged();
    void powerChanged();
    void reportPasteboard();

    Desktop& desktop_;
    bool printsToStandardError_;
    std::vector<ObserverToken> workspaceObservers_;
    std::vector<ObserverToken> desktopObservers_;
    std::vector<ObserverToken> contextObservers_;
    // Frames still moving, by window number, each reported when it settles.
    struct MovingWindow {
        std::weak_ptr<SimulatedWindow> window;
        std::shared_ptr<WorkItem> report;
    };
    std::map<int, MovingWindow> moving_;
    std::shared_ptr<WorkItem> pasteboardReport_;
};

}  // namespace tallowmere::platform
