#include "platform/desktop/simulated_application.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/utf16_offsets.h"
#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

namespace {

ElementSpec applicationElementSpec(const ApplicationSpec& spec) {
    ElementSpec element;
    element.role = AXRole::application;
    element.title = spec.name;
    return element;
}

// "file:///Users/me/Notes.txt" and "/Users/me/Notes.txt" give "Notes.txt";
// "https://example.com/" gives the URL itself.
std::string windowTitleForURL(const std::string& url) {
    const bool isFile = url.rfind("file://", 0) == 0 || url.rfind('/', 0) == 0;
    if (!isFile) return url;
    std::string path = url;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

SimulatedApplication::SimulatedApplication(std::weak_ptr<Desktop> desktop, ApplicationSpec spec,
                                           bool isCurrentProcess)
    : SimulatedElement(applicationElementSpec(spec)),
      desktop_(std::move(desktop)),
      spec_(std::move(spec)),
      isCurrentProcess_(isCurrentProcess) {
    if (spec_.bundlePath.empty()) spec_.bundlePath = "/Applications/" + spec_.name + ".app";
}

pid_t SimulatedApplication::processIdentifier() const {
    return running_ ? running_->processIdentifier() : 0;
}

void SimulatedApplication::setHidden(bool hidden) {
    if (hidden_ == hidden || !isRunning()) return;
    hidden_ = hidden;
    if (auto desktop = desktop_.lock()) desktop->applicationDidChangeHidden(*this);
}

void SimulatedApplication::launch(
    std::function<void(std::shared_ptr<RunningApplication>)> completion) {
    auto desktop = desktop_.lock();
    if (!desktop) return;
    if (isRunning()) {
        if (completion) {
            desktop->context().mainQueue().async(
                [completion, running = running_] { completion(running); });
        }
        return;
    }
    if (completion) launchCompletions_.push_back(std::move(completion));
    if (pendingLaunch_) return;
    std::weak_ptr<SimulatedApplication> weak =
        std::static_pointer_cast<SimulatedApplication>(shared_from_this());
    pendingLaunch_ =
        desktop->context().mainQueue().asyncAfter(std::max(0.0, spec_.launchDuration), [weak] {
            auto app = weak.lock();
            if (!app) return;
            auto owner = app->desktop_.lock();
            if (!owner) return;
            app->pendingLaunch_.reset();
            app->startRunning(owner->allocateProcessIdentifier());
        });
}

void SimulatedApplication::startRunning(pid_t pid) {
    auto self = std::static_pointer_cast<SimulatedApplication>(shared_from_this());
    running_ = std::make_shared<RunningApplication>(pid, self);
    hidden_ = false;
    if (auto desktop = desktop_.lock()) desktop->applicationDidLaunch(*this);
    for (const WindowSpec& window : spec_.launchWindows) addWindow(window);
    if (onLaunched) onLaunched(*this);
    auto completions = std::move(launchCompletions_);
    launchCompletions_.clear();
    for (auto& completion : completions) completion(running_);
}

void SimulatedApplication::terminate() {
    if (pendingLaunch_) {
        pendingLaunch_->cancel();
        pendingLaunch_.reset();
        launchCompletions_.clear();
    }
    if (!running_ || isCurrentProcess_) return;
    auto desktop = desktop_.lock();
    for (const auto& window : windows()) windowClosed(*window);
    windowOrder_.clear();
    running_->terminated_ = true;
    auto ended = std::move(running_);
    running_.reset();
    hidden_ = false;
    if (desktop) desktop->applicationDidTerminate(*this, ended);
}

std::vector<std::shared_ptr<SimulatedWindow>> SimulatedApplication::windows() const {
    std::vector<std::shared_ptr<SimulatedWindow>> result;
    for (const auto& weak : windowOrder_) {
        if (auto window = weak.lock()) result.push_back(window);
    }
    return result;
}

std::shared_ptr<SimulatedWindow> SimulatedApplication::addWindow(WindowSpec spec) {
    auto desktop = desktop_.lock();
    const int number = desktop ? desktop->windowServer().allocateWindowNumber() : 0;
    auto window = std::make_shared<SimulatedWindow>(number, std::move(spec));
    adoptChild(window);
    window->addStandardButtons();
    windowOrder_.insert(windowOrder_.begin(), window);
    if (desktop) {
        desktop->windowServer().insert(window);
        desktop->windowDidChange(*window, Desktop::windowDidOpenNotification);
    }
    return window;
}

std::shared_ptr<WorkItem> SimulatedApplication::addWindowAfter(double seconds, WindowSpec spec) {
    auto desktop = desktop_.lock();
    if (!desktop) return WorkItem::make([] {});
    std::weak_ptr<SimulatedApplication> weak =
        std::static_pointer_cast<SimulatedApplication>(shared_from_this());
    return desktop->context().mainQueue().asyncAfter(
        std::max(0.0, seconds), [weak, spec = std::move(spec)] {
            if (auto app = weak.lock(); app && app->isRunning()) app->addWindow(spec);
        });
}

std::shared_ptr<SimulatedWindow> SimulatedApplication::mainWindow() const {
    for (const auto& window : windows()) {
        if (window->isOrderedIn() && !window->isMinimized()) return window;
    }
    return nullptr;
}

std::shared_ptr<SimulatedWindow> SimulatedApplication::focusedWindow() const {
    return mainWindow();
}

std::shared_ptr<SimulatedElement> SimulatedApplication::focusedElement() const {
    auto window = focusedWindow();
    if (!window) return nullptr;
    auto focused = focusedElement_.lock();
    if (focused && focused->window() == window) return focused;
    return window;
}

void SimulatedApplication::setFocusedElement(const std::shared_ptr<SimulatedElement>& element) {
    focusedElement_ = element;
    if (!element) return;
    if (auto window = element->window(); window && window->application().get() == this) {
        if (window != focusedWindow()) window->raise();
    }
}

void SimulatedApplication::bringWindowToFront(const std::shared_ptr<SimulatedWindow>& window) {
    auto it = std::find_if(windowOrder_.begin(), windowOrder_.end(),
                           [&](const auto& weak) { return weak.lock() == window; });
    if (it == windowOrder_.end()) return;
    windowOrder_.erase(it);
    windowOrder_.insert(windowOrder_.begin(), window);
    if (auto desktop = desktop_.lock()) desktop->windowServer().bringToFront(*window);
}

void SimulatedApplication::windowClosed(SimulatedWindow& window) {
    std::erase_if(windowOrder_, [&](const auto& weak) {
        auto locked = weak.lock();
        return !locked || locked.get() == &window;
    });
    if (auto desktop = desktop_.lock()) {
        desktop->windowDidChange(window, Desktop::windowDidCloseNotification);
        desktop->windowServer().remove(window);
    }
    window.removeFromParent();
}

std::shared_ptr<SimulatedWindow> SimulatedApplication::adoptOwnWindow(
    std::shared_ptr<SimulatedWindow> window) {
    adoptChild(window);
    windowOrder_.insert(windowOrder_.begin(), window);
    return window;
}

std::shared_ptr<SimulatedElement> SimulatedApplication::menuBar(AXRect menuBarFrame) {
    if (!menuBar_) {
        ElementSpec bar;
        bar.role = AXRole::menuBar;
        menuBar_ = addElement(bar);
        std::vector<std::string> titles = {"Apple", spec_.name};
        titles.insert(titles.end(), spec_.menuTitles.begin(), spec_.menuTitles.end());
        for (const auto& title : titles) {
            ElementSpec item;
            item.role = AXRole::menuBarItem;
            item.title = title;
            menuBar_->addElement(item);
        }
    }
    menuBar_->setFrame(menuBarFrame);
    // A fixed advance per character keeps the layout the same on every machine.
    double x = menuBarFrame.minX() + 10;
    for (const auto& item : menuBar_->children()) {
        const double characters =
            static_cast<double>(std::min<std::int64_t>(Utf16::length(item->title()), 12));
        const double width = 20 + 8 * characters;
        item->setFrame({x, menuBarFrame.minY(), width, menuBarFrame.height()});
        x += width;
    }
    return menuBar_;
}

void SimulatedApplication::deliver(const Event& event) {
    receivedEvents_.push_back(event);
    if (event.type != EventType::keyDown) return;
    if (onKeyEvent && onKeyEvent(*this, event)) return;
    if (auto focused = focusedElement()) focused->handleKeyDown(event);
}

void SimulatedApplication::openURL(const std::string& url) {
    openedURLs_.push_back(url);
    if (onOpenURL) {
        onOpenURL(*this, url);
        return;
    }
    for (const auto& window : windows()) {
        if (window->document() == url) {
            window->raise();
            return;
        }
    }
    // New windows cascade down and right from the last one.
    const double offset = 22.0 * static_cast<double>(windows().size());
    WindowSpec spec;
    spec.title = windowTitleForURL(url);
    spec.document = url;
    spec.frame = {100 + offset, 100 + offset, 800, 600};
    addWindow(spec);
}

void SimulatedApplication::recordLaunchArguments(std::vector<std::string> arguments) {
    launchArguments_.push_back(std::move(arguments));
}

Result<AXValue> SimulatedApplication::readAttribute(std::string_view name) const {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    if (auto it = spec().attributes.find(std::string(name)); it != spec().attributes.end())
        return it->second;
    auto handle = [](const std::shared_ptr<SimulatedElement>& element) -> Result<AXValue> {
        if (!element) return axFailure(AXError::noValue);
        return AXValue(AXElement(element));
    };
    if (name == AXAttribute::windows) {
        std::vector<AXElement> handles;
        for (const auto& window : windows()) {
            if (window->isOrderedIn()) handles.emplace_back(window);
        }
        return AXValue(std::move(handles));
    }
    if (name == AXAttribute::mainWindow || name == AXAttribute::focusedWindow)
        return handle(mainWindow());
    if (name == AXAttribute::focusedUIElement) return handle(focusedElement());
    if (name == AXAttribute::frontmost) {
        auto desktop = desktop_.lock();
        return AXValue(desktop && desktop->frontmostApplication().get() == this);
    }
    if (name == AXAttribute::hidden) return AXValue(hidden_);
    if (name == AXAttribute::position || name == AXAttribute::size)
        return axFailure(AXError::attributeUnsupported);
    return SimulatedElement::readAttribute(name);
}

Result<void> SimulatedApplication::writeAttribute(std::string_view name, const AXValue& value) {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    if (name == AXAttribute::frontmost) {
        auto flag = value.asBool();
        if (!flag) return axFailure(AXError::illegalArgument);
        auto desktop = desktop_.lock();
        if (*flag && desktop && !desktop->activate(*this))
            return axFailure(AXError::cannotComplete);
        return {};
    }
    if (name == AXAttribute::hidden) {
        auto flag = value.asBool();
        if (!flag) return axFailure(AXError::illegalArgument);
        setHidden(*flag);
        return {};
    }
    return SimulatedElement::writeAttribute(name, value);
}

bool SimulatedApplication::isAttributeSettable(std::string_view name) const {
    if (name == AXAttribute::frontmost || name == AXAttribute::hidden)
        return !injectedFailure(name);
    return SimulatedElement::isAttributeSettable(name);
}

std::vector<std::string> SimulatedApplication::attributeNames() const {
    std::vector<std::string> names = {AXAttribute::role,
                                      AXAttribute::title,
                                      AXAttribute::children,
                                      AXAttribute::windows,
                                      AXAttribute::mainWindow,
                                      AXAttribute::focusedWindow,
                                      AXAttribute::focusedUIElement,
                                      AXAttribute::frontmost,
                                      AXAttribute::hidden};
    for (const auto& [key, value] : spec().attributes) {
        if (std::find(names.begin(), names.end(), key) == names.end()) names.push_back(key);
    }
    return names;
}

}  // namespace tallowmere::platform
