#include "app/about_presenter.h"

#include "app/about_window_controller.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/window.h"

namespace tallowmere {

void AboutPresenter::show() {
    auto& controller = platform::AppContext::current().shared<AboutWindowController>();
    controller.showWindow();
    auto window = controller.window();
    if (!window) return;
    window->center();
    window->makeKeyAndOrderFront();
    window->orderFrontRegardless();
    platform::Application::shared().activate(true);
}

}  // namespace tallowmere
