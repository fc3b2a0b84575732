#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/desktop/screen.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/button.h"
#include "platform/ui/menu.h"
#include "platform/ui/window.h"
#include "quicklaunch/quick_launch_entry.h"

namespace tallowmere {

class QuickLaunchStore;

// The pop-up panel of quick-launch tiles, opened below the pointer by a long
// press or a double click on the menu bar, without taking the keyboard from
// the application in front. The input controller owns it; the application
// delegate hands it the four requests it cannot serve itself.
class QuickLaunchPanel {
public:
    // How the panel was opened.
    enum class Trigger { longPress = 0, menuBarDoubleClick = 1 };

    static constexpr int tilesPerRow = 5;
    // One tile and the 8-point gap after it, each way.
    static constexpr double cellWidth = 102;
    static constexpr double cellHeight = 94;
    // Room around the grid for the rounded edge and the corner buttons.
    static constexpr double chrome = 36;
    // Gap from the point the panel opens below to the panel's top edge.
    static constexpr double gapBelowPoint = 14;
    // How far the panel stays inside the screen's visible frame.
    static constexpr double edgeMargin = 8;

    explicit QuickLaunchPanel(std::shared_ptr<QuickLaunchStore> store);
    QuickLaunchPanel(const QuickLaunchPanel&) = delete;
    QuickLaunchPanel& operator=(const QuickLaunchPanel&) = delete;

    // A status text for whoever shows status lines (the new-file result).
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

    // The panel's size for a number of entries: the entries and the "+"
    // tile in rows of five.
    static platform::Size panelSize(std::size_t entryCount);

    // Rebuilds the tiles from the store and shows them below `point`
    // (screen space) on `screen`, kept inside its visible frame, without
    // activating the program. False, and the panel hidden, when quick launch
    // is switched off, or for a long press that the person's choice does
    // not send here.
    bool show(platform::ScreenPoint below, const std::shared_ptr<platform::Screen>& screen, Trigger trigger);

    // A tile's action: runs the entry whose id is the sender's identifier.
    // An entry that has gone does nothing and leaves the panel open.
    void openEntry(const platform::View& sender);
    // Opens the add menu under the sender; the panel stays open beneath it.
    void showAddMenu(const platform::View& sender);
    // Each hides the panel, then calls its callback.
    void addApplication();
    void addWebsite();
    void addInformation();
    void openSettings();

    // The open add menu, while one has been shown.
    const std::shared_ptr<platform::Menu>& addMenu() const { return addMenu_; }

private:
    std::shared_ptr<platform::View> makeContentView(platform::Size size);
    std::shared_ptr<platform::Button> makeAddTile();
    std::shared_ptr<platform::Button> compactOverlayButton(std::string_view symbol, std::string label,
                                                           std::function<void(platform::Control&)> action);
    void runEntry(const QuickLaunchEntry& entry);

    std::shared_ptr<QuickLaunchStore> store_;
    std::shared_ptr<platform::Panel> panel_;
    std::shared_ptr<platform::Menu> addMenu_;
};

}  // namespace tallowmere
