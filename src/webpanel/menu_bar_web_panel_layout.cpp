#include "webpanel/menu_bar_web_panel_layout.h"

#include <algorithm>

namespace tallowmere {

using platform::Rect;

MenuBarWebPanelFrames MenuBarWebPanelFrames::compute(platform::Size content, double playbackBarHeight) {
    MenuBarWebPanelFrames f;
    const double width = std::max(content.width, 0.0);
    const double height = std::max(content.height, 0.0);
    const double toolbarHeight = std::min(MenuBarWebPanelFrames::toolbarHeight, height);
    f.toolbar = {0, 0, width, toolbarHeight};

    // Fixed lengths across: margins and gaps, then six buttons and the field.
    // A panel narrower than the margins alone shrinks them alike.
    const double gaps = 12 + 2 + 2 + 2 + 8 + 6 + 2 + 10;
    const double scale = std::min(1.0, width / gaps);
    const double buttonsAndField = std::max(width - gaps, 0.0);
    const double side = std::min(buttonSide, buttonsAndField / 6);
    const double fieldWidth = buttonsAndField - 6 * side;
    // The buttons' centre lies 7 pt under the toolbar's: the title bar's
    // controls sit above them.
    const double centreY = toolbarHeight / 2 + 7;
    auto button = [&](double x) { return Rect{x, centreY - side / 2, side, side}; };
    f.back = button(12 * scale);
    f.forward = button(f.back.maxX() + 2 * scale);
    f.reload = button(f.forward.maxX() + 2 * scale);
    f.home = button(f.reload.maxX() + 2 * scale);
    f.address = {f.home.maxX() + 8 * scale, centreY - 14, fieldWidth, 28};
    f.pin = button(f.address.maxX() + 6 * scale);
    f.external = button(f.pin.maxX() + 2 * scale);

    const double barHeight = std::clamp(playbackBarHeight, 0.0, std::max(height - toolbarHeight, 0.0));
    f.playbackBar = {0, height - barHeight, width, barHeight};
    f.webView = {0, toolbarHeight, width, std::max(height - toolbarHeight - barHeight, 0.0)};
    const double barCentre = barHeight / 2;
    f.playButton = {4, barCentre - 15, 30, 30};
    const double skipWidth = std::min(96.0, std::max(width - 8, 0.0));
    f.skipAd = {width - 8 - skipWidth, barCentre - 12, skipWidth, 24};
    const double sliderX = f.playButton.maxX() + 2;
    f.slider = {sliderX, barCentre - 15, std::max(f.skipAd.minX() - 8 - sliderX, 0.0), 30};
    return f;
}

MenuBarWebPanelContentView::MenuBarWebPanelContentView() : View(Rect{}) { setFlipped(true); }

std::shared_ptr<MenuBarWebPanelContentView> MenuBarWebPanelContentView::make() {
    return std::shared_ptr<MenuBarWebPanelContentView>(new MenuBarWebPanelContentView());
}

void MenuBarWebPanelContentView::viewDidChangeSize(platform::Size) { setNeedsLayout(); }

void MenuBarWebPanelContentView::layout() {
    const auto f = MenuBarWebPanelFrames::compute(bounds().size, playbackBarHeight ? playbackBarHeight() : 0);
    const std::pair<const std::shared_ptr<platform::View>&, Rect> placements[] = {
        {parts.toolbar, f.toolbar},
        {parts.tint, {0, 0, f.toolbar.width(), f.toolbar.height()}},
        {parts.hairline, {0, f.toolbar.height() - 1, f.toolbar.width(), 1}},
        {parts.back, f.back},
        {parts.forward, f.forward},
        {parts.reload, f.reload},
        {parts.home, f.home},
        {parts.address, f.address},
        {parts.pin, f.pin},
        {parts.external, f.external},
        {parts.webView, f.webView},
        {parts.playbackBar, f.playbackBar},
        {parts.playButton, f.playButton},
        {parts.slider, f.slider},
        {parts.skipAd, f.skipAd},
    };
    for (const auto& [view, frame] : placements) {
        if (view) view->setFrame(frame);
    }
    View::layout();
}

}  // namespace tallowmere
