#include "platform/ui/desktop_link.h"

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/event_router.h"

namespace tallowmere::platform {

namespace {
constexpr ScreenRect fallbackScreen{0, 0, 1440, 900};
}

Desktop& DesktopLink::desktop() {
    auto& desktop = Desktop::shared();
    EventRouter::shared();
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
