#include "platform/ui/desktop_link.h"

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/drag_destination_router.h"
#include "platform/ui/event_router.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

constexpr ScreenRect fallbackScreen{0, 0, 1440, 900};

// Made once per context: from then on the desktop hands its events to the
// program and asks it how its windows and the menu bar look in captures.
struct DesktopHookup {
    DesktopHookup() {
        auto& server = Desktop::shared().windowServer();
        server.drawOwnWindow = [](Canvas& canvas, const SimulatedWindow& window) {
            if (auto own = Application::shared().windowWithNumber(window.windowNumber())) {
                ScreenSnapshot::drawOwnWindow(canvas, *own);
            }
        };
        server.drawMenuBar = [](Canvas& canvas) { ScreenSnapshot::drawMenuBar(canvas); };
        EventRouter::shared();
        Desktop::shared().setDragDestination([](DragStep step, ScreenPoint location, const Pasteboard& dragged) {
            return DragDestinationRouter::shared().handle(step, location, dragged);
        });
    }
};

}  // namespace

Desktop& DesktopLink::desktop() {
    auto& desktop = Desktop::shared();
    AppContext::current().shared<DesktopHookup>();
    return desktop;
}

ScreenRect DesktopLink::primaryScreenFrame() {
    auto primary = desktop().screens().primaryScreen();
    return primary ? primary->frame() : fallbackScreen;
}

ScreenRect DesktopLink::screenFrameContaining(ScreenPoint point) {
    auto screen = screenContaining(point);
    return screen ? screen->frame() : primaryScreenFrame();
}

std::shared_ptr<Screen> DesktopLink::screenContaining(ScreenPoint point) {
    return desktop().screens().screenContaining(point);
}

std::shared_ptr<Screen> DesktopLink::mainScreen() { return desktop().screens().mainScreen(); }

}  // namespace tallowmere::platform
