#pragma once

#include <functional>
#include <memory>

#include "platform/ui/view.h"

namespace tallowmere {

// Where each part of the web panel goes for a content size: the toolbar
// (52 pt, its buttons 28 pt square after a 12 pt margin, the address field
// taking the free width), the web view, and the playback bar at the bottom
// with its play button, seek slider and skip-ad button. Any size gives
// frames inside the content, none negative: the address field gives up its
// width first, then the buttons shrink alike.
struct MenuBarWebPanelFrames {
    platform::Rect toolbar, back, forward, reload, home, address, pin, external;
    platform::Rect webView, playbackBar, playButton, slider, skipAd;

    static constexpr double toolbarHeight = 52;
    static constexpr double buttonSide = 28;

    // In the content view's flipped space (origin top-left); the bar's
    // controls in the bar's own flipped space.
    static MenuBarWebPanelFrames compute(platform::Size content, double playbackBarHeight);
};

// The panel's content view: lays its parts out by `MenuBarWebPanelFrames`.
class MenuBarWebPanelContentView : public platform::View {
public:
    struct Parts {
        std::shared_ptr<platform::View> toolbar, tint, hairline, back, forward, reload, home, address, pin, external;
        std::shared_ptr<platform::View> webView, playbackBar, playButton, slider, skipAd;
    };

    static std::shared_ptr<MenuBarWebPanelContentView> make();

    Parts parts;
    // The playback bar's current height.
    std::function<double()> playbackBarHeight;

    void layout() override;
    void viewDidChangeSize(platform::Size oldSize) override;

protected:
    MenuBarWebPanelContentView();
};

}  // namespace tallowmere
