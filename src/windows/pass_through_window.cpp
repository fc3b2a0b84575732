#include "windows/pass_through_window.h"

namespace tallowmere {

using platform::WindowCollectionBehavior;

std::shared_ptr<platform::Window> makePassThroughWindow(const platform::ScreenRect& contentRect, int level) {
    auto window = platform::Window::make(contentRect, platform::WindowStyleMask::borderless);
    window->setOpaque(false);
    window->setBackgroundColor(platform::Color::clear());
    window->setHasShadow(false);
    window->setIgnoresMouseEvents(true);
    window->setLevel(level);
    window->setCollectionBehavior(WindowCollectionBehavior::canJoinAllSpaces | WindowCollectionBehavior::stationary |
                                  WindowCollectionBehavior::fullScreenAuxiliary);
    return window;
}

}  // namespace tallowmere
