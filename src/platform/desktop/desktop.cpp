#include "platform/desktop/desktop.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "platform/base/url.h"
#include "platform/base/text.h"
#include "platform/desktop/finder_window_layout.h"
#include "platform/desktop/screen_lock_service.h"
#include "platform/desktop/system_settings_application.h"
#include "platform/desktop/system_settings_commands.h"
#include "platform/desktop/text_element_layout.h"
#include "platform/desktop/utf16_offsets.h"
#include "platform/runtime/app_context.h"
#include "platform/system/apple_script_command.h"
#include "platform/system/command_table.h"
#include "platform/system/paths.h"

namespace tallowmere::platform {

namespace {

// The element that stands for the whole system: it answers with the
// frontmost application and that application's focused element.
class SystemWideElement final : public SimulatedElement {
  public:
    explicit SystemWideElement(std::weak_ptr<Desktop> desktop)
        : SimulatedElement(ElementSpec{.role = AXRole::systemWide}), desktop_(std::move(desktop)) {}

    Result<AXValue> readAttribute(std::string_view name) const override {
        auto desktop = desktop_.lock();
        auto front = desktop ? desktop->frontmostApplication() : nullptr;
        if (name == AXAttribute::focusedApplication || name == AXAttribute::focusedUIElement) {
            if (!front) return axFailure(AXError::noValue);
            // The question goes on to the frontmost application, which has to answer.
            if (!front->isAccessibilityEnabled()) return axFailure(AXError::notImplemented);
            if (!front->isResponsive()) return axFailure(AXError::cannotComplete);
            if (name == AXAttribute::focusedApplication) return AXValue(AXElement(front));
            auto focused = front->focusedElement();
            if (!focused) return axFailure(AXError::noValue);
            return AXValue(AXElement(focused));
        }
        if (name == AXAttribute::role) return AXValue(AXRole::systemWide);
        return axFailure(AXError::attributeUnsupported);
    }
    std::vector<std::string> attributeNames() const override {
        return {AXAttribute::role, AXAttribute::focusedApplication, AXAttribute::focusedUIElement};
    }
    Result<void> writeAttribute(std::string_view, const AXValue&) override {
        return axFailure(AXError::attributeUnsupported);
    }
    bool isAttributeSettable(std::string_view) const override { return false; }

