#include "quicklaunch/quick_launch_panel.h"

#include <algorithm>

#include "platform/system/user_defaults.h"
#include "platform/ui/label.h"
#include "platform/ui/view.h"
#include "quicklaunch/quick_launch_store.h"

namespace tallowmere {

using platform::ScreenRect;
using platform::WindowStyleMask;

QuickLaunchPanel::QuickLaunchPanel(std::shared_ptr<QuickLaunchStore> store)
    : store_(std::move(store)),
      panel_(platform::Window::make<platform::Panel>(ScreenRect{}, WindowStyleMask{WindowStyleMask::nonactivatingPanel})) {
    panel_->setFloatingPanel(true);
    panel_->becomesKeyOnlyIfNeeded = true;
    panel_->setOpaque(false);
    panel_->setBackgroundColor(platform::Color::clear());
    panel_->setHasShadow(false);
    panel_->setHidesOnDeactivate(false);
    panel_->setLevel(platform::WindowLevel::popUpMenu);
    panel_->setCollectionBehavior({platform::WindowCollectionBehavior::canJoinAllSpaces |
                                   platform::WindowCollectionBehavior::stationary |
                                   platform::WindowCollectionBehavior::fullScreenAuxiliary});
}

bool QuickLaunchPanel::show(platform::ScreenPoint below, const std::shared_ptr<platform::Screen>& screen,
                            Trigger trigger) {
    // Quick launch is on unless it is stored as a boolean false.
    const bool enabled = platform::UserDefaults::standard().storedBoolean("quickLaunchEnabled").value_or(true);
    if (!enabled || (trigger == Trigger::longPress && allowsLongPress && !allowsLongPress())) {
        panel_->orderOut();
        return false;
    }
    rebuildTiles();

    const platform::Size size = panel_->frame().size;
    double x = below.x - size.width / 2;
    double y = below.y - gapBelowPoint - size.height;
    if (screen) {
        const ScreenRect visible = screen->visibleFrame();
        x = std::clamp(x, visible.minX() + edgeMargin, std::max(visible.minX() + edgeMargin, visible.maxX() - edgeMargin - size.width));
        y = std::clamp(y, visible.minY() + edgeMargin, std::max(visible.minY() + edgeMargin, visible.maxY() - edgeMargin - size.height));
    }
    panel_->setFrameOrigin({x, y});
    panel_->orderFrontRegardless();
    return true;
}

void QuickLaunchPanel::rebuildTiles() {
    const auto& entries = store_ ? store_->entries() : std::vector<QuickLaunchEntry>{};
    const int count = std::max(1, static_cast<int>(entries.size()));
    const int columns = std::min(count, tilesPerRow);
    const int rows = (count + tilesPerRow - 1) / tilesPerRow;
    const platform::Size size{columns * tileSide + 2 * padding, rows * tileSide + 2 * padding};

    auto content = platform::View::make({{0, 0}, size});
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int column = static_cast<int>(i) % tilesPerRow;
        const int row = static_cast<int>(i) / tilesPerRow;
        auto tile = platform::Label::make(entries[i].name);
        // Rows run from the top down; the view's origin is its bottom-left.
        tile->setFrame({{padding + column * tileSide, size.height - padding - (row + 1) * tileSide}, {tileSide, tileSide}});
        content->addSubview(tile);
    }
    panel_->setContentView(content);
    panel_->setFrame({panel_->frame().origin, size});
}

}  // namespace tallowmere
