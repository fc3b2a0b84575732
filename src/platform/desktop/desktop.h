#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/result.h"
#include "platform/desktop/accessibility_trust.h"
#include "platform/desktop/calendar_database.h"
#include "platform/desktop/display_hardware.h"
#include "platform/desktop/drag_operation.h"
#include "platform/desktop/ax_element.h"
#include "platform/desktop/event.h"
#include "platform/desktop/finder_model.h"
#include "platform/desktop/finder_sync_controller.h"
#include "platform/desktop/audio_hardware.h"
#include "platform/desktop/hot_key_service.h"
#include "platform/desktop/input_state.h"
#include "platform/desktop/keyboard_input_sources.h"
#include "platform/desktop/now_playing_service.h"
#include "platform/desktop/network_proxy_settings.h"
#include "platform/desktop/pasteboard.h"
#include "platform/desktop/power_management.h"
#include "platform/desktop/running_application.h"
#include "platform/desktop/screen_arrangement.h"
#include "platform/desktop/screen_capture_command.h"
#include "platform/desktop/sharing_service.h"
#include "platform/desktop/sound_output.h"
#include "platform/desktop/status_area.h"
#include "platform/desktop/system_settings.h"
#include "platform/desktop/simulated_application.h"
#include "platform/desktop/simulated_window.h"
#include "platform/desktop/window_server.h"
#include "platform/desktop/workspace.h"

namespace tallowmere::platform {

class AppContext;

// The simulated Mac the program lives in: screens, applications with their
// windows and Accessibility trees, the window server, input devices, the
// pasteboard and the workspace. One per AppContext (`Desktop::shared()`),
// starting with one 1440 × 900 built-in screen and the program itself as
// the only running application.
//
// Posting an event updates the input state, then offers the event to the
// router the UI layer installs; an event the program does not take goes to
// the application under the pointer (mouse) or the frontmost one (keys).
// What the other application then does is kept modest: a press raises and
// focuses the window under it and activates its application, a drag that
// starts on a title bar moves the window, keys go to the focused element.
class Desktop : public std::enable_shared_from_this<Desktop> {
  public:
    static constexpr const char* currentBundleIdentifier = "com.quenlow.tallowmere";
    static constexpr const char* finderBundleIdentifier = "com.apple.finder";

    // Other applications' windows as a person sees them change, posted on
    // `notificationCenter()` with the window
    // (`std::shared_ptr<SimulatedWindow>`) under `windowKey`. The program's
    // own windows are not posted; the UI layer reports them.
    static constexpr const char* windowDidOpenNotification = "DesktopWindowDidOpen";
    static constexpr const char* windowDidCloseNotification = "DesktopWindowDidClose";
    static constexpr const char* windowDidMinimizeNotification = "DesktopWindowDidMinimize";
    static constexpr const char* windowDidDeminimizeNotification = "DesktopWindowDidDeminimize";
    // Brought in front of windows it was behind.
    static constexpr const char* windowDidRaiseNotification = "DesktopWindowDidRaise";
    // Moved or resized; posted for every step of a drag.
    static constexpr const char* windowDidChangeFrameNotification = "DesktopWindowDidChangeFrame";
    static constexpr const char* windowKey = "window";

    // The desktop of the current AppContext.
    static Desktop& shared();
    static std::shared_ptr<Desktop> makeShared();

    explicit Desktop(AppContext& context);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    AppContext& context() { return context_; }
    ScreenArrangement& screens() { return screens_; }
    WindowServer& windowServer() { return windowServer_; }
    Workspace& workspace() { return workspace_; }
    Pasteboard& pasteboard() { return pasteboard_; }
    InputState& input() { return input_; }
    AccessibilityTrust& accessibility() { return trust_; }
    // The windows' notifications above, and the pasteboard's
    // `Pasteboard::didChangeNotification`.
    NotificationCenter& notificationCenter() { return notifications_; }
    PowerManagement& power() { return power_; }
    // Finder's front folder, desktop, selection and scripting; kept in step
    // with Finder's windows (the front one's folder document).
    FinderModel& finder() { return finder_; }
    // What Finder shares with its Finder Sync extension.
    FinderSyncController& finderSync() { return finderSync_; }
    SharingServices& sharingServices() { return sharing_; }
    SoundOutput& sounds() { return sounds_; }
    // The person's calendars and the program's permission to read them.
    CalendarDatabase& calendars() { return calendars_; }
    // The Mac's own settings that pmset, defaults and sysadminctl read and
    // write (their stand-ins act on these).
    SystemSettings& systemSettings() { return systemSettings_; }
    // The system proxy settings.
    NetworkProxySettings& proxySettings() { return proxySettings_; }
    // Every application's status items in the menu bar.
    StatusArea& statusArea() { return statusArea_; }
    // The attached displays' hardware: brightness, identity, DDC channels.
    DisplayHardware& displayHardware() { return displayHardware_; }
    // The longest pause between two clicks that still makes a double click
    // (the person's setting; 0.5 s unless changed).
    double doubleClickInterval() const { return doubleClickInterval_; }
    void setDoubleClickInterval(double seconds) { doubleClickInterval_ = seconds; }
    // The person's accessibility setting to reduce motion (off unless set).
    bool accessibilityDisplayShouldReduceMotion() const { return reduceMotion_; }
    void setAccessibilityDisplayShouldReduceMotion(bool reduce) { reduceMotion_ = reduce; }
    // What plays, and the audio processes that produce sound.
    NowPlayingService& nowPlaying() { return nowPlaying_; }
    AudioHardware& audio() { return audio_; }
    KeyboardInputSources& inputSources() { return inputSources_; }
    // System-wide hot keys: a registered combination goes to its program only.
    HotKeyService& hotKeys() { return hotKeys_; }
    // "/usr/sbin/screencapture" on this desktop.
    ScreenCaptureCommand& screenCapture() { return screenCapture_; }

