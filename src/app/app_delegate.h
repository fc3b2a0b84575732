#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "menubar/local_proxy_traffic_sampler.h"
#include "menubar/network_traffic_sampler.h"
#include "platform/base/date.h"
#include "platform/desktop/screen.h"
#include "platform/gfx/image.h"
#include "platform/runtime/notification_center.h"
#include "platform/ui/application.h"
#include "platform/ui/menu.h"

namespace tallowmere {

namespace platform {
class MenuItem;
class PowerActivity;
class RunningProcess;
class StatusBarButton;
class StatusItem;
class Timer;
}  // namespace platform

class InputController;
class LayoutStore;
class MainWindowController;
class NetworkTrafficStatusView;
struct MusicApplicationChoice;
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
// The calendar item's picture: `day` in a rounded square, 24 × 24, template.
platform::Image calendarDayIcon(int day);

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

    // --- The status menu's own actions --------------------------------------
    // Asks the main window (when it exists) to save the current windows.
    void saveWorkspaceFromMenu();
    // Has Finder copy the path of its selection; alerts when nothing came.
    void copyPathFromMenu();
    // A blank document of the sender's type in Finder's front folder.
    void createDesktopFileFromMenu(const platform::MenuItem& sender);
    void openAINavigationFromMenu(const platform::MenuItem& sender);
    void openAllAINavigationFromMenu();
    void openWorkSceneMusicFromMenu(const platform::MenuItem& sender);
    void openMusicApplicationFromMenu(const platform::MenuItem& sender);
    // The menu-bar switches: each flips, stores its key and marks the sender.
    void toggleCalendarDisplayFromMenu(platform::MenuItem& sender);
    void toggleMediaControlsFromMenu(platform::MenuItem& sender);
    void toggleNetworkTrafficFromMenu(platform::MenuItem& sender);
    void toggleProxyTrafficFromMenu(platform::MenuItem& sender);
    void togglePinnedWindowFromMenu();
    // The proxy switch's title, mark and enabled state from the switches.
    void refreshProxyTrafficMenuItem(platform::MenuItem& item);

    // --- Pomodoro and scheduled shutdown (their own feature fills these) ----
    void startDefaultPomodoro();
    // Asks for a length in minutes (1 to 1440) and starts a pomodoro of it.
    void startCustomPomodoro();
    // Starts, or restarts, a pomodoro of `minutes`.
    void startPomodoro(int minutes);
    // Shows a running pomodoro's remaining time in the pomodoro item.
    void updatePomodoroCountdown();
    void scheduleShutdownFromMenu(const platform::MenuItem& sender);
    void scheduleCustomShutdownFromMenu();
    void cancelScheduledShutdownFromMenu();
    // Replaces any schedule with a shutdown `minutes` from now.
    void scheduleShutdown(int minutes, bool isCustom);
    // Runs one shell command with administrator privileges through osascript;
    // `completion` learns on the main queue whether it succeeded.
    void runAdministratorCommand(const std::string& command, std::function<void(bool succeeded)> completion);
    const ShutdownCountdownPanel& shutdownCountdownPanel() const { return *shutdownCountdownPanel_; }

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
    // The menu of music applications to open, at the pointer.
    void showMusicApplicationMenu();
    // Where the choice is installed, as a file URL; none when it is not (or
    // is only remembered).
    std::optional<std::string> installedMusicApplicationURL(const MusicApplicationChoice& choice) const;

    // --- Network traffic ---------------------------------------------------
    // Reads the interface counters and updates the rates; resets them while
    // traffic display is off.
    void updateNetworkTrafficRates();
    // Forgets every traffic sample and rate.
    void resetNetworkTrafficRates();
    const NetworkTrafficSampler& networkTraffic() const { return networkTraffic_; }
    // The port of the local proxy the system proxy settings name, if any.
    std::optional<int> activeLocalSystemProxyPort() const;
    // Starts measuring the local proxy's traffic, unless a measurement runs.
    void requestLocalProxyTrafficSample(int port);
    const LocalProxyTrafficSampler& localProxyTraffic() const { return *localProxyTraffic_; }
    // The activity item's one-second refresh, while something needs it.
    const std::shared_ptr<platform::Timer>& statusBarCountdownTimer() const { return statusBarCountdownTimer_; }
    // Where the counters are read; tests point it at fixture files.
    void setNetworkInterfaceReader(platform::NetworkInterfaceReader reader) {
        networkInterfaceReader_ = std::move(reader);
    }

    // --- Status icon ----------------------------------------------------------
    // The 22 × 22 picture of the chosen style for the menu bar.
    platform::Image statusBarIconImage() const;
    // The same picture unprocessed, at its own size, for the settings preview.
    platform::Image statusBarIconLargePreviewImage() const;

