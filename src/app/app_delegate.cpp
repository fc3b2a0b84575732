#include "app/app_delegate.h"

#include "app/about_presenter.h"
#include "app/application_icon.h"
#include "app/appearance_preferences.h"
#include "app/launch_at_login_manager.h"
#include "app/persistent_configuration.h"
#include "app/status_bar_icon_preference.h"
#include "finder/finder_extension_bridge.h"
#include "hosts/hosts_editor_controller.h"
#include "localization/interface_language.h"
#include "mainwindow/input_feature_switches.h"
#include "mainwindow/main_window_controller.h"
#include "menubar/default_input_source_controller.h"
#include "menubar/media_control_controller.h"
#include "menubar/network_traffic_status_view.h"
#include "platform/base/url.h"
#include "platform/base/uuid.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/alert.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu_item.h"
#include "quicklaunch/quick_launch_panel.h"
#include "quicklaunch/quick_launch_store.h"
#include "selection/selvane_selection_bar.h"
#include "time/countdown_day_controller.h"
#include "time/shutdown_countdown_panel.h"
#include "time/tomato_fullscreen_reminder.h"
#include "webpanel/menu_bar_web_controller.h"
#include "windows/input_controller.h"
#include "windows/layout_store.h"
#include "windows/snap_engine.h"
#include "windows/window_pin_controller.h"

