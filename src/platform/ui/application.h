#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/event.h"
#include "platform/desktop/running_application.h"
#include "platform/gfx/appearance.h"
#include "platform/runtime/notification_center.h"
#include "platform/ui/modal_responder.h"
#include "platform/ui/modal_response.h"

namespace tallowmere::platform {

class Desktop;
class Window;

// The four-character ids of the Apple events the platform sends a program.
namespace AppleEventID {
inline constexpr std::uint32_t getURL = 0x4755524C;             // 'GURL'
inline constexpr std::uint32_t openApplication = 0x6F617070;    // 'oapp'
inline constexpr std::uint32_t reopenApplication = 0x72617070;  // 'rapp'
inline constexpr std::uint32_t quitApplication = 0x71756974;    // 'quit'
}  // namespace AppleEventID

// What the program implements to follow its own life. Every method has a
// do-nothing default so a delegate names only what it handles.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual void applicationWillFinishLaunching() {}
    virtual void applicationDidFinishLaunching() {}
    // URLs handed to the program (its URL scheme, a second launch), in order.
    virtual void applicationOpenURLs(const std::vector<std::string>& urls) { (void)urls; }
    // The program was opened again while running; true when it handled it.
    virtual bool applicationShouldHandleReopen(bool hasVisibleWindows) {
        (void)hasVisibleWindows;
        return true;
    }
    virtual void applicationDidBecomeActive() {}
    virtual void applicationDidResignActive() {}
    virtual bool applicationShouldTerminateAfterLastWindowClosed() { return false; }
    virtual void applicationWillTerminate() {}
};

// The running program as the platform sees it: its life from launch to
// termination, its activation, the URLs and reopen requests it receives, the
// event being handled and its modal sessions. One per AppContext.
class Application {
public:
    enum class State { notLaunched, launching, running, terminated };

    Application();
    ~Application();
    static Application& shared();
    // Posted on the context's notification centre as `terminate` begins,
    // after the delegate heard it.
    static constexpr const char* willTerminateNotification = "ApplicationWillTerminate";

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // --- Life -------------------------------------------------------------
    State state() const { return state_; }
    bool isRunning() const { return state_ == State::running; }

    // Held weakly: the program's entry keeps its delegate for the whole run.
    void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<ApplicationDelegate> delegate() const { return delegate_.lock(); }

