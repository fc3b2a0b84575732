#pragma once

#include <memory>

namespace tallowmere {

namespace platform {
class StatusItem;
}

// The menu-bar web panel: stored websites opened in a compact panel from
// two status items of its own. One per process (`shared()`).
//
// For now it only makes its two status items, both hidden: the web item
// shows once its panel exists, the playback item only while a page plays
// media. The panel, its sites and its menu come with the web panel.
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

    const std::shared_ptr<platform::StatusItem>& webStatusItem() const { return webStatusItem_; }
    const std::shared_ptr<platform::StatusItem>& playbackStatusItem() const { return playbackStatusItem_; }

private:
    std::shared_ptr<platform::StatusItem> webStatusItem_;
    std::shared_ptr<platform::StatusItem> playbackStatusItem_;
};

}  // namespace tallowmere
