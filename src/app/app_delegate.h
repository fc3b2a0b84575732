#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "platform/base/date.h"
#include "platform/runtime/notification_center.h"
#include "platform/ui/application.h"
#include "platform/ui/menu.h"

namespace tallowmere {

namespace platform {
class MenuItem;
class StatusBarButton;
class StatusItem;
class Timer;
}  // namespace platform

class InputController;
class LayoutStore;
class MainWindowController;
class NetworkTrafficStatusView;
class QuickLaunchStore;
class ShutdownCountdownPanel;
class SnapEngine;
class TomatoFullscreenReminder;
class WindowPinController;

// The program's one application delegate and the delegate of its status
// menu. It owns the long-lived stores and controllers, starts and stops
// everything in a fixed order, makes the status items, receives Finder
// requests and reopen events, and carries the shell's status-menu actions.
//
// Made with `make()`; the program's entry holds it for the whole run and
// the application only refers to it. Callbacks it hands out hold it weakly
// and do nothing once it is gone. Main thread only.
class AppDelegate final : public platform::ApplicationDelegate,
                          public platform::MenuDelegate,
                          public std::enable_shared_from_this<AppDelegate> {
public:
    static constexpr std::string_view mainStatusItemAutosaveName = "Tallowmere.MainIndependent";
    static constexpr std::string_view calendarStatusItemAutosaveName = "Tallowmere.CalendarIndependent";
    static constexpr std::string_view activityStatusItemAutosaveName = "Tallowmere.ActivityIndependent";
    static constexpr std::string_view displayAwakeUntilKey = "displayAwakeUntil";
    static constexpr std::string_view displayAwakeAlwaysKey = "displayAwakeAlways";
    static constexpr std::string_view displayAwakeSelectedMinutesKey = "displayAwakeSelectedMinutes";
    static constexpr std::string_view scheduledShutdownDateKey = "scheduledShutdownDate";

    // Activates the configuration mirror before anything reads a preference,
    // then makes the stores and reads the menu-bar switches.
    static std::shared_ptr<AppDelegate> make();
    ~AppDelegate() override;

    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // --- Life (called by the application) ----------------------------------
    // The start-up sequence; ends by scheduling the Finder-launch check.
    void applicationDidFinishLaunching() override;
    // Each URL, in order, to the Finder bridge, which ignores what it does not accept.
    void applicationOpenURLs(const std::vector<std::string>& urls) override;
    // Shows the main window, except for the reopen a URL-open event brings along.
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    void applicationDidBecomeActive() override;
    // Closing the main window leaves the program in the menu bar.
    bool applicationShouldTerminateAfterLastWindowClosed() override { return false; }
    // The stop sequence.
    void applicationWillTerminate() override;

    // --- Status menu (as its delegate) -------------------------------------
    void menuWillOpen(platform::Menu& menu) override;
    void menuDidClose(platform::Menu& menu) override;

    // --- The shell's status-menu actions -----------------------------------
    void showAboutFromMenu();
    // Restores the layout whose id the sender carries as text; failures
    // are shown in an alert.
    void restoreWorkspaceFromMenu(const platform::MenuItem& sender);
    void toggleLaunchAtLoginFromMenu();
    void showCountdownFromMenu();
    void showHostsEditorFromMenu();
    void quit();

    // --- Main window -------------------------------------------------------
    // Makes the program a regular application and brings the main window
    // to the front, centred on the screen under the pointer.
    void showMainWindow();
    // The main window's controller, made on first need; never null.
    std::shared_ptr<MainWindowController> ensureMainWindowController();
    std::shared_ptr<MainWindowController> mainWindowController() const { return mainWindowController_; }

    // --- Status items and menu ---------------------------------------------
    void handleMainStatusClick(platform::StatusBarButton& sender);
    void handleCalendarStatusClick(platform::StatusBarButton& sender);
    void refreshStatusBarIcon();
    void updateCalendarStatusItem();
    void rebuildStatusMenu();
    // Redraws the activity item from the network and player state and
    // refreshes the calendar item.
    void updateStatusBarActivityDisplay();
    // The menu of music applications to open.
    void showMusicApplicationMenu();

    // --- Keep display awake ------------------------------------------------
    void restoreDisplayAwakeActivity();
    // Ends the period, if any, and removes its three keys.
    void cancelDisplayAwakeActivity();

    // --- What it holds -----------------------------------------------------
    // Made on first use; the start-up sequence makes it.
    const std::shared_ptr<InputController>& inputController();
    const std::shared_ptr<SnapEngine>& snapEngine() const { return snapEngine_; }
    const std::shared_ptr<LayoutStore>& layoutStore() const { return layoutStore_; }
    const std::shared_ptr<QuickLaunchStore>& quickLaunchStore() const { return quickLaunchStore_; }
    const std::shared_ptr<WindowPinController>& windowPinController() const { return windowPinController_; }
    const std::shared_ptr<NetworkTrafficStatusView>& networkTrafficStatusView() const {
        return networkTrafficStatusView_;
    }
    const std::shared_ptr<platform::StatusItem>& statusItem() const { return statusItem_; }
    const std::shared_ptr<platform::StatusItem>& calendarStatusItem() const { return calendarStatusItem_; }
    const std::shared_ptr<platform::StatusItem>& activityStatusItem() const { return activityStatusItem_; }
    const std::shared_ptr<platform::Menu>& mainStatusMenu() const { return mainStatusMenu_; }
    // The last other application that became active.
    std::optional<pid_t> lastExternalPID() const { return lastExternalPID_; }

    bool networkTrafficEnabled() const { return networkTrafficEnabled_; }
    bool calendarEnabled() const { return calendarEnabled_; }
    bool mediaControlsEnabled() const { return mediaControlsEnabled_; }
    bool proxyTrafficEnabled() const { return proxyTrafficEnabled_; }

    struct Private {};
    explicit AppDelegate(Private);

private:
    // Evaluating it activates the configuration mirror; it is the first
    // member, so it runs before any other member reads a preference.
    struct ConfigurationMirrorActivated {};
    static ConfigurationMirrorActivated activateConfigurationMirror();

    // Workspace notification: another application became active.
    void applicationActivated(const platform::Notification& notification);
    void makeStatusItems();
    void handInputControllerCallbacks();
    // On the next turn after start-up: shows the main window unless the
    // program was started for a Finder request or one has arrived.
    void runFinderLaunchCheck();
    void showErrorAlert(const std::string& message);

    [[no_unique_address]] ConfigurationMirrorActivated persistentConfigurationBootstrap_ =
        activateConfigurationMirror();
    std::shared_ptr<TomatoFullscreenReminder> tomatoReminderPanel_;
    std::shared_ptr<ShutdownCountdownPanel> shutdownCountdownPanel_;
    std::shared_ptr<SnapEngine> snapEngine_;
    std::shared_ptr<LayoutStore> layoutStore_;
    std::shared_ptr<QuickLaunchStore> quickLaunchStore_;
    std::shared_ptr<InputController> inputController_;
    std::shared_ptr<MainWindowController> mainWindowController_;
    std::shared_ptr<platform::StatusItem> statusItem_;
    std::shared_ptr<platform::StatusItem> calendarStatusItem_;
    std::shared_ptr<platform::StatusItem> activityStatusItem_;
    std::shared_ptr<platform::Menu> mainStatusMenu_;
    std::shared_ptr<NetworkTrafficStatusView> networkTrafficStatusView_;
    std::optional<pid_t> lastExternalPID_;
    std::shared_ptr<platform::Timer> displayAwakeTimer_;
    std::optional<platform::Date> displayAwakeUntil_;
    // Kept in memory only: a shutdown never survives a restart.
    std::optional<platform::Date> scheduledShutdownDate_;
    std::shared_ptr<platform::Timer> scheduledShutdownTimer_;
    std::optional<int> displayAwakeSelectedMinutes_;
    std::shared_ptr<WindowPinController> windowPinController_;
    std::shared_ptr<platform::Timer> statusBarCountdownTimer_;
    bool networkTrafficEnabled_;
    bool calendarEnabled_;
    bool mediaControlsEnabled_;
    bool proxyTrafficEnabled_;

    platform::ObserverToken activationObserver_;
    platform::ObserverToken statusIconObserver_;
};

}  // namespace tallowmere
