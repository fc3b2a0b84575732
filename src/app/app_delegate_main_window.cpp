// The main window's hand-off: made on first need, shown on the screen under
// the pointer, and opened by itself after start-up unless a Finder request
// started the program.
#include <algorithm>

#include "app/app_delegate.h"
#include "app/finder_launch_argument.h"
#include "app/main_window_placement.h"
#include "finder/finder_extension_bridge.h"
#include "localization/product_identity.h"
#include "mainwindow/main_app_window.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/main_window_sizing.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "windows/input_controller.h"

namespace tallowmere {

using namespace platform;

namespace {

void activateWithAllWindows() {
    if (auto running = DesktopLink::desktop().currentApplication().runningApplication()) {
        running->activate({.ignoringOtherApps = true, .allWindows = true});
    }
}

std::shared_ptr<Window> makeMainAppWindow(ScreenRect available) {
    const WindowStyleMask style{WindowStyleMask::titled | WindowStyleMask::closable | WindowStyleMask::miniaturizable |
                                WindowStyleMask::resizable | WindowStyleMask::fullSizeContentView};
    auto window = Window::make<MainAppWindow>(
        ScreenRect{0, 0, std::min(available.width(), 1440.0), std::min(available.height(), 840.0)}, style);
    window->setTitle(std::string(ProductIdentity::mainWindowDisplayName));
    window->titlebarAppearsTransparent = true;
    window->titleVisibility = WindowTitleVisibility::hidden;
    window->showsTitlebarSeparator = false;
    window->isReleasedWhenClosed = false;
    window->isRestorable = false;
    window->animationBehavior = WindowAnimationBehavior::none;
    window->tabbingMode = WindowTabbingMode::disallowed;
    window->isMovableByWindowBackground = false;
    window->setCollectionBehavior(WindowCollectionBehavior{WindowCollectionBehavior::moveToActiveSpace |
                                                           WindowCollectionBehavior::fullScreenPrimary});
    window->setMinSize({std::min(available.width(), 580.0), 1});
    window->showsMiniaturizeButton = true;
    window->showsZoomButton = true;
    window->center();
    return window;
}

// Fits a new window's height to its laid-out content, then keeps it where
// the main window may be.
void fitToLayoutRoot(Window& window, const View& layoutRoot, ScreenRect visibleFrame) {
    auto content = window.contentView();
    if (!content) return;
    std::optional<double> screenHeight;
    if (auto screen = window.screen()) {
        screenHeight = screen->visibleFrame().height();
    } else if (auto main = DesktopLink::mainScreen()) {
        screenHeight = main->visibleFrame().height();
    }
    const double height = MainWindowPlacement::fittedContentHeight(layoutRoot.fittingSize().height, screenHeight);
    window.setContentSize({content->frame().width(), height});
    window.center();
    window.setFrame(MainWindowSizing::constrainedFrame(window.frame(), visibleFrame), false);
}

}  // namespace

std::shared_ptr<MainWindowController> AppDelegate::ensureMainWindowController() {
    if (mainWindowController_) return mainWindowController_;

    auto& screens = DesktopLink::desktop().screens();
    const ScreenRect visibleFrame =
        MainWindowPlacement::initialVisibleFrame(screens.mainScreen(), screens.screens());
    auto window = makeMainAppWindow(MainWindowSizing::availableFrame(visibleFrame));

    auto controller = MainWindowController::make(
        snapEngine_, layoutStore_, quickLaunchStore_, inputController(),
        [weakSelf = weak_from_this()]() -> std::optional<pid_t> {
            auto self = weakSelf.lock();
            return self ? self->lastExternalPID_ : std::nullopt;
        },
        window);

    if (auto content = window->contentView()) content->layoutSubtreeIfNeeded();
    if (auto layoutRoot = controller->mainLayoutRoot()) fitToLayoutRoot(*window, *layoutRoot, visibleFrame);

    mainWindowController_ = std::move(controller);
    return mainWindowController_;
}

void AppDelegate::showMainWindow() {
    auto& application = Application::shared();
    // From the first showing on, the program has a Dock icon for the rest of the run.
    application.setActivationPolicy(ActivationPolicy::regular);
    application.unhide();
    activateWithAllWindows();

    auto controller = ensureMainWindowController();
    controller->showWindow();
    auto window = controller->window();
    if (!window) return;
    window->setLevel(WindowLevel::normal);
    window->deminiaturize();

    auto& desktop = DesktopLink::desktop();
    auto& screens = desktop.screens();
    auto target = MainWindowPlacement::targetScreen(desktop.input().mouseLocation(), window->screen(),
                                                    screens.mainScreen(), screens.screens());
    if (!target) {
        window->makeKeyAndOrderFront();
        return;
    }
    window->setFrame(MainWindowPlacement::centredFrame(window->frame(), window->minSize(), target->visibleFrame()),
                     true, true);
    window->makeKeyAndOrderFront();
    activateWithAllWindows();
}

void AppDelegate::runFinderLaunchCheck() {
    if (wasLaunchedForFinderRequest(Application::shared().arguments())) return;
    if (FinderExtensionBridge::shared().hasHandledRequest()) return;
    showMainWindow();
}

}  // namespace tallowmere
