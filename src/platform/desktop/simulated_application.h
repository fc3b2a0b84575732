#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/browser_scripting.h"
#include "platform/desktop/event.h"
#include "platform/desktop/running_application.h"
#include "platform/desktop/simulated_element.h"
#include "platform/desktop/simulated_window.h"
#include "platform/runtime/work_item.h"

namespace tallowmere::platform {

// How a test describes an application installed on the simulated Mac.
struct ApplicationSpec {
    std::string bundleIdentifier{};
    std::string name{};
    std::string bundlePath{};  // default "/Applications/<name>.app"
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    // Added as running; otherwise only installed until something launches it.
    bool running = true;
    // Seconds from a launch request until the process runs and its launch
    // windows appear.
    double launchDuration = 0.5;
    std::vector<WindowSpec> launchWindows{};
    // Answers Accessibility requests at all; and answers them in time.
    bool accessibilityEnabled = true;
    bool responsive = true;
    // URL schemes ("http", "https") and file extensions ("txt") it opens.
    std::vector<std::string> urlSchemes{};
    std::vector<std::string> documentExtensions{};
    // Titles of its menus, laid out in the menu bar while it is frontmost.
    std::vector<std::string> menuTitles{};
    // Stays behind when asked to come to the front (busy with a modal
    // dialog of its own, say): activation requests then fail.
    bool refusesActivation = false;
    std::optional<Image> icon{};
    // A web browser that runs page scripts sent through Apple events.
    std::optional<BrowserScripting> browser{};
};

// An application of the simulated Mac: what is installed (its bundle), and
// while it runs its process, windows and Accessibility tree. It obeys the
// rules features rely on: launching takes time, opening a document makes a
// window, windows keep the frames they are given, keys go to the focused
// element. It is itself the application's Accessibility element.
class SimulatedApplication final : public SimulatedElement {
  public:
    SimulatedApplication(std::weak_ptr<Desktop> desktop, ApplicationSpec spec,
                         bool isCurrentProcess);

    const ApplicationSpec& applicationSpec() const { return spec_; }
    const std::string& bundleIdentifier() const { return spec_.bundleIdentifier; }
    const std::string& name() const { return spec_.name; }
    const std::string& bundlePath() const { return spec_.bundlePath; }
    bool isCurrentProcess() const { return isCurrentProcess_; }
    std::shared_ptr<Desktop> owningDesktop() const { return desktop_.lock(); }

    // Process
    bool isRunning() const { return running_ != nullptr; }
    bool isLaunching() const { return pendingLaunch_ != nullptr; }
    // The process while it runs; null otherwise.
    std::shared_ptr<RunningApplication> runningApplication() const { return running_; }
    pid_t processIdentifier() const;
    ActivationPolicy activationPolicy() const { return spec_.activationPolicy; }
    void setActivationPolicy(ActivationPolicy policy) { spec_.activationPolicy = policy; }
    void setRefusesActivation(bool refuses) { spec_.refusesActivation = refuses; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    // Starts the process after `launchDuration`; `completion` runs then (or
    // at once, when it already runs).
    void launch(std::function<void(std::shared_ptr<RunningApplication>)> completion = {});
    // Ends the process now: its windows go, the workspace posts the
    // termination.
    void terminate();
    bool isAccessibilityEnabled() const { return spec_.accessibilityEnabled; }
    void setAccessibilityEnabled(bool enabled) { spec_.accessibilityEnabled = enabled; }
    bool isResponsive() const { return spec_.responsive; }
    void setResponsive(bool responsive) { spec_.responsive = responsive; }
    // How it answers page scripts, when it is a browser.
    void setBrowserScripting(std::optional<BrowserScripting> browser) { spec_.browser = browser; }

    // Windows, front to back within the application.
    std::vector<std::shared_ptr<SimulatedWindow>> windows() const;
    std::shared_ptr<SimulatedWindow> addWindow(WindowSpec spec);
    // A window that opens `seconds` from now (cancel through the item).
    std::shared_ptr<WorkItem> addWindowAfter(double seconds, WindowSpec spec);
    std::shared_ptr<SimulatedWindow> mainWindow() const;
    std::shared_ptr<SimulatedWindow> focusedWindow() const;
    // The element with keyboard focus: the focused control of the focused
    // window, else that window.
    std::shared_ptr<SimulatedElement> focusedElement() const;
    void setFocusedElement(const std::shared_ptr<SimulatedElement>& element);

    // What it was asked to do.
    const std::vector<Event>& receivedEvents() const { return receivedEvents_; }
    const std::vector<std::string>& openedURLs() const { return openedURLs_; }
    const std::vector<std::vector<std::string>>& launchArguments() const {
        return launchArguments_;
    }

    // Behaviour hooks; empty means the default behaviour.
    // Runs when the process has started, after the launch windows appear.
    std::function<void(SimulatedApplication&)> onLaunched;
    // Opens a document or URL; the default opens a window titled after the
    // last path component with the document set (a document already open is
    // only raised).
    std::function<void(SimulatedApplication&, const std::string& url)> onOpenURL;
    // Sees every key event first; true when it handled the key.
    std::function<bool(SimulatedApplication&, const Event&)> onKeyEvent;

    // Desktop plumbing: events delivered to this application.
    void deliver(const Event& event);
    void openURL(const std::string& url);
    void recordLaunchArguments(std::vector<std::string> arguments);

    Result<AXValue> readAttribute(std::string_view name) const override;
    Result<void> writeAttribute(std::string_view name, const AXValue& value) override;
    bool isAttributeSettable(std::string_view name) const override;
    std::vector<std::string> attributeNames() const override;
    AXRect axFrame() const override { return {}; }

    // Its menu bar across the top of the primary screen (`menuBarFrame`),
    // the application menu and its menu titles laid out from the left.
    std::shared_ptr<SimulatedElement> menuBar(AXRect menuBarFrame);

    // The program's own windows, registered by the UI layer.
    std::shared_ptr<SimulatedWindow> adoptOwnWindow(std::shared_ptr<SimulatedWindow> window);

  private:
    friend class Desktop;
    void startRunning(pid_t pid);
    void bringWindowToFront(const std::shared_ptr<SimulatedWindow>& window);
    void windowClosed(SimulatedWindow& window);

    std::weak_ptr<Desktop> desktop_;
    ApplicationSpec spec_;
    bool isCurrentProcess_;
    std::shared_ptr<RunningApplication> running_;
    std::shared_ptr<WorkItem> pendingLaunch_;
    std::vector<std::function<void(std::shared_ptr<RunningApplication>)>> launchCompletions_;
    bool hidden_ = false;
    std::vector<std::weak_ptr<SimulatedWindow>> windowOrder_;  // front to back
    std::weak_ptr<SimulatedElement> focusedElement_;
    std::shared_ptr<SimulatedElement> menuBar_;
    std::vector<Event> receivedEvents_;
    std::vector<std::string> openedURLs_;
    std::vector<std::vector<std::string>> launchArguments_;
    friend class SimulatedWindow;
};

}  // namespace tallowmere::platform
