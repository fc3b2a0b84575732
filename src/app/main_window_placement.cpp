#include "app/main_window_placement.h"

#include <algorithm>
#include <cmath>

#include "platform/desktop/screen.h"

namespace tallowmere {

using platform::Screen;
using platform::ScreenPoint;
using platform::ScreenRect;

ScreenRect MainWindowPlacement::initialVisibleFrame(const std::shared_ptr<Screen>& mainScreen,
                                                    const std::vector<std::shared_ptr<Screen>>& screens) {
    if (mainScreen) return mainScreen->visibleFrame();
    if (!screens.empty() && screens.front()) return screens.front()->visibleFrame();
    return {0, 0, 1440, 900};
}

double MainWindowPlacement::fittedContentHeight(double fittingHeight, std::optional<double> screenVisibleHeight) {
    const double desired = std::ceil(fittingHeight) + 40;
    const double screenHeight = screenVisibleHeight.value_or(desired);
    return std::min(desired, std::max(screenHeight - 40, 1.0));
}

std::shared_ptr<Screen> MainWindowPlacement::targetScreen(ScreenPoint mouseLocation,
                                                          const std::shared_ptr<Screen>& windowScreen,
                                                          const std::shared_ptr<Screen>& mainScreen,
                                                          const std::vector<std::shared_ptr<Screen>>& screens) {
    for (const auto& screen : screens) {
        if (screen && screen->frame().contains(mouseLocation)) return screen;
    }
    if (windowScreen) return windowScreen;
    if (mainScreen) return mainScreen;
    std::shared_ptr<Screen> widest;
    for (const auto& screen : screens) {
        if (screen && (!widest || screen->visibleFrame().width() > widest->visibleFrame().width())) widest = screen;
    }
    return widest;
}

ScreenRect MainWindowPlacement::centredFrame(ScreenRect currentFrame, platform::Size minimumSize,
                                             ScreenRect visibleFrame) {
    const ScreenRect area = visibleFrame.insetBy(20, 20);
    const double width = std::min(std::max(minimumSize.width, currentFrame.width()), area.width());
    const double height = std::min(std::max(currentFrame.height(), minimumSize.height), area.height());
    return {area.midX() - width / 2, area.midY() - height / 2, width, height};
}

}  // namespace tallowmere