    // The process's launch arguments, without the program's path.
    const std::vector<std::string>& arguments() const { return arguments_; }
    void setArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }

    // Will- and did-finish-launching, then the URLs that arrived meanwhile.
    void finishLaunching();
    // Finishes launching and runs the main queue until `terminate`. On a
    // virtual clock it runs what is due and returns instead of blocking.
    void run();
    // Tells the delegate the program will terminate, then stops the run loop.
    // Later calls do nothing.
    void terminate();

    // --- Activation -------------------------------------------------------
    ActivationPolicy activationPolicy() const { return activationPolicy_; }
    void setActivationPolicy(ActivationPolicy policy);
    bool isActive() const { return active_; }
    // Asks the desktop to make the program the frontmost application (the
    // desktop applies the platform's rule for `ignoringOtherApps`); unhides
    // it first.
    void activate(bool ignoringOtherApps = true);
    bool isHidden() const { return hidden_; }
    void hide();
    void unhide();

    // Light or dark; nothing follows the system.
    std::optional<Appearance> appearance() const { return appearance_; }
    void setAppearance(std::optional<Appearance> appearance);
    Appearance effectiveAppearance() const;
    void setSystemAppearance(Appearance appearance);

    // --- Events from the system -------------------------------------------
    // A URL-open (get-URL) event: the delegate receives the URLs while the
    // current Apple event is 'GURL'. Before launching has finished they wait
    // and are delivered right after did-finish-launching. A URL-open event
    // for a program that is already running is followed, still inside the
    // event, by a reopen request, as the platform does when it opens a
    // running program again.
    void receiveURLOpenEvent(std::vector<std::string> urls);
    // The program was opened again (Dock icon, second launch without URLs).
    // Returns what the delegate answered.
    bool receiveReopenEvent();
    // The id of the Apple event being handled, if any.
    std::optional<std::uint32_t> currentAppleEventID() const { return currentAppleEventID_; }

    // The input event being handled, if any.
    const Event* currentEvent() const { return currentEvent_ ? &*currentEvent_ : nullptr; }
    // Sets the current event for the scope of a dispatch.
    class ScopedCurrentEvent {
    public:
        ScopedCurrentEvent(Application& application, const Event& event);
        ~ScopedCurrentEvent();
        ScopedCurrentEvent(const ScopedCurrentEvent&) = delete;
        ScopedCurrentEvent& operator=(const ScopedCurrentEvent&) = delete;

    private:
        Application& application_;
        std::optional<Event> previous_;
    };

    // --- Windows ------------------------------------------------------------
    // The program's windows that are alive, in order of creation.
    std::vector<std::shared_ptr<Window>> windows() const;
    std::shared_ptr<Window> keyWindow() const { return keyWindow_.lock(); }
    std::shared_ptr<Window> mainWindow() const { return mainWindow_.lock(); }
    std::shared_ptr<Window> windowWithNumber(int windowNumber) const;

    // --- Modal sessions -----------------------------------------------------
    // Who answers modal questions; none means nobody is there (headless), so
    // every question takes its cancel choice.
    void setModalResponder(std::shared_ptr<ModalResponder> responder) { responder_ = std::move(responder); }
    std::shared_ptr<ModalResponder> modalResponder() const { return responder_; }
    // The person drags an area of the screen (the capture tool's selection);
    // nothing when they cancel or nobody is there.
    std::optional<ScreenRect> askForScreenArea();

    // Shows `window` and runs a modal session for it until `stopModal` or
    // `abortModal`; the window is ordered out afterwards only by its owner.
    ModalResponse runModal(const std::shared_ptr<Window>& window);
    // Ends the innermost session with stop, or with `response`.
    void stopModal() { stopModal(ModalResponses::stop); }
    void stopModal(ModalResponse response);
    void abortModal() { stopModal(ModalResponses::abort); }
    bool isRunningModal() const { return !modalStack_.empty(); }
    std::shared_ptr<Window> modalWindow() const;
    // The response the innermost session was stopped with; nothing while it
    // still waits (a responder's loop waits for it).
    std::optional<ModalResponse> modalResponse() const;

    // A modal session for the life of the object: alerts and panels open
    // one around their question so the window server and the event router
    // know the program is modal.
    class ModalSession {
    public:
        ModalSession(Application& application, const std::shared_ptr<Window>& window);
        ~ModalSession();
        ModalSession(const ModalSession&) = delete;
        ModalSession& operator=(const ModalSession&) = delete;

        // Runs what a modal loop runs while it waits: the main queue's due
        // work (a block posted before the session, such as focusing a field).
        void runPendingWork();
        // The response given by `stopModal`, once the session was stopped.
        std::optional<ModalResponse> response() const;

    private:
        Application& application_;
        std::size_t depth_;
    };

    // --- Character palette ----------------------------------------------------
    // Opens the system's emoji and symbol viewer (CharacterPalette), which
    // types what the person picks where they are typing.
    void orderFrontCharacterPalette();
    int characterPaletteOpenings() const { return characterPaletteOpenings_; }

private:
    friend class Window;
    struct ModalEntry {
        std::weak_ptr<Window> window;
        std::optional<ModalResponse> response;
    };

    void deliverURLs(const std::vector<std::string>& urls);
    void becameActive();
    void resignedActive();
    void appearanceChanged();
    void registerWindow(const std::shared_ptr<Window>& window);
    void windowBecameKey(const std::shared_ptr<Window>& window);
    void windowResignedKey(const Window& window);
    void windowBecameMain(const std::shared_ptr<Window>& window);
    void windowResignedMain(const Window& window);
    void windowClosed(const Window& window);

    State state_ = State::notLaunched;
    std::weak_ptr<ApplicationDelegate> delegate_;
    std::vector<std::string> arguments_;
    std::vector<std::vector<std::string>> pendingURLs_;
    ActivationPolicy activationPolicy_ = ActivationPolicy::regular;
    bool active_ = false;
    bool hidden_ = false;
    std::optional<Appearance> appearance_;
    Appearance systemAppearance_ = Appearance::light;
    std::optional<std::uint32_t> currentAppleEventID_;
    std::optional<Event> currentEvent_;
    std::vector<std::weak_ptr<Window>> windows_;
    std::weak_ptr<Window> keyWindow_;
    std::weak_ptr<Window> mainWindow_;
    std::shared_ptr<ModalResponder> responder_;
    std::vector<ModalEntry> modalStack_;
    std::vector<std::weak_ptr<Window>> hiddenByHide_;
    std::weak_ptr<Desktop> desktop_;
    ObserverToken activationObserver_;
    ObserverToken deactivationObserver_;
    int characterPaletteOpenings_ = 0;
};

}  // namespace tallowmere::platform