    // Applications
    // Installs an application (and starts it, when `spec.running`). An
    // empty bundle identifier or name, or an identifier already installed,
    // is refused.
    Result<std::shared_ptr<SimulatedApplication>> addApplication(ApplicationSpec spec);
    // Quits and deletes an installed application (not the program itself).
    void removeApplication(const std::string& bundleIdentifier);
    std::vector<std::shared_ptr<SimulatedApplication>> applications() const {
        return applications_;
    }
    std::shared_ptr<SimulatedApplication> application(pid_t pid) const;
    std::shared_ptr<SimulatedApplication> application(const std::string& bundleIdentifier) const;
    std::shared_ptr<SimulatedApplication> applicationAtPath(const std::string& bundlePath) const;
    // The program itself.
    SimulatedApplication& currentApplication() { return *current_; }
    pid_t currentProcessIdentifier() const;
    std::shared_ptr<SimulatedApplication> frontmostApplication() const;
    // Processes in launch order, the program first; ended ones are gone.
    std::vector<std::shared_ptr<RunningApplication>> runningApplications() const;
    // Makes `app` frontmost: posts the deactivation of the previous one and
    // the activation of `app` on the workspace's centre.
    bool activate(SimulatedApplication& app, ActivationOptions options = {});
    // The application that opens URLs with this scheme ("http") or files
    // with this extension ("txt"), the first installed one winning.
    std::shared_ptr<SimulatedApplication> applicationForScheme(const std::string& scheme) const;
    std::shared_ptr<SimulatedApplication> applicationForExtension(
        const std::string& extension) const;

    // Accessibility hit test: the deepest element at a point of
    // Accessibility space in the front-most window there (or the menu bar).
    std::shared_ptr<SimulatedElement> elementAt(AXPoint point) const;
    const std::shared_ptr<SimulatedElement>& systemWideElement() const { return systemWide_; }

    // Events
    // Returns true when the program took the event (it was over its own
    // windows, say); the desktop then does not deliver it elsewhere.
    using EventRouter = std::function<bool(const Event&)>;
    void setEventRouter(EventRouter router) { router_ = std::move(router); }
    // Stamps (timestamp when 0, window number, click count when 0 from the
    // time and distance since the last press), updates the input state,
    // routes and delivers, all before it returns.
    void post(Event event);
    // A key event posted to one process (not through the global stream):
    // it does not reach the program's monitors. Fails for a process that
    // does not run.
    Result<void> postToProcess(pid_t pid, Event event);
    // Drag and drop between applications. The UI layer answers for the
    // program's windows: what the destination under the pointer does with
    // the drag at each step.
    using DragDestination = std::function<DragOperation(DragStep, ScreenPoint, const Pasteboard&)>;
    void setDragDestination(DragDestination destination) { dragDestination_ = std::move(destination); }
    // Starts dragging `contents` while the left button is held: the
    // button's drags carry it, its release drops it under the pointer and
    // Escape gives it up. Refused when no press is under way. Finder starts
    // one when a person drags its listed items.
    bool beginDragging(std::shared_ptr<Pasteboard> contents);
    bool isDragging() const { return dragged_ != nullptr; }
    // What is being dragged; none outside a drag.
    std::shared_ptr<const Pasteboard> draggedContents() const { return dragged_; }
    // What the last drop came to (none when it was refused or given up).
    std::optional<DragOperation> lastDropOperation() const { return lastDrop_; }

