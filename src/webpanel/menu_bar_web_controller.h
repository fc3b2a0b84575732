#pragma once

#include <memory>

namespace tallowmere {

namespace platform {
class MenuItem;
class StatusItem;
}  // namespace platform

// The menu-bar web panel: stored websites opened in a compact panel from
// two status items of its own. One per process (`shared()`).
//
// For now it makes its two status items, both hidden (the web item shows
// once its panel exists, the playback item only while a page plays media),
// and a menu item that has no sites to offer. The panel, its sites and the
// rest of its menu come with the web panel.
class MenuBarWebController {
public:
    static constexpr const char* webItemAutosaveName = "Tallowmere.WebIndependent";
    static constexpr const char* playbackItemAutosaveName = "Tallowmere.WebPlaybackIndependent";

    static MenuBarWebController& shared();

    MenuBarWebController() = default;
    MenuBarWebController(const MenuBarWebController&) = delete;
    MenuBarWebController& operator=(const MenuBarWebController&) = delete;

    // Makes the two status items; called once at start-up, after the
    // shell's own three exist. Later calls do nothing.
    void installStatusItems();
    // A new "菜单栏网页" item with the web-panel submenu.
    std::shared_ptr<platform::MenuItem> makeMenuItem();

    const std::shared_ptr<platform::StatusItem>& webStatusItem() const { return webStatusItem_; }
    const std::shared_ptr<platform::StatusItem>& playbackStatusItem() const { return playbackStatusItem_; }

private:
    std::shared_ptr<platform::StatusItem> webStatusItem_;
    std::shared_ptr<platform::StatusItem> playbackStatusItem_;
};

}  // namespace tallowmere
