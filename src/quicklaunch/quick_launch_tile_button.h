#pragma once

#include <memory>

#include "platform/ui/button.h"
#include "platform/ui/image_view.h"
#include "platform/ui/label.h"
#include "platform/ui/tracking_area.h"
#include "quicklaunch/quick_launch_entry.h"

namespace tallowmere {

// One entry of the quick-launch panel: its icon over its name on a rounded
// tile that lights up in the accent colour under the pointer. The
// identifier is the entry's id, which is how a click finds its entry.
class QuickLaunchTileButton : public platform::Button {
public:
    static constexpr platform::Size size{94, 84};
    static constexpr double iconSide = 38;

    static std::shared_ptr<QuickLaunchTileButton> make(const QuickLaunchEntry& entry);

    const std::shared_ptr<platform::ImageView>& tileIcon() const { return tileIcon_; }
    const std::shared_ptr<platform::Label>& tileTitle() const { return tileTitle_; }
    bool isHovering() const { return isHovering_; }

    // The background for the pointer being over the tile or not.
    void refreshAppearance();

    void updateTrackingAreas() override;
    void mouseEntered(const platform::Event& event) override;
    void mouseExited(const platform::Event& event) override;
    void viewDidChangeEffectiveAppearance() override { refreshAppearance(); }
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

protected:
    explicit QuickLaunchTileButton(const QuickLaunchEntry& entry);

private:
    std::shared_ptr<platform::ImageView> tileIcon_;
    std::shared_ptr<platform::Label> tileTitle_;
    std::shared_ptr<platform::TrackingArea> hoverTrackingArea_;
    bool isHovering_ = false;
};

}  // namespace tallowmere
