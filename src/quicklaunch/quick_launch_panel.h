#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tallowmere {

class QuickLaunchStore;

// The pop-up panel of quick-launch tiles, opened by a long press or a
// double click on the menu bar. The input controller owns it; the
// application delegate hands it the four requests it cannot serve itself.
//
// For now it carries only those hand-overs: the tile grid and its panel
// window come with the quick-launch feature.
class QuickLaunchPanel {
public:
    explicit QuickLaunchPanel(std::shared_ptr<QuickLaunchStore> store) : store_(std::move(store)) {}
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

    const std::shared_ptr<QuickLaunchStore>& store() const { return store_; }

private:
    std::shared_ptr<QuickLaunchStore> store_;
};

}  // namespace tallowmere