namespace tallowmere {

using namespace platform;

namespace {

// A switch that is on unless it is stored as a boolean false: any other
// stored type (a string, say) leaves it on.
bool switchDefaultingOn(std::string_view key) {
    auto stored = UserDefaults::standard().object(key);
    const auto flag = stored ? stored->asBoolean() : std::nullopt;
    return flag.value_or(true);
}

}  // namespace

// --- Construction ---------------------------------------------------------------

std::shared_ptr<AppDelegate> AppDelegate::make() { return std::make_shared<AppDelegate>(Private{}); }

AppDelegate::ConfigurationMirrorActivated AppDelegate::activateConfigurationMirror() {
    PersistentConfiguration::shared().activate();
    return {};
}

AppDelegate::AppDelegate(Private)
    : tomatoReminderPanel_(std::make_shared<TomatoFullscreenReminder>()),
      shutdownCountdownPanel_(std::make_shared<ShutdownCountdownPanel>()),
      snapEngine_(std::make_shared<SnapEngine>()),
      layoutStore_(std::make_shared<LayoutStore>()),
      quickLaunchStore_(std::make_shared<QuickLaunchStore>()),
      networkTrafficStatusView_(NetworkTrafficStatusView::make()),
      windowPinController_(std::make_shared<WindowPinController>()),
      networkTrafficEnabled_(UserDefaults::standard().boolean("networkTrafficEnabled")),
      calendarEnabled_(switchDefaultingOn("calendarEnabled")),
      mediaControlsEnabled_(UserDefaults::standard().boolean("mediaControlsEnabled")),
      proxyTrafficEnabled_(switchDefaultingOn("proxyTrafficEnabled")) {}

AppDelegate::~AppDelegate() {
    if (!AppContext::hasCurrent()) return;
    AppContext::current().notificationCenter().removeObserver(statusIconObserver_);
    if (auto* desktop = AppContext::current().sharedIfMade<Desktop>()) {
        desktop->workspace().notificationCenter().removeObserver(activationObserver_);
    }
}

const std::shared_ptr<InputController>& AppDelegate::inputController() {
    if (!inputController_) {
        inputController_ =
            InputController::make(snapEngine_, quickLaunchStore_, std::make_shared<SelvaneSelectionBar>(ApplicationIcon::image()));
    }
    return inputController_;
}

// --- Start-up -----------------------------------------------------------------------

void AppDelegate::applicationDidFinishLaunching() {
    auto& defaults = UserDefaults::standard();
    auto& application = Application::shared();
    auto& desktop = DesktopLink::desktop();
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();

    DefaultInputSourceController::shared().start();

    scheduledShutdownDate_.reset();
    defaults.removeObject(scheduledShutdownDateKey);

    application.setActivationPolicy(ActivationPolicy::accessory);
    AppearancePreferences::applyTheme();
    LaunchAtLoginManager::synchronizePathIfEnabled();

    activationObserver_ = desktop.workspace().notificationCenter().addObserver(
        Workspace::didActivateApplicationNotification, nullptr, [weakSelf](const Notification& notification) {
            if (auto self = weakSelf.lock()) self->applicationActivated(notification);
        });
    if (auto frontmost = desktop.workspace().frontmostApplication();
        frontmost && frontmost->processIdentifier() != desktop.currentProcessIdentifier()) {
        lastExternalPID_ = frontmost->processIdentifier();
    }

    mainStatusMenu_ = Menu::make();
    mainStatusMenu_->setDelegate(weakSelf);
    makeStatusItems();
    MenuBarWebController::shared().installStatusItems();

    networkTrafficStatusView_->onMediaAction = [weakSelf](MediaControlAction action) {
        auto self = weakSelf.lock();
        if (!self) return;
        auto& media = MediaControlController::shared();
        if (action == MediaControlAction::openPlayer && !media.hasCurrentPlayer()) {
            self->showMusicApplicationMenu();
        } else {
            media.perform(action);
        }
    };
    MediaControlController::shared().onStateChanged = [weakSelf](bool isPlaying, std::optional<Image> playerIcon) {
        auto self = weakSelf.lock();
        if (!self) return;
        auto& view = *self->networkTrafficStatusView_;
        view.mediaIsPlaying = isPlaying;
        view.mediaPlayerIcon = std::move(playerIcon);
        view.setNeedsDisplay();
    };
    MediaControlController::shared().setMonitoringEnabled(mediaControlsEnabled_);

    refreshStatusBarIcon();
    rebuildStatusMenu();
    restoreDisplayAwakeActivity();

    statusIconObserver_ = AppContext::current().notificationCenter().addObserver(
        std::string(StatusBarIconPreference::didChangeNotification), nullptr, [weakSelf](const Notification&) {
            if (auto self = weakSelf.lock()) self->refreshStatusBarIcon();
        });

    handInputControllerCallbacks();
    // The mouse and trackpad features run from the start, before the main
    // window (which hands the switches over again whenever it refreshes)
    // is ever opened.
    InputFeatureSwitches::apply(*inputController(), desktop.accessibility().isProcessTrusted());

    AppContext::current().mainQueue().async([weakSelf] {
        if (auto self = weakSelf.lock()) self->runFinderLaunchCheck();
    });
}

void AppDelegate::handInputControllerCallbacks() {
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    auto openSettings = [weakSelf] {
        if (auto self = weakSelf.lock()) self->showMainWindow();
    };
    // The add requests come from the quick-launch panel while another
    // application is in front: the program comes forward for the dialog.
    auto addApplication = [weakSelf] {
        auto self = weakSelf.lock();
        if (!self) return;
        Application::shared().activate(true);
        auto sender = Button::make();
        self->ensureMainWindowController()->addQuickApplication(*sender);
    };
    auto addWebsite = [weakSelf] {
        auto self = weakSelf.lock();
        if (!self) return;
        Application::shared().activate(true);
        self->ensureMainWindowController()->addQuickWebsite();
    };
    auto addInformation = [weakSelf] {
        auto self = weakSelf.lock();
        if (!self) return;
        Application::shared().activate(true);
        self->ensureMainWindowController()->addQuickInformation();
    };

    auto& controller = *inputController();
    controller.onRequestOpenSettings = openSettings;
    controller.onRequestAddQuickApplication = addApplication;
    controller.onRequestAddQuickWebsite = addWebsite;
    controller.onRequestAddQuickInformation = addInformation;
    auto& panel = controller.quickLaunchPanel();
    panel.onOpenSettings = openSettings;
    panel.onAddApplication = addApplication;
    panel.onAddWebsite = addWebsite;
    panel.onAddInformation = addInformation;
}

// --- Events from the system ----------------------------------------------------------

void AppDelegate::applicationOpenURLs(const std::vector<std::string>& urls) {
    for (const auto& text : urls) {
        // Text that is no URL at all cannot be a request.
        if (auto url = Url::parse(text)) FinderExtensionBridge::shared().handle(*url);
    }
}

bool AppDelegate::applicationShouldHandleReopen(bool /*hasVisibleWindows*/) {
    // Opening a URL with the running program brings a reopen along; the
    // request must not open the main window.
    if (Application::shared().currentAppleEventID() == AppleEventID::getURL) return false;
    showMainWindow();
    return true;
}

void AppDelegate::applicationDidBecomeActive() {
    if (mainWindowController_) mainWindowController_->refreshRuntimeState();
}

void AppDelegate::applicationActivated(const Notification& notification) {
    const auto* running = notification.info<std::shared_ptr<RunningApplication>>(Workspace::applicationKey);
    if (!running || !*running) return;
    const pid_t pid = (*running)->processIdentifier();
    if (pid != DesktopLink::desktop().currentProcessIdentifier()) lastExternalPID_ = pid;
}

// --- Stop ----------------------------------------------------------------------------------

void AppDelegate::applicationWillTerminate() {
    // The mirror's last write comes first, while the keep-display-awake keys
    // are still live, and nothing after it reaches the file: a period that
    // was running resumes at the next start.
    PersistentConfiguration::shared().finalize();
    cancelDisplayAwakeActivity();
    if (statusBarCountdownTimer_) statusBarCountdownTimer_->invalidate();
    statusBarCountdownTimer_.reset();
    if (scheduledShutdownTimer_) scheduledShutdownTimer_->invalidate();
    scheduledShutdownTimer_.reset();
    scheduledShutdownDate_.reset();
    UserDefaults::standard().removeObject(scheduledShutdownDateKey);
}

// --- The shell's status-menu actions ------------------------------------------------------

void AppDelegate::showAboutFromMenu() { AboutPresenter::show(); }

void AppDelegate::restoreWorkspaceFromMenu(const MenuItem& sender) {
    const auto* text = sender.representedObjectAs<std::string>();
    const auto id = text ? Uuid::fromString(*text) : std::nullopt;
    if (!id) return;
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    layoutStore_->restore(*id, [weakSelf](Result<int> restored) {
        if (restored) return;
        // Shown on the next turn: the menu that asked has closed by then.
        AppContext::current().mainQueue().async([weakSelf, message = restored.error().message] {
            if (auto self = weakSelf.lock()) self->showErrorAlert(message);
        });
    });
}

void AppDelegate::toggleLaunchAtLoginFromMenu() {
    auto switched = LaunchAtLoginManager::setEnabled(!LaunchAtLoginManager::isEnabled());
    if (!switched) {
        showErrorAlert(switched.error().message);
        return;
    }
    if (mainWindowController_) mainWindowController_->refreshRuntimeState();
}

void AppDelegate::showCountdownFromMenu() {
    Application::shared().activate(true);
    CountdownDayController::shared().presentEditor();
}

void AppDelegate::showHostsEditorFromMenu() { HostsEditorController::shared().show(); }

void AppDelegate::quit() { Application::shared().terminate(); }

void AppDelegate::showErrorAlert(const std::string& message) {
    // An accessory program has no Dock icon to come forward by.
    Application::shared().activate(true);
    auto alert = Alert::make();
    alert->messageText = message;
    alert->addButton(L("好"));
    alert->runModal();
}

}  // namespace tallowmere
