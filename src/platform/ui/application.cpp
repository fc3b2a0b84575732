#include "platform/ui/application.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/system/administrator_prompt.h"
#include "platform/ui/administrator_alert.h"
#include "platform/ui/calendar_access_alert.h"
#include "platform/ui/character_palette.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/ui_trace.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

std::string rawValue(ActivationPolicy policy) {
    switch (policy) {
        case ActivationPolicy::regular: return "regular";
        case ActivationPolicy::accessory: return "accessory";
        case ActivationPolicy::prohibited: return "prohibited";
    }
    return "regular";
}

// Sets the current Apple event for the scope of its handling.
class ScopedAppleEvent {
public:
    ScopedAppleEvent(std::optional<std::uint32_t>& slot, std::uint32_t id) : slot_(slot), previous_(slot) {
        slot_ = id;
    }
    ~ScopedAppleEvent() { slot_ = previous_; }
    ScopedAppleEvent(const ScopedAppleEvent&) = delete;
    ScopedAppleEvent& operator=(const ScopedAppleEvent&) = delete;

private:
    std::optional<std::uint32_t>& slot_;
    std::optional<std::uint32_t> previous_;
};

bool isCurrentProcess(const Notification& notification) {
    const auto* app = notification.info<std::shared_ptr<RunningApplication>>(Workspace::applicationKey);
    if (!app || !*app) return false;
    return (*app)->processIdentifier() == DesktopLink::desktop().currentProcessIdentifier();
}

}  // namespace

Application::Application() {
    // Commands that need administrator rights ask the person at this desktop.
    AdministratorPrompt::shared().setAsk(askForAdministratorPassword);
    auto& desktop = DesktopLink::desktop();
    desktop_ = desktop.weak_from_this();
    // So does a request for the calendars.
    desktop.calendars().ask = askForCalendarAccess;
    // And the area of an interactive screen capture.
    desktop.screenCapture().chooseArea = [] { return Application::shared().askForScreenArea(); };
    auto& notifications = desktop.workspace().notificationCenter();
    // The desktop decides who is frontmost (a click on another application's
    // window activates it); the program follows what it posts.
    activationObserver_ = notifications.addObserver(Workspace::didActivateApplicationNotification, nullptr,
                                                    [this](const Notification& notification) {
                                                        if (isCurrentProcess(notification)) becameActive();
                                                    });
    deactivationObserver_ = notifications.addObserver(Workspace::didDeactivateApplicationNotification, nullptr,
                                                      [this](const Notification& notification) {
                                                          if (isCurrentProcess(notification)) resignedActive();
                                                      });
    // URLs the workspace opens with the program arrive as the URL-open event.
    desktop.currentApplication().onOpenURL = [](SimulatedApplication&, const std::string& url) {
        Application::shared().receiveURLOpenEvent({url});
    };
    if (auto running = desktop.currentApplication().runningApplication()) {
        activationPolicy_ = running->activationPolicy();
        active_ = running->isActive();
    }
}

Application::~Application() {
    if (auto desktop = desktop_.lock()) {
        desktop->currentApplication().onOpenURL = nullptr;
        desktop->workspace().notificationCenter().removeObserver(activationObserver_);
        desktop->workspace().notificationCenter().removeObserver(deactivationObserver_);
    }
}

Application& Application::shared() { return AppContext::current().shared<Application>(); }

// --- Life ----------------------------------------------------------------------

void Application::finishLaunching() {
    if (state_ != State::notLaunched) return;
    state_ = State::launching;
    if (auto owner = delegate()) owner->applicationWillFinishLaunching();
    if (auto owner = delegate()) owner->applicationDidFinishLaunching();
    if (state_ != State::launching) return;  // terminated while launching
    state_ = State::running;
    UiTrace::shared().record("application finished launching");
    auto waiting = std::move(pendingURLs_);
    pendingURLs_.clear();
    for (const auto& urls : waiting) deliverURLs(urls);
}

void Application::run() {
    finishLaunching();
    auto& context = AppContext::current();
    if (context.isDeterministic()) {
        context.mainQueue().runUntilIdle();
        return;
    }
    if (state_ == State::running) context.mainQueue().run();
}