  private:
    std::weak_ptr<Desktop> desktop_;
};

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool containsIgnoringCase(const std::vector<std::string>& list, const std::string& wanted) {
    const std::string key = lowercased(wanted);
    return std::any_of(list.begin(), list.end(),
                       [&](const std::string& item) { return lowercased(item) == key; });
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

constexpr std::size_t postedEventsKept = 4096;

// Further than this from the press, a press on a Finder item drags it.
constexpr double dragThreshold = 3.0;

// A second press counts as a double click within this time and distance.
constexpr double doubleClickDistance = 4.0;

}  // namespace

Desktop& Desktop::shared() {
    return AppContext::current().shared<Desktop>();
}

std::shared_ptr<Desktop> Desktop::makeShared() {
    auto desktop = std::make_shared<Desktop>(AppContext::current());
    desktop->start();
    return desktop;
}

Desktop::Desktop(AppContext& context)
    : context_(context),
      screens_(context.notificationCenter()),
      windowServer_(*this),
      workspace_(*this),
      pasteboard_(&notifications_),
      input_(context.clock()),
      power_(&notifications_),
      finder_(Paths::desktop()),
      statusArea_(screens_, context.notificationCenter()),
      screenCapture_(*this) {
    screens_.keyWindowFrame = [this] { return keyWindowFrame(); };
}

Desktop::~Desktop() = default;

void Desktop::start() {
    systemWide_ = std::make_shared<SystemWideElement>(weak_from_this());
    AppleScriptHandlers::shared().add("browser page scripts", [weak = weak_from_this()](const std::string& source,
                                                                                       CommandCall& call) {
        auto desktop = weak.lock();
        return desktop ? BrowserScripts::run(*desktop, source, call) : std::nullopt;
    });
    AppleScriptHandlers::shared().addEvaluator("Finder", [weak = weak_from_this()](const std::string& source) {
        auto desktop = weak.lock();
        return desktop ? desktop->finder().answer(source) : std::nullopt;
    });
    // The setting tools act on this desktop's settings, from any thread;
    // one that outlives the desktop fails as a tool that cannot start.
    auto& commands = CommandTable::shared();
    commands.installStandIn("/usr/bin/pmset", [weak = weak_from_this()](CommandCall& call) {
        auto desktop = weak.lock();
        return desktop ? SystemSettingsCommands::pmset(call, desktop->systemSettings()) : 127;
    });
    commands.installStandIn("/usr/bin/defaults", [weak = weak_from_this()](CommandCall& call) {
        auto desktop = weak.lock();
        return desktop ? SystemSettingsCommands::defaults(call, desktop->systemSettings()) : 127;
    });
    commands.installStandIn("/usr/sbin/sysadminctl", [weak = weak_from_this()](CommandCall& call) {
        auto desktop = weak.lock();
        return desktop ? SystemSettingsCommands::sysadminctl(call, desktop->systemSettings()) : 127;
    });
    commands.installStandIn(ScreenCaptureCommand::path, [weak = weak_from_this()](CommandCall& call) {
        auto desktop = weak.lock();
        return desktop ? desktop->screenCapture().run(call) : 127;
    });
    ApplicationSpec own;
    own.bundleIdentifier = context_.bundleIdentifier();
    own.name = "Tallowmere Sparkwell";
    own.running = false;
    current_ = std::make_shared<SimulatedApplication>(weak_from_this(), own, true);
    applications_.push_back(current_);
    current_->startRunning(getpid());
    frontmost_ = current_;
    // Nobody can observe a desktop that is still being made.
    screens_.postsChanges_ = false;
    (void)screens_.addScreen(ScreenSpec{});
    screens_.postsChanges_ = true;
    SystemSettingsApplication::install(*this);
}

Result<std::shared_ptr<SimulatedApplication>> Desktop::addApplication(ApplicationSpec spec) {
    if (spec.bundleIdentifier.empty() || spec.name.empty()) {
        return Error{ErrorCode::invalidArgument,
                     "An application needs a bundle identifier and a name"};
    }
    if (application(spec.bundleIdentifier)) {
        return Error{ErrorCode::alreadyExists, spec.bundleIdentifier + " is installed already"};
    }
    const bool running = spec.running;
    auto app = std::make_shared<SimulatedApplication>(weak_from_this(), std::move(spec), false);
    if (applicationAtPath(app->bundlePath())) {
        return Error{ErrorCode::alreadyExists,
                     "An application is installed at " + app->bundlePath()};
    }
    applications_.push_back(app);
    if (running) app->startRunning(allocateProcessIdentifier());
    return app;
}

void Desktop::removeApplication(const std::string& bundleIdentifier) {
    auto app = application(bundleIdentifier);
    if (!app || app == current_) return;
    if (app->isRunning()) app->terminate();
    std::erase(applications_, app);
}

std::shared_ptr<SimulatedApplication> Desktop::application(pid_t pid) const {
    if (pid <= 0) return nullptr;
    for (const auto& app : applications_) {
        if (app->isRunning() && app->processIdentifier() == pid) return app;
    }
    return nullptr;
}

std::shared_ptr<SimulatedApplication> Desktop::application(
    const std::string& bundleIdentifier) const {
    for (const auto& app : applications_) {
        if (app->bundleIdentifier() == bundleIdentifier) return app;
    }
    return nullptr;
}

std::shared_ptr<SimulatedApplication> Desktop::applicationAtPath(
    const std::string& bundlePath) const {
    const std::string wanted = withoutTrailingSlash(bundlePath);
    for (const auto& app : applications_) {
        if (withoutTrailingSlash(app->bundlePath()) == wanted) return app;
    }
    return nullptr;
}

pid_t Desktop::currentProcessIdentifier() const {
    return current_->processIdentifier();
}

std::shared_ptr<SimulatedApplication> Desktop::frontmostApplication() const {
    auto front = frontmost_.lock();
    return front && front->isRunning() ? front : nullptr;
}

std::vector<std::shared_ptr<RunningApplication>> Desktop::runningApplications() const {
    std::vector<std::shared_ptr<RunningApplication>> result;
    for (const auto& weak : launchOrder_) {
        if (auto running = weak.lock(); running && !running->isTerminated())
            result.push_back(running);
    }
    return result;
}

std::shared_ptr<SimulatedApplication> Desktop::applicationForScheme(
    const std::string& scheme) const {
    for (const auto& app : applications_) {
        if (containsIgnoringCase(app->applicationSpec().urlSchemes, scheme)) return app;
    }
    return nullptr;
}

std::shared_ptr<SimulatedApplication> Desktop::applicationForExtension(
    const std::string& extension) const {
    if (extension.empty()) return nullptr;
    for (const auto& app : applications_) {
        if (containsIgnoringCase(app->applicationSpec().documentExtensions, extension)) return app;
    }
    return nullptr;
}

bool Desktop::activate(SimulatedApplication& app, ActivationOptions options) {
    if (!app.isRunning() || app.activationPolicy() == ActivationPolicy::prohibited) return false;
    if (app.applicationSpec().refusesActivation) return false;
    if (app.isHidden()) app.setHidden(false);
    auto target = std::static_pointer_cast<SimulatedApplication>(app.shared_from_this());
    auto previous = frontmostApplication();
    frontmost_ = target;
    // The application's windows come forward: all of them, or its main one.
    auto windows = app.windows();
    if (options.allWindows) {
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
            if ((*it)->isOnScreen()) windowServer_.bringToFront(**it);
        }
    } else if (auto main = app.mainWindow()) {
        windowServer_.bringToFront(*main);
    }
    if (previous == target) return true;
    if (previous) {
        workspace_.notificationCenter().post(
            Workspace::didDeactivateApplicationNotification, &workspace_,
            {{Workspace::applicationKey, previous->runningApplication()}});
    }
    workspace_.notificationCenter().post(
        Workspace::didActivateApplicationNotification, &workspace_,
        {{Workspace::applicationKey, target->runningApplication()}});
    return true;
}

std::shared_ptr<SimulatedElement> Desktop::elementAt(AXPoint point) const {
    if (auto window = windowServer_.windowAt(screens_.toScreen(point))) {
        auto hit = window->deepestElementAt(point);
        return hit ? hit : window;
    }
    auto primary = screens_.primaryScreen();
    auto front = frontmostApplication();
    if (!primary || !front) return nullptr;
    const AXRect bar = {primary->frame().minX(), 0, primary->frame().width(),
                        ScreenArrangement::menuBarHeight};
    if (!bar.contains(point)) return nullptr;
    auto menuBar = front->menuBar(bar);
    auto hit = menuBar->deepestElementAt(point);
    return hit ? hit : menuBar;
}

void Desktop::post(Event event) {
    if (event.timestamp <= 0) event.timestamp = context_.clock().uptime();
    // Key events carry where the pointer is, as every event does.
    if (isKeyEvent(event.type)) event.location = input_.mouseLocation();
    if (isMouseDown(event.type) && event.clickCount <= 0) {
        const bool continues =
            lastClick_ && lastClick_->buttonNumber == event.buttonNumber &&
            event.timestamp - lastClick_->timestamp <= doubleClickInterval_ &&
            lastClick_->location.distanceTo(event.location) <= doubleClickDistance;
        event.clickCount = continues ? lastClick_->clickCount + 1 : 1;
    }
    if (isMouseDown(event.type)) {
        lastClick_ =
            ClickRecord{event.timestamp, event.location, event.buttonNumber, event.clickCount};
    }
    // A release counts the clicks of its press.
    if (isMouseUp(event.type) && event.clickCount <= 0) {
        const bool ofLastPress = lastClick_ && lastClick_->buttonNumber == event.buttonNumber;
        event.clickCount = ofLastPress ? lastClick_->clickCount : 1;
    }
    if (event.windowNumber == 0) {
        if (isMouseDown(event.type)) {
            auto window = windowServer_.windowAt(event.location);
            mouseDownWindow_ = window ? window->windowNumber() : 0;
            event.windowNumber = mouseDownWindow_;
        } else if (isMouseDragged(event.type) || isMouseUp(event.type)) {
            // A drag belongs to the window it started in, wherever it goes.
            auto window = windowServer_.windowAt(event.location);
            event.windowNumber =
                mouseDownWindow_ ? mouseDownWindow_ : (window ? window->windowNumber() : 0);
        } else if (isKeyEvent(event.type)) {
            auto front = frontmostApplication();
            if (!front || front->isCurrentProcess()) {
                event.windowNumber = windowServer_.keyWindowNumber();
            } else if (auto focused = front->focusedWindow()) {
                event.windowNumber = focused->windowNumber();
            }
        } else if (auto window = windowServer_.windowAt(event.location)) {
            event.windowNumber = window->windowNumber();
        }
    }
    input_.apply(event);
    // The record keeps the recent events only: with a person at the viewer
    // the program runs for days.
    if (posted_.size() >= postedEventsKept) {
        posted_.erase(posted_.begin(), posted_.begin() + postedEventsKept / 2);
    }
    posted_.push_back(event);
    if (ScreenLockService::shared().isLocked()) {
        // The sign-in screen takes everything: neither the program's
        // monitors nor other applications see what is typed there.
        if (dragged_) endDragging(DragStep::cancelled, event.location);
        signInIfAsked(event);
        if (isMouseUp(event.type)) mouseDownWindow_ = 0;
        return;
    }
    // A hot key reaches neither the program's monitors nor the frontmost
    // application: the system hands it to its owner alone.
    if (hotKeys_.deliver(event)) return;
    // The window server moves status items itself; no application sees it.
    if (statusArea_.handle(event)) {
        if (isMouseUp(event.type)) mouseDownWindow_ = 0;
        return;
    }
    const bool taken = router_ && router_(event);
    if (!taken) deliverToOtherApplication(event);
    // The events still reach their window and the monitors, which see the
    // pointer move as in any drag.
    continueDragging(event);
    if (isMouseUp(event.type)) mouseDownWindow_ = 0;
}

bool Desktop::beginDragging(std::shared_ptr<Pasteboard> contents) {
    if (!contents || dragged_ || (input_.pressedMouseButtons() & 1u) == 0) return false;
    dragged_ = std::move(contents);
    lastDrop_.reset();
    if (dragDestination_) dragDestination_(DragStep::moved, input_.mouseLocation(), *dragged_);
    return true;
}

void Desktop::continueDragging(const Event& event) {
    if (!dragged_) return;
    if (event.type == EventType::leftMouseDragged) {
        if (dragDestination_) dragDestination_(DragStep::moved, event.location, *dragged_);
    } else if (event.type == EventType::leftMouseUp) {
        endDragging(DragStep::dropped, event.location);
    } else if (event.type == EventType::keyDown && event.keyCode == KeyCode::escape) {
        endDragging(DragStep::cancelled, event.location);
    }
}

void Desktop::endDragging(DragStep step, ScreenPoint location) {
    // Let go first: a destination's drop may start something that posts.
    auto dragged = std::move(dragged_);
    dragged_.reset();
    const DragOperation done = dragDestination_ ? dragDestination_(step, location, *dragged) : DragOperation::none;
    lastDrop_ = step == DragStep::dropped ? done : DragOperation::none;
}

void Desktop::pressFinderItem(const SimulatedWindow& window, AXPoint point,
                              const std::vector<std::filesystem::path>& selectedBefore, bool command) {
    finderPress_.reset();
    auto layout = FinderWindowLayout::of(window);
    if (!layout) return;
    const auto hit = layout->hitTest(point);
    if (hit.part != FinderWindowLayout::Hit::Part::item) return;
    auto isIn = [&](const std::vector<std::filesystem::path>& items) {
        return std::find(items.begin(), items.end(), hit.target) != items.end();
    };
    FinderPress press{screens_.toScreen(point), finder_.selection(), std::nullopt};
    if (!command && isIn(selectedBefore)) {
        // A press on a selected item drags the whole selection; only a
        // release without a drag narrows it to that item.
        finder_.setSelection(selectedBefore);
        press.items = selectedBefore;
        press.narrowsTo = hit.target;
    }
    if (isIn(press.items)) finderPress_ = std::move(press);
}

void Desktop::signInIfAsked(const Event& event) {
    auto primary = screens_.primaryScreen();
    const bool onField = event.type == EventType::leftMouseDown && primary &&
                         ScreenLockService::signInFieldFrame(primary->frame()).contains(event.location);
    const bool pressedReturn = event.type == EventType::keyDown && event.keyCode == KeyCode::returnKey;
    if (onField || pressedReturn) ScreenLockService::shared().unlock();
}

Result<void> Desktop::postToProcess(pid_t pid, Event event) {
    auto app = application(pid);
    if (!app)
        return Error{ErrorCode::notFound, "No process " + std::to_string(pid) + " is running"};
    if (event.timestamp <= 0) event.timestamp = context_.clock().uptime();
    if (app->isCurrentProcess()) {
        if (router_) router_(event);
        return {};
    }
    app->deliver(event);
    return {};
}

void Desktop::deliverToOtherApplication(const Event& event) {
    std::shared_ptr<SimulatedApplication> target;
    if (isKeyEvent(event.type)) {
        target = frontmostApplication();
    } else if (auto window = windowServer_.window(event.windowNumber)) {
        target = window->application();
    }
    if (!target || target->isCurrentProcess()) {
        if (isMouseUp(event.type)) titleBarDrag_.reset();
        return;
    }
    target->deliver(event);
    if (isMouseEvent(event.type)) applyDefaultMouseBehaviour(*target, event);
}

void Desktop::applyDefaultMouseBehaviour(SimulatedApplication& app, const Event& event) {
    auto window = windowServer_.window(event.windowNumber);
    const AXPoint point = screens_.toAX(event.location);
    switch (event.type) {
        case EventType::leftMouseDown:
        case EventType::rightMouseDown: {
            if (frontmostApplication().get() != &app) activate(app);
            if (!window) return;
            window->raise();
            const auto selectedBefore = finder_.selection();
            if (app.bundleIdentifier() == finderBundleIdentifier) finderWindowPressed(*window, event, point);
            auto hit = window->deepestElementAt(point);
            if (hit && hit->isTextElement()) {
                hit->focus();
                if (event.type == EventType::leftMouseDown) selectText(*hit, point, event.clickCount);
            }
            const bool plainPress = event.type == EventType::leftMouseDown &&
                                    (event.modifierFlags.deviceIndependent().rawValue & ModifierFlags::control) == 0;
            if (plainPress && app.bundleIdentifier() == finderBundleIdentifier) {
                pressFinderItem(*window, point, selectedBefore,
                                (event.modifierFlags.deviceIndependent().rawValue & ModifierFlags::command) != 0);
            }
            const bool onControl = hit && hit->role() == AXRole::button;
            pressedButton_ = onControl && event.type == EventType::leftMouseDown ? hit : nullptr;
            if (event.type == EventType::leftMouseDown && !onControl &&
                window->windowSpec().movable && window->titleBarFrame().contains(point)) {
                titleBarDrag_ = TitleBarDrag{window, event.location, window->axFrame()};
            }
            return;
        }
        case EventType::leftMouseDragged: {
            if (finderPress_ && event.location.distanceTo(finderPress_->start) > dragThreshold) {
                std::vector<std::string> urls;
                for (const auto& item : finderPress_->items) {
                    std::error_code error;
                    urls.push_back(Url::fileUrl(item.string(), std::filesystem::is_directory(item, error)).string());
                }
                finderPress_.reset();
                auto contents = std::make_shared<Pasteboard>();
                contents->clearContents();
                if (contents->writeFileURLs(std::move(urls))) beginDragging(std::move(contents));
                return;
            }
            if (auto text = textSelection_ ? textSelection_->element.lock() : nullptr) {
                // The selection runs from where the press went down to the pointer.
                const auto offset = caretOffsetAt(*text, point);
                const auto anchor = textSelection_->anchor;
                text->setSelectedRange({std::min(anchor, offset), std::abs(offset - anchor)});
                return;
            }
            if (!titleBarDrag_) return;
            auto dragged = titleBarDrag_->window.lock();
            if (!dragged || dragged != window) return;
            const double dx = event.location.x - titleBarDrag_->start.x;
            const double dy = event.location.y - titleBarDrag_->start.y;
            dragged->setFrame(titleBarDrag_->startFrame.offsetBy(dx, -dy));
            return;
        }
        case EventType::leftMouseUp: {
            if (finderPress_ && finderPress_->narrowsTo) finder_.setSelection({*finderPress_->narrowsTo});
            finderPress_.reset();
            titleBarDrag_.reset();
            textSelection_.reset();
            // A window button acts when the press that went down on it
            // comes up on it too, as buttons do.
            auto pressed = pressedButton_.lock();
            pressedButton_.reset();
            if (pressed && window && window->deepestElementAt(point) == pressed) {
                (void)pressed->performAction(AXAction::press);
            }
            return;
        }
        default:
            return;
    }
}

void Desktop::selectText(SimulatedElement& text, AXPoint point, int clickCount) {
    const std::string value = text.value().value_or("");
    const auto caret = caretOffsetAt(text, point);
    const std::size_t at = Utf16::byteOffset(value, caret);
    auto select = [&](std::size_t from, std::size_t to) {
        const auto start = Utf16::length(std::string_view(value).substr(0, from));
        text.setSelectedRange({start, Utf16::length(std::string_view(value).substr(from, to - from))});
    };
    textSelection_.reset();
    if (clickCount == 2) {
        // Past a line's end the press lands on its line break: the word before it is meant.
        const bool onLineEnd = at > 0 && (at == value.size() || value[at] == '\n');
        const auto [from, to] = Text::wordAround(value, onLineEnd ? at - 1 : at);
        select(from, to);
    } else if (clickCount >= 3) {
        // The whole line, its line end included, as a triple click takes it.
        const std::size_t previousEnd = at == 0 ? std::string::npos : value.rfind('\n', at - 1);
        const std::size_t from = previousEnd == std::string::npos ? 0 : previousEnd + 1;
        const std::size_t end = value.find('\n', at);
        select(from, end == std::string::npos ? value.size() : end + 1);
    } else {
        text.setSelectedRange({caret, 0});
        textSelection_ = TextSelection{std::static_pointer_cast<SimulatedElement>(text.shared_from_this()), caret};
    }
}

std::int64_t Desktop::caretOffsetAt(const SimulatedElement& text, AXPoint point) {
    const AXRect frame = text.axFrame();
    return TextElementLayout(text.value().value_or("")).offsetAt({point.x - frame.minX(), point.y - frame.minY()});
}

pid_t Desktop::allocateProcessIdentifier() {
    const pid_t own = getpid();
    while (nextPID_ == own || application(nextPID_)) ++nextPID_;
    return nextPID_++;
}

void Desktop::applicationDidLaunch(SimulatedApplication& app) {
    launchOrder_.push_back(app.runningApplication());
    workspace_.notificationCenter().post(Workspace::didLaunchApplicationNotification, &workspace_,
                                         {{Workspace::applicationKey, app.runningApplication()}});
}

void Desktop::applicationDidTerminate(SimulatedApplication& app,
                                      const std::shared_ptr<RunningApplication>& ended) {
    const bool wasFrontmost = frontmost_.lock().get() == &app;
    if (titleBarDrag_ && !titleBarDrag_->window.lock()) titleBarDrag_.reset();
    statusArea_.removeItems(app.bundleIdentifier());
    workspace_.notificationCenter().post(Workspace::didTerminateApplicationNotification,
                                         &workspace_, {{Workspace::applicationKey, ended}});
    if (wasFrontmost) activateNextApplication(app);
}

void Desktop::applicationDidChangeHidden(SimulatedApplication& app) {
    workspace_.notificationCenter().post(
        app.isHidden() ? Workspace::didHideApplicationNotification
                       : Workspace::didUnhideApplicationNotification,
        &workspace_, {{Workspace::applicationKey, app.runningApplication()}});
    if (app.isHidden() && frontmost_.lock().get() == &app) activateNextApplication(app);
}

void Desktop::activateNextApplication(const SimulatedApplication& leaving) {
    // The owner of the front-most normal window takes over; else the program.
    for (const auto& window : windowServer_.orderedWindows()) {
        auto owner = window->application();
        if (window->level() != WindowLevel::normal || !owner || owner.get() == &leaving) continue;
        if (owner->activationPolicy() == ActivationPolicy::regular && activate(*owner)) return;
    }
    activate(*current_);
}

void Desktop::windowDidChange(const SimulatedWindow& window, const char* notification) {
    if (window.isOwnWindow()) return;
    auto app = window.application();
    if (!app || app->isCurrentProcess()) return;
    if (app->bundleIdentifier() == finderBundleIdentifier) updateFinderFrontWindow(*app);
    auto handle = std::const_pointer_cast<SimulatedWindow>(
        std::static_pointer_cast<const SimulatedWindow>(window.shared_from_this()));
    notifications_.post(notification, this, {{windowKey, handle}});
}

// Finder's front window is the first of its windows on screen, and what it
// shows is the folder of its document.
void Desktop::updateFinderFrontWindow(const SimulatedApplication& finder) {
    std::optional<std::filesystem::path> target;
    for (const auto& window : finder.windows()) {
        if (!window->isOrderedIn() || window->isMinimized() || !window->document()) continue;
        const std::string& document = *window->document();
        std::optional<std::string> path;
        if (document.starts_with("/")) {
            path = document;
        } else if (auto url = Url::parse(document)) {
            path = url->fileSystemPath();
        }
        std::error_code error;
        if (path && std::filesystem::is_directory(*path, error)) target = std::filesystem::path(*path);
        break;
    }
    finder_.setFrontWindowTarget(std::move(target));
}

std::optional<ScreenRect> Desktop::keyWindowFrame() const {
    auto front = frontmostApplication();
    std::shared_ptr<SimulatedWindow> key;
    if (!front || front->isCurrentProcess()) {
        key = windowServer_.window(windowServer_.keyWindowNumber());
    } else {
        key = front->focusedWindow();
    }
    if (!key || !key->isOnScreen()) return std::nullopt;
    return key->screenFrame();
}

}  // namespace tallowmere::platform
