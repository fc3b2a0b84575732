#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/window.h"

namespace tallowmere {

class QuickLaunchStore;

// The pop-up panel of quick-launch tiles, opened by a long press or a
// double click on the menu bar. The input controller owns it; the
// application delegate hands it the four requests it cannot serve itself.
//
// For now the panel shows one plain tile per entry: opening an entry, the
// settings button and the add choices come with the quick-launch feature.
class QuickLaunchPanel {
public:
    // How the panel was opened.
    enum class Trigger { longPress = 0, menuBarDoubleClick = 1 };

    static constexpr double tileSide = 72;
    static constexpr int tilesPerRow = 6;
    static constexpr double padding = 12;
    // Gap from the point the panel opens below to the panel's top edge.
    static constexpr double gapBelowPoint = 14;
    // How far the panel stays inside the screen's visible frame.
    static constexpr double edgeMargin = 8;

    explicit QuickLaunchPanel(std::shared_ptr<QuickLaunchStore> store);
    QuickLaunchPanel(const QuickLaunchPanel&) = delete;
    QuickLaunchPanel& operator=(const QuickLaunchPanel&) = delete;

    // A status text for whoever shows status lines (the main window).
    std::function<void(const std::string& text)> onAction;
    // The panel's settings button.
    std::function<void()> onOpenSettings;
    // Its add-application, add-website and add-information choices.
    std::function<void()> onAddApplication;
    std::function<void()> onAddWebsite;
    std::function<void()> onAddInformation;
    // Whether a long press may open the panel now (the person's long-press
    // choice); the input controller, which owns that choice, sets it.
    // Absent: allowed.
    std::function<bool()> allowsLongPress;

    const std::shared_ptr<QuickLaunchStore>& store() const { return store_; }
    // A non-activating floating panel, made hidden with the owner.
    const std::shared_ptr<platform::Panel>& panel() const { return panel_; }

    // Shows the store's tiles centred below `point` (screen space) on
    // `screen`, without activating the program. False, and nothing shown,
    // when quick launch is switched off, or for a long press that the
    // person's choice does not send here.
    bool show(platform::ScreenPoint below, const std::shared_ptr<platform::Screen>& screen, Trigger trigger);

private:
    void rebuildTiles();

    std::shared_ptr<QuickLaunchStore> store_;
    std::shared_ptr<platform::Panel> panel_;
};

}  // namespace tallowmere