void Application::terminate() {
    if (state_ == State::terminated) return;
    if (auto owner = delegate()) owner->applicationWillTerminate();
    AppContext::current().notificationCenter().post(willTerminateNotification, this);
    state_ = State::terminated;
    UiTrace::shared().record("application terminated");
    AppContext::current().mainQueue().stop();
}

// --- Activation ------------------------------------------------------------------

void Application::setActivationPolicy(ActivationPolicy policy) {
    if (policy == activationPolicy_) return;
    activationPolicy_ = policy;
    if (auto running = DesktopLink::desktop().currentApplication().runningApplication()) {
        running->setActivationPolicy(policy);
    }
    UiTrace::shared().record("activation policy " + rawValue(policy));
}

void Application::activate(bool ignoringOtherApps) {
    auto& desktop = DesktopLink::desktop();
    if (hidden_) unhide();
    ActivationOptions options;
    options.ignoringOtherApps = ignoringOtherApps;
    desktop.activate(desktop.currentApplication(), options);
    // The desktop posts the change when the program was not frontmost; when
    // it already was, nothing is posted and the program stays active.
    if (!active_ && desktop.frontmostApplication().get() == &desktop.currentApplication()) becameActive();
}

void Application::becameActive() {
    if (active_) return;
    active_ = true;
    if (auto owner = delegate()) owner->applicationDidBecomeActive();
}

void Application::resignedActive() {
    if (!active_) return;
    active_ = false;
    for (const auto& window : windows()) {
        if (window->hidesOnDeactivate() && window->isVisible()) window->orderOut();
    }
    if (auto owner = delegate()) owner->applicationDidResignActive();
}

void Application::hide() {
    if (hidden_) return;
    hidden_ = true;
    hiddenByHide_.clear();
    for (const auto& window : windows()) {
        if (!window->isVisible()) continue;
        hiddenByHide_.push_back(window);
        window->orderOut();
    }
    DesktopLink::desktop().currentApplication().setHidden(true);
}

void Application::unhide() {
    if (!hidden_) return;
    hidden_ = false;
    DesktopLink::desktop().currentApplication().setHidden(false);
    auto windows = std::move(hiddenByHide_);
    hiddenByHide_.clear();
    for (const auto& weak : windows) {
        if (auto window = weak.lock()) window->orderFront();
    }
}

void Application::setAppearance(std::optional<Appearance> appearance) {
    appearance_ = appearance;
    appearanceChanged();
}

void Application::setSystemAppearance(Appearance appearance) {
    systemAppearance_ = appearance;
    appearanceChanged();
}

Appearance Application::effectiveAppearance() const { return appearance_.value_or(systemAppearance_); }

void Application::appearanceChanged() {
    CurrentAppearance::shared().setAppearance(effectiveAppearance());
    for (const auto& window : windows()) {
        if (auto content = window->contentView()) content->noteEffectiveAppearanceChanged();
    }
}

// --- Events from the system --------------------------------------------------------

void Application::receiveURLOpenEvent(std::vector<std::string> urls) {
    if (state_ == State::terminated) return;
    if (state_ != State::running) {
        pendingURLs_.push_back(std::move(urls));
        return;
    }
    ScopedAppleEvent event(currentAppleEventID_, AppleEventID::getURL);
    deliverURLs(urls);
    if (auto owner = delegate()) {
        const bool anyVisible = std::any_of(windows_.begin(), windows_.end(), [](const auto& weak) {
            auto window = weak.lock();
            return window && window->isVisible();
        });
        owner->applicationShouldHandleReopen(anyVisible);
    }
}

void Application::deliverURLs(const std::vector<std::string>& urls) {
    ScopedAppleEvent event(currentAppleEventID_, AppleEventID::getURL);
    if (auto owner = delegate()) owner->applicationOpenURLs(urls);
}

bool Application::receiveReopenEvent() {
    if (state_ != State::running) return false;
    ScopedAppleEvent event(currentAppleEventID_, AppleEventID::reopenApplication);
    auto owner = delegate();
    if (!owner) return false;
    bool anyVisible = false;
    for (const auto& window : windows()) anyVisible = anyVisible || window->isVisible();
    return owner->applicationShouldHandleReopen(anyVisible);
}

Application::ScopedCurrentEvent::ScopedCurrentEvent(Application& application, const Event& event)
    : application_(application), previous_(application.currentEvent_) {
    application_.currentEvent_ = event;
}

