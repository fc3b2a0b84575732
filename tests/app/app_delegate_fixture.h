#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/app_delegate.h"
#include "localization/interface_language.h"
#include "mainwindow/main_window_controller.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {

// The program as its entry starts it: one AppDelegate made the
// application's delegate, then launching finished. The Finder-launch check
// waits for the main queue's next turn (`runUntilIdle()`).
class AppDelegateTest : public DesktopTest {
protected:
    // The interface's source language, so texts read as they are written.
    AppDelegateTest() { InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese); }

    std::shared_ptr<AppDelegate> launch(std::vector<std::string> arguments = {}) {
        application.setArguments(std::move(arguments));
        delegate_ = AppDelegate::make();
        application.setDelegate(delegate_);
        application.finishLaunching();
        return delegate_;
    }

    AppDelegate& delegate() { return *delegate_; }
    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }

    // The main window, when the program has made it.
    std::shared_ptr<platform::Window> mainWindow() {
        auto controller = delegate_ ? delegate_->mainWindowController() : nullptr;
        return controller ? controller->window() : nullptr;
    }
    bool mainWindowIsShown() {
        auto window = mainWindow();
        return window && window->isVisible();
    }

    std::shared_ptr<AppDelegate> delegate_;
};

}  // namespace tallowmere::testing
