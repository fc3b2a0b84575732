// The status menu's own actions: workspace saving, Finder's path, blank
// documents, the AI and music sites, the menu-bar switches and the pin.
#include "app/app_delegate.h"
#include "app/status_menu_links.h"
#include "finder/finder_destination_resolver.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "mainwindow/main_window_controller.h"
#include "menubar/media_control_controller.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/alert.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu_item.h"
#include "quicklaunch/new_file_type.h"
#include "quicklaunch/quick_launch_store.h"
#include "time/calendar_panel_controller.h"
#include "windows/accessibility.h"
#include "windows/window_pin_controller.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr std::string_view finderBundleIdentifier = "com.apple.finder";
// Finder needs a moment to come forward before it takes the chord, then a
// moment per try to put the path on the pasteboard.
constexpr double finderActivationDelay = 0.22;
constexpr double pasteboardPollInterval = 0.05;
constexpr int pasteboardPollCount = 20;
// The C key with Command and Option: Finder's copy-as-pathname chord.
constexpr std::uint16_t copyPathKeyCode = 8;

std::shared_ptr<RunningApplication> findFinder(std::optional<pid_t> lastExternalPID) {
    auto& workspace = DesktopLink::desktop().workspace();
    std::vector<std::shared_ptr<RunningApplication>> candidates;
    if (lastExternalPID) candidates.push_back(workspace.runningApplication(*lastExternalPID));
    if (auto frontmost = workspace.frontmostApplication()) candidates.push_back(frontmost);
    for (const auto& candidate : candidates) {
        if (candidate && candidate->bundleIdentifier() == finderBundleIdentifier) return candidate;
    }
    for (const auto& running : workspace.runningApplications()) {
        if (running->bundleIdentifier() == finderBundleIdentifier) return running;
    }
    return nullptr;
}

std::vector<std::string> statusMenuAIURLs() {
    std::vector<std::string> urls;
    for (const auto& service : aiNavigationServices) {
        if (Url::parse(service.address)) urls.emplace_back(service.address);
    }
    return urls;
}

void storeSwitch(std::string_view key, bool on, MenuItem& sender) {
    UserDefaults::standard().set(key, PropertyValue(on));
    sender.setState(on ? MenuItemState::on : MenuItemState::off);
}

}  // namespace

void AppDelegate::showAlert(const std::string& message, const std::string& informativeText) {
    Application::shared().activate(true);
    auto alert = Alert::make();
    alert->messageText = message;
    alert->informativeText = informativeText;
    alert->addButton(L("好"));
    alert->runModal();
}

void AppDelegate::saveWorkspaceFromMenu() {
    if (!mainWindowController_) return;
    Application::shared().activate(true);
    mainWindowController_->saveLayout();
}

void AppDelegate::copyPathFromMenu() {
    auto& desktop = DesktopLink::desktop();
    auto finder = findFinder(lastExternalPID_);
    if (!desktop.accessibility().isProcessTrusted()) {
        presentAccessibilityPermissionPrompt();
        return;
    }
    const std::string notFound = L("未找到当前文件或文件夹");
    if (!finder) {
        showAlert(notFound, L("请先在桌面或 Finder 中选中文件、文件夹，或打开一个文件夹窗口。"));
        return;
    }
    const int changeCount = desktop.pasteboard().changeCount();
    finder->activate();
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    auto& queue = AppContext::current().mainQueue();
    // Waited for on the main queue rather than by blocking it, so the
    // program keeps drawing while Finder works.
    queue.asyncAfter(finderActivationDelay, [weakSelf, finder, changeCount, notFound] {
        auto self = weakSelf.lock();
        if (!self) return;
        auto& desktop = DesktopLink::desktop();
        // The chord goes to whatever is frontmost: unless Finder really came
        // forward, it would land in another application.
        auto frontmost = desktop.workspace().frontmostApplication();
        if (finder->isTerminated() || !frontmost || frontmost->processIdentifier() != finder->processIdentifier()) {
            self->showAlert(notFound, L("请先在桌面或 Finder 中选中文件、文件夹，或打开一个文件夹窗口。"));
            return;
        }
        const ModifierFlags flags{ModifierFlags::command | ModifierFlags::option};
        desktop.post(Event::key(EventType::keyDown, copyPathKeyCode, "c", flags));
        desktop.post(Event::key(EventType::keyUp, copyPathKeyCode, "c", flags));
        auto poll = std::make_shared<std::function<void(int)>>();
        *poll = [weakSelf, changeCount, notFound, weakPoll = std::weak_ptr(poll)](int attempt) {
            auto self = weakSelf.lock();
            auto again = weakPoll.lock();
            if (!self || !again) return;
            auto& pasteboard = DesktopLink::desktop().pasteboard();
            const auto text = pasteboard.string();
            if (pasteboard.changeCount() != changeCount && text && !text->empty()) return;
            if (attempt + 1 >= pasteboardPollCount) {
                self->showAlert(notFound, L("请先在桌面或 Finder 中选中文件或文件夹，再点击复制文件或文件夹路径。"));
                return;
            }
            AppContext::current().mainQueue().asyncAfter(pasteboardPollInterval,
                                                         [again, attempt] { (*again)(attempt + 1); });
        };
        AppContext::current().mainQueue().asyncAfter(pasteboardPollInterval, [poll] { (*poll)(0); });
    });
}