    // --- Keep display awake ------------------------------------------------
    // For the sender's tag in minutes.
    void keepDisplayAwakeFromMenu(const platform::MenuItem& sender);
    void keepDisplayAwakeAlwaysFromMenu();
    void cancelKeepDisplayAwakeFromMenu();
    // Starts a period ending at `end` (none: without end), replacing any.
    void beginDisplayAwake(std::optional<platform::Date> end);
    void restoreDisplayAwakeActivity();
    // Ends the period, if any, and removes its three keys.
    void cancelDisplayAwakeActivity();
    bool isKeepingDisplayAwake() const { return displayAwakeActivity_ != nullptr; }
    std::optional<platform::Date> displayAwakeUntil() const { return displayAwakeUntil_; }
    std::optional<int> displayAwakeSelectedMinutes() const { return displayAwakeSelectedMinutes_; }

    // --- Projection mode --------------------------------------------------------
    // Tag 1 mirrors every display of the main one; any other tag extends.
    void setProjectionModeFromMenu(const platform::MenuItem& sender);
    void showProjectionModeError(const std::string& message);
    // Every connected display, mirrored or not, in the system's order.
    static std::vector<platform::DisplayID> onlineDisplayIDs();

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
    const TomatoFullscreenReminder& tomatoReminderPanel() const { return *tomatoReminderPanel_; }
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
    // Activates the program and runs an alert with one "好" button.
    void showAlert(const std::string& message, const std::string& informativeText);
    // Sections of the status menu, in order.
    void addWorkspaceItems(platform::Menu& menu);
    void addToolItems(platform::Menu& menu);
    void addSwitchItems(platform::Menu& menu);
    void addProjectionItem(platform::Menu& menu);
    void addTimerItems(platform::Menu& menu);
    void addKeepAwakeItem(platform::Menu& menu);
    void addShutdownItem(platform::Menu& menu);
    // A menu action that calls `method` on the delegate while it lives.
    platform::MenuItem::Action action(void (AppDelegate::*method)());
    platform::MenuItem::Action action(void (AppDelegate::*method)(platform::MenuItem&));
    platform::MenuItem::Action action(void (AppDelegate::*method)(const platform::MenuItem&));
    void endPomodoro();
    // A finished proxy measurement's report, checked against what is shown now.
    void localProxyTrafficReported(int port, const std::string& report);
    // The timer texts of the activity item, in their order.
    std::vector<std::string> activityTimerTexts() const;
    void updatePomodoroCountdownMenuTitle(const std::optional<std::string>& remaining);

    [[no_unique_address]] ConfigurationMirrorActivated persistentConfigurationBootstrap_ =
        activateConfigurationMirror();
    std::shared_ptr<platform::Timer> pomodoroTimer_;
    std::optional<platform::Date> pomodoroEndDate_;
    std::shared_ptr<platform::MenuItem> pomodoroCountdownMenuItem_;
    std::weak_ptr<platform::MenuItem> proxyTrafficMenuItem_;
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
    std::optional<int> lastCalendarStatusDay_;
    std::shared_ptr<platform::Menu> mainStatusMenu_;
    std::shared_ptr<NetworkTrafficStatusView> networkTrafficStatusView_;
    std::optional<pid_t> lastExternalPID_;
    std::shared_ptr<platform::PowerActivity> displayAwakeActivity_;
    std::shared_ptr<platform::Timer> displayAwakeTimer_;
    std::optional<platform::Date> displayAwakeUntil_;
    // Kept in memory only: a shutdown never survives a restart.
    std::optional<platform::Date> scheduledShutdownDate_;
    std::shared_ptr<platform::Timer> scheduledShutdownTimer_;
    std::optional<int> scheduledShutdownSelectedMinutes_;
    bool scheduledShutdownIsCustom_ = false;
    std::shared_ptr<platform::RunningProcess> shutdownProcess_;
    std::optional<int> displayAwakeSelectedMinutes_;
    std::shared_ptr<WindowPinController> windowPinController_;
    std::shared_ptr<platform::Timer> statusBarCountdownTimer_;
    bool networkTrafficEnabled_;
    bool calendarEnabled_;
    bool mediaControlsEnabled_;
    bool proxyTrafficEnabled_;
    NetworkTrafficSampler networkTraffic_;
    platform::NetworkInterfaceReader networkInterfaceReader_;
    std::shared_ptr<LocalProxyTrafficSampler> localProxyTraffic_ = LocalProxyTrafficSampler::make();

    platform::ObserverToken activationObserver_;
    platform::ObserverToken statusIconObserver_;
};

}  // namespace tallowmere
