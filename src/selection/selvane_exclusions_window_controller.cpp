#include "selection/selvane_exclusions_window_controller.h"

#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/window.h"

namespace tallowmere {

namespace {

constexpr double inset = 20;

struct SharedController {
    std::shared_ptr<SelvaneExclusionsWindowController> controller =
        platform::WindowController::make<SelvaneExclusionsWindowController>();
};

}  // namespace

SelvaneExclusionsWindowController& SelvaneExclusionsWindowController::shared() {
    return *platform::AppContext::current().shared<SharedController>().controller;
}

SelvaneExclusionsWindowController::SelvaneExclusionsWindowController() {
    auto window = platform::Window::make(
        platform::ScreenRect{{0, 0}, contentSize},
        platform::WindowStyleMask{platform::WindowStyleMask::titled | platform::WindowStyleMask::closable});
    window->setTitle("Selvane · 排除应用");
    window->isReleasedWhenClosed = false;
    auto content = platform::View::make({{0, 0}, contentSize});
    view_ = SelvaneExclusionsView::make(contentSize.height - 2 * inset);
    view_->setPlacement(platform::Placement::filling({inset, inset, inset, inset}));
    content->addSubview(view_);
    window->setContentView(content);
    window->center();
    setWindow(window);
}

void SelvaneExclusionsWindowController::open() {
    window()->makeKeyAndOrderFront();
    platform::Application::shared().activate(true);
}

}  // namespace tallowmere
