#include "platform/desktop/system_settings_application.h"

#include <array>
#include <string_view>

#include "platform/desktop/ax_element.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/simulated_application.h"
#include "platform/desktop/simulated_window.h"
#include "platform/gfx/font.h"
#include "platform/gfx/text_measurer.h"

namespace tallowmere::platform::SystemSettingsApplication {

namespace {

struct Page {
    std::string_view address;  // after the scheme's colon
    std::string_view title;
};

// The pages the program opens; an address with an anchor names the anchor's
// page, the same address without one the pane itself.
constexpr std::array pages = {
    Page{"com.apple.preference.security?Privacy_Accessibility", "Privacy & Security › Accessibility"},
    Page{"com.apple.preference.security?Privacy_Automation", "Privacy & Security › Automation"},
    Page{"com.apple.preference.security?Privacy_ScreenCapture", "Privacy & Security › Screen Recording"},
    Page{"com.apple.preference.security", "Privacy & Security"},
    Page{"com.apple.LoginItems-Settings.extension", "General › Login Items & Extensions"},
    Page{"com.apple.Desktop-Settings.extension?Window", "Desktop & Dock › Windows"},
    Page{"com.apple.Desktop-Settings.extension", "Desktop & Dock"},
    Page{"com.apple.preference.dock", "Desktop & Dock"},
    Page{"com.apple.Lock-Screen-Settings.extension", "Lock Screen"},
};

constexpr std::string_view settingsTitle = "System Settings";
constexpr double contentInset = 12;  // where the window painter starts the content text

double lineHeight() { return TextMeasurer::shared().measure("Xg", Font::systemFont(13)).height; }

// A row of the content text that a press acts on, as a button element over
// that line (element frames are relative to the window's top-left corner).
void addRowButton(SimulatedWindow& window, int line, std::string title, std::function<void()> press) {
    ElementSpec spec;
    spec.role = AXRole::button;
    spec.title = std::move(title);
    const double height = lineHeight();
    spec.frame = {contentInset - 4, window.windowSpec().titleBarHeight + contentInset + line * height - 2,
                  window.frame().width() - 2 * (contentInset - 4), height + 4};
    auto button = window.addElement(spec);
    button->setAction(AXAction::press, [press = std::move(press)]() -> Result<void> {
        press();
        return {};
    });
}

std::string programName(Desktop& desktop) { return desktop.currentApplication().name(); }

bool isAccessibilityPage(const std::string& url) {
    return pageTitle(url) == pageTitle(accessibilityPageURL);
}

// Fills the settings window for `url`: the page's title and text, and on
// the Accessibility page the program's switch.
void showPage(Desktop& desktop, SimulatedWindow& window, const std::string& url) {
    window.setTitle(pageTitle(url));
    const auto children = window.children();
    for (const auto& child : children) {
        if (child->role() == AXRole::button && child->subrole().empty()) child->removeFromParent();
    }
    if (!isAccessibilityPage(url)) {
        window.setContent(pageTitle(url));
        return;
    }
    const bool trusted = desktop.accessibility().isProcessTrusted();
    window.setContent("Allow the applications below to control your computer.\n\n" + programName(desktop) +
                      (trusted ? "        ● On" : "        ○ Off"));
    std::weak_ptr<Desktop> weakDesktop = desktop.weak_from_this();
    std::weak_ptr<SimulatedWindow> weakWindow =
        std::static_pointer_cast<SimulatedWindow>(window.shared_from_this());
    addRowButton(window, 2, programName(desktop), [weakDesktop, weakWindow, url] {
        auto owner = weakDesktop.lock();
        auto shown = weakWindow.lock();
        if (!owner || !shown) return;
        owner->accessibility().setTrusted(!owner->accessibility().isProcessTrusted());
        showPage(*owner, *shown, url);
    });
}

void openSettingsURL(SimulatedApplication& app, const std::string& url) {
    auto desktop = app.owningDesktop();
    if (!desktop) return;
    auto window = app.mainWindow();
    if (!window) {
        WindowSpec spec;
        spec.frame = {260, 120, 640, 420};
        window = app.addWindow(spec);
    }
    showPage(*desktop, *window, url);
    window->raise();
}

void closePrompt(const std::weak_ptr<SimulatedWindow>& window) {
    auto shown = window.lock();
    if (!shown) return;
    auto agent = shown->application();
    shown->close();
    // The agent runs only while it asks.
    if (agent) agent->terminate();
}

void showPrompt(Desktop& desktop) {
    auto agent = desktop.application(promptAgentBundleIdentifier);
    if (!agent) return;
    if (!agent->isRunning()) {
        std::weak_ptr<Desktop> weakDesktop = desktop.weak_from_this();
        agent->launch([weakDesktop](const std::shared_ptr<RunningApplication>&) {
            if (auto owner = weakDesktop.lock()) showPrompt(*owner);
        });
        return;
    }
    if (auto shown = agent->mainWindow()) {
        shown->raise();
        return;
    }
    WindowSpec spec;
    spec.title = "Accessibility Access";
    spec.frame = {480, 200, 480, 190};
    spec.hasMinimizeButton = false;
    spec.resizable = false;
    spec.level = WindowLevel::modalPanel;
    spec.content = programName(desktop) +
                   " asks to control this computer through accessibility features.\n"
                   "Allow it under Privacy & Security › Accessibility in System Settings.\n\n"
                   "[ Open System Settings ]\n[ Deny ]";
    auto window = agent->addWindow(spec);
    std::weak_ptr<Desktop> weakDesktop = desktop.weak_from_this();
    std::weak_ptr<SimulatedWindow> weakWindow = window;
    addRowButton(*window, 3, "Open System Settings", [weakDesktop, weakWindow] {
        closePrompt(weakWindow);
        if (auto owner = weakDesktop.lock()) owner->workspace().openURL(accessibilityPageURL);
    });
    addRowButton(*window, 4, "Deny", [weakWindow] { closePrompt(weakWindow); });
    desktop.activate(*agent);
}

}  // namespace

std::string pageTitle(const std::string& url) {
    const std::string prefix = std::string(urlScheme) + ":";
    if (url.rfind(prefix, 0) != 0) return std::string(settingsTitle);
    const std::string_view address = std::string_view(url).substr(prefix.size());
    for (const Page& page : pages) {
        if (address == page.address) return std::string(page.title);
    }
    // An unknown anchor still opens its pane.
    const auto anchor = address.find('?');
    for (const Page& page : pages) {
        if (anchor != std::string_view::npos && address.substr(0, anchor) == page.address) {
            return std::string(page.title);
        }
    }
    return std::string(settingsTitle);
}

void install(Desktop& desktop) {
    if (!desktop.application(bundleIdentifier)) {
        auto settings = desktop.addApplication({.bundleIdentifier = bundleIdentifier,
                                                .name = std::string(settingsTitle),
                                                .bundlePath = bundlePath,
                                                .running = false,
                                                .urlSchemes = {urlScheme},
                                                .menuTitles = {"Edit", "View", "Window", "Help"}});
        if (settings) (*settings)->onOpenURL = openSettingsURL;
    }
    if (!desktop.application(promptAgentBundleIdentifier)) {
        (void)desktop.addApplication({.bundleIdentifier = promptAgentBundleIdentifier,
                                      .name = "Accessibility Access",
                                      .bundlePath = "/System/Library/CoreServices/Accessibility Access.app",
                                      .activationPolicy = ActivationPolicy::accessory,
                                      .running = false,
                                      .launchDuration = 0.1});
    }
    std::weak_ptr<Desktop> weakDesktop = desktop.weak_from_this();
    desktop.accessibility().onPrompt = [weakDesktop] {
        if (auto owner = weakDesktop.lock()) showPrompt(*owner);
    };
}

std::shared_ptr<SimulatedWindow> promptWindow(Desktop& desktop) {
    auto agent = desktop.application(promptAgentBundleIdentifier);
    return agent ? agent->mainWindow() : nullptr;
}

}  // namespace tallowmere::platform::SystemSettingsApplication
