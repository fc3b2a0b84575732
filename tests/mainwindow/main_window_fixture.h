#pragma once

#include <memory>

#include "localization/interface_language.h"
#include "mainwindow/main_app_window.h"
#include "mainwindow/main_window_controller.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {

// A main window controller on its own window, without the rest of the
// program: no stores and no input controller unless a test gives them.
class MainWindowTest : public DesktopTest {
protected:
    MainWindowTest() { InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese); }

    MainWindowController& controller() {
        if (!controller_) {
            auto window = platform::Window::make<MainAppWindow>(
                platform::ScreenRect{0, 0, 1400, 840},
                platform::WindowStyleMask{platform::WindowStyleMask::titled | platform::WindowStyleMask::closable |
                                          platform::WindowStyleMask::resizable |
                                          platform::WindowStyleMask::fullSizeContentView});
            controller_ = MainWindowController::make(nullptr, nullptr, nullptr, nullptr, {}, window);
        }
        return *controller_;
    }

    // The window `width` wide and tall enough for all of page 1, laid out;
    // answers that height.
    double layOutPageOne(double width) {
        auto window = controller().window();
        window->setFrame({0, 0, width, 900});
        window->contentView()->layoutSubtreeIfNeeded();
        const double height = controller().mainLayoutRoot()->fittingHeightForWidth(width - 60) + 26 + 14 + 20;
        window->setFrame({0, 0, width, height});
        window->contentView()->layoutSubtreeIfNeeded();
        return height;
    }

    std::shared_ptr<MainWindowController> controller_;
};

}  // namespace tallowmere::testing