    // The most recent events posted (a few thousand), oldest first.
    const std::vector<Event>& postedEvents() const { return posted_; }

    // Plumbing for the model types.
    pid_t allocateProcessIdentifier();
    void applicationDidLaunch(SimulatedApplication& app);
    void applicationDidTerminate(SimulatedApplication& app,
                                 const std::shared_ptr<RunningApplication>& ended);
    void applicationDidChangeHidden(SimulatedApplication& app);
    void windowDidChange(const SimulatedWindow& window, const char* notification);

  private:
    void start();
    void deliverToOtherApplication(const Event& event);
    // Carries a drag in progress along with the left button's events.
    void continueDragging(const Event& event);
    void endDragging(DragStep step, ScreenPoint location);
    // After Finder took a press: a press on one of its items may start a
    // drag of the selection.
    void pressFinderItem(const SimulatedWindow& window, AXPoint point,
                         const std::vector<std::filesystem::path>& selectedBefore, bool command);
    // While the screen is locked: a click on the password field or Return
    // signs the person in again.
    void signInIfAsked(const Event& event);
    void activateNextApplication(const SimulatedApplication& leaving);
    void applyDefaultMouseBehaviour(SimulatedApplication& app, const Event& event);
    std::optional<ScreenRect> keyWindowFrame() const;
    void updateFinderFrontWindow(const SimulatedApplication& finder);
    // A press in one of Finder's windows: selecting items, going to a
    // sidebar folder, and the extension's menus on a secondary click or on
    // its toolbar button.
    void finderWindowPressed(SimulatedWindow& window, const Event& event, AXPoint point);

    AppContext& context_;
    NotificationCenter notifications_;
    ScreenArrangement screens_;
    WindowServer windowServer_;
    Workspace workspace_;
    Pasteboard pasteboard_;
    InputState input_;
    AccessibilityTrust trust_;
    PowerManagement power_;
    FinderModel finder_;
    FinderSyncController finderSync_;
    SharingServices sharing_;
    SoundOutput sounds_;
    CalendarDatabase calendars_;
    SystemSettings systemSettings_;
    NetworkProxySettings proxySettings_;
    DisplayHardware displayHardware_{screens_};
    StatusArea statusArea_;
    double doubleClickInterval_ = 0.5;
    bool reduceMotion_ = false;
    NowPlayingService nowPlaying_{*this};
    AudioHardware audio_;
    KeyboardInputSources inputSources_;
    HotKeyService hotKeys_;
    ScreenCaptureCommand screenCapture_;
    std::shared_ptr<SimulatedElement> systemWide_;
    std::vector<std::shared_ptr<SimulatedApplication>> applications_;
    std::shared_ptr<SimulatedApplication> current_;
    std::weak_ptr<SimulatedApplication> frontmost_;
    std::vector<std::weak_ptr<RunningApplication>> launchOrder_;
    EventRouter router_;
    std::vector<Event> posted_;
    pid_t nextPID_ = 20000;

    // A title-bar drag of another application's window in progress.
    struct TitleBarDrag {
        std::weak_ptr<SimulatedWindow> window;
        ScreenPoint start;
        AXRect startFrame;
    };
    std::optional<TitleBarDrag> titleBarDrag_;
    // Text being selected by a drag in another application's text element.
    struct TextSelection {
        std::weak_ptr<SimulatedElement> element;
        std::int64_t anchor;  // UTF-16 offset where the press went down
    };
    std::optional<TextSelection> textSelection_;
    static std::int64_t caretOffsetAt(const SimulatedElement& text, AXPoint point);
    // A press in another application's text: the caret (and the start of a
    // drag's selection), a word on a double click, the line on a triple one.
    void selectText(SimulatedElement& text, AXPoint point, int clickCount);
    // The window button another application's window got the press on.
    std::weak_ptr<SimulatedElement> pressedButton_;
    struct ClickRecord {
        double timestamp;
        ScreenPoint location;
        int buttonNumber;
        int clickCount;
    };
    std::optional<ClickRecord> lastClick_;
    DragDestination dragDestination_;
    std::shared_ptr<Pasteboard> dragged_;
    std::optional<DragOperation> lastDrop_;
    // Finder's items under a press, dragged once the pointer goes further
    // than a click would.
    struct FinderPress {
        ScreenPoint start;
        std::vector<std::filesystem::path> items;
        // The item a release without a drag leaves alone selected.
        std::optional<std::filesystem::path> narrowsTo;
    };
    std::optional<FinderPress> finderPress_;
    // The window that got the last mouse down; drags and the release go there.
    int mouseDownWindow_ = 0;
    bool mouseDownTakenByProgram_ = false;
};

}  // namespace tallowmere::platform