Application::ScopedCurrentEvent::~ScopedCurrentEvent() { application_.currentEvent_ = previous_; }

// --- Windows -----------------------------------------------------------------------

std::vector<std::shared_ptr<Window>> Application::windows() const {
    std::vector<std::shared_ptr<Window>> alive;
    for (const auto& weak : windows_) {
        if (auto window = weak.lock()) alive.push_back(std::move(window));
    }
    return alive;
}

std::shared_ptr<Window> Application::windowWithNumber(int windowNumber) const {
    for (const auto& weak : windows_) {
        auto window = weak.lock();
        if (window && window->windowNumber() == windowNumber) return window;
    }
    return nullptr;
}

void Application::registerWindow(const std::shared_ptr<Window>& window) {
    std::erase_if(windows_, [](const auto& weak) { return weak.expired(); });
    windows_.push_back(window);
}

void Application::windowBecameKey(const std::shared_ptr<Window>& window) { keyWindow_ = window; }

void Application::windowResignedKey(const Window& window) {
    if (keyWindow_.lock().get() == &window) keyWindow_.reset();
}

void Application::windowBecameMain(const std::shared_ptr<Window>& window) { mainWindow_ = window; }

void Application::windowResignedMain(const Window& window) {
    if (mainWindow_.lock().get() == &window) mainWindow_.reset();
}

void Application::windowClosed(const Window& window) {
    windowResignedKey(window);
    windowResignedMain(window);
    auto owner = delegate();
    if (!owner || state_ != State::running) return;
    for (const auto& other : windows()) {
        if (other.get() != &window && other->isVisible()) return;
    }
    if (owner->applicationShouldTerminateAfterLastWindowClosed()) terminate();
}

// --- Modal sessions ------------------------------------------------------------------

Application::ModalSession::ModalSession(Application& application, const std::shared_ptr<Window>& window)
    : application_(application), depth_(application.modalStack_.size()) {
    application_.modalStack_.push_back({window, std::nullopt});
}

Application::ModalSession::~ModalSession() { application_.modalStack_.resize(depth_); }

void Application::ModalSession::runPendingWork() { AppContext::current().mainQueue().runUntilIdle(); }

std::optional<ModalResponse> Application::ModalSession::response() const {
    if (depth_ >= application_.modalStack_.size()) return std::nullopt;
    return application_.modalStack_[depth_].response;
}

std::shared_ptr<Window> Application::modalWindow() const {
    return modalStack_.empty() ? nullptr : modalStack_.back().window.lock();
}

std::optional<ModalResponse> Application::modalResponse() const {
    return modalStack_.empty() ? std::nullopt : modalStack_.back().response;
}

void Application::stopModal(ModalResponse response) {
    if (modalStack_.empty()) return;
    auto& innermost = modalStack_.back();
    if (!innermost.response) innermost.response = response;
}

ModalResponse Application::runModal(const std::shared_ptr<Window>& window) {
    if (!window) return ModalResponses::abort;
    ModalSession session(*this, window);
    window->makeKeyAndOrderFront();
    UiTrace::shared().record("modal session for " + quotedForTrace(window->title()));
    session.runPendingWork();
    if (!session.response() && responder_) {
        responder_->answerModalWindow(*window);
        if (!session.response()) session.runPendingWork();
    }
    if (auto response = session.response()) return *response;
    // Nobody there to answer: the session ends as if cancelled.
    UiTrace::shared().record("modal session for " + quotedForTrace(window->title()) +
                             " ended without a person (cancelled)");
    return ModalResponses::abort;
}

void Application::orderFrontCharacterPalette() {
    ++characterPaletteOpenings_;
    CharacterPalette::shared().show();
}

std::optional<ScreenRect> Application::askForScreenArea() {
    UiTrace::shared().record("screen area selection shown");
    std::optional<ScreenRect> area;
    if (responder_) area = responder_->answerScreenArea();
    if (area) {
        const auto r = area->integral();
        UiTrace::shared().record("screen area selected " + std::to_string(static_cast<long>(r.minX())) + "," +
                                 std::to_string(static_cast<long>(r.minY())) + " " +
                                 std::to_string(static_cast<long>(r.width())) + "x" +
                                 std::to_string(static_cast<long>(r.height())));
    } else {
        UiTrace::shared().record("screen area selection cancelled");
    }
    return area;
}

}  // namespace tallowmere::platform