void AppDelegate::createDesktopFileFromMenu(const MenuItem& sender) {
    const auto* raw = sender.representedObjectAs<std::string>();
    const auto type = raw ? newFileTypeFromRawValue(*raw) : std::nullopt;
    if (!type) return;
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    FinderDestinationResolver::shared().resolve([weakSelf, type = *type](std::optional<std::filesystem::path> folder) {
        auto self = weakSelf.lock();
        if (!self || !folder) return;
        auto created = QuickLaunchStore::createBlankDesktopFile("new", rawValue(type), *folder);
        if (!created) {
            self->showErrorAlert(created.error().message);
            return;
        }
        DesktopLink::desktop().workspace().activateFileViewerSelecting({created->string()});
    });
}

void AppDelegate::openAINavigationFromMenu(const MenuItem& sender) {
    const auto urls = statusMenuAIURLs();
    const int tag = sender.tag();
    if (tag < 0 || static_cast<std::size_t>(tag) >= urls.size()) return;
    DesktopLink::desktop().workspace().openURL(urls[static_cast<std::size_t>(tag)]);
}

void AppDelegate::openAllAINavigationFromMenu() {
    for (const auto& url : statusMenuAIURLs()) DesktopLink::desktop().workspace().openURL(url);
}

void AppDelegate::openWorkSceneMusicFromMenu(const MenuItem& sender) {
    const int tag = sender.tag();
    if (tag < 0 || static_cast<std::size_t>(tag) >= workScenePlaylistAddresses.size()) return;
    const std::string address(workScenePlaylistAddresses[static_cast<std::size_t>(tag)]);
    if (!Url::parse(address)) return;
    DesktopLink::desktop().workspace().openURL(address);
}

void AppDelegate::openMusicApplicationFromMenu(const MenuItem& sender) {
    const auto* location = sender.representedObjectAs<std::string>();
    if (!location) return;
    const auto url = Url::parse(*location);
    if (!url || !url->isFileUrl()) return;
    DesktopLink::desktop().workspace().openApplication(url->path(), OpenConfiguration{.activates = true}, {});
}

void AppDelegate::toggleCalendarDisplayFromMenu(MenuItem& sender) {
    calendarEnabled_ = !calendarEnabled_;
    storeSwitch("calendarEnabled", calendarEnabled_, sender);
    if (!calendarEnabled_) CalendarPanelController::shared().hideCalendar();
    updateStatusBarActivityDisplay();
}

void AppDelegate::toggleMediaControlsFromMenu(MenuItem& sender) {
    mediaControlsEnabled_ = !mediaControlsEnabled_;
    storeSwitch("mediaControlsEnabled", mediaControlsEnabled_, sender);
    MediaControlController::shared().setMonitoringEnabled(mediaControlsEnabled_);
    updateStatusBarActivityDisplay();
}

void AppDelegate::toggleNetworkTrafficFromMenu(MenuItem& sender) {
    networkTrafficEnabled_ = !networkTrafficEnabled_;
    storeSwitch("networkTrafficEnabled", networkTrafficEnabled_, sender);
    // The proxy switch only means something while traffic is shown.
    if (auto proxy = proxyTrafficMenuItem_.lock()) refreshProxyTrafficMenuItem(*proxy);
    resetNetworkTrafficRates();
    updateStatusBarActivityDisplay();
}

void AppDelegate::toggleProxyTrafficFromMenu(MenuItem& sender) {
    proxyTrafficEnabled_ = !proxyTrafficEnabled_;
    UserDefaults::standard().set("proxyTrafficEnabled", PropertyValue(proxyTrafficEnabled_));
    refreshProxyTrafficMenuItem(sender);
    networkTraffic_.clearVPN();
    updateStatusBarActivityDisplay();
}

void AppDelegate::togglePinnedWindowFromMenu() {
    auto toggled = windowPinController_->toggle(lastExternalPID_);
    const auto* error = std::get_if<WindowPinError>(&toggled);
    if (!error) {
        rebuildStatusMenu();
        return;
    }
    if (*error == WindowPinError::accessibilityRequired) {
        DesktopLink::desktop().accessibility().isProcessTrusted(true);
    }
    showAlert(ProductIdentity::localizedBrand("无法钉住窗口", "Unable to Pin Window"), localizedDescription(*error));
}

}  // namespace tallowmere
