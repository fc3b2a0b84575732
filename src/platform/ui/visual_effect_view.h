#pragma once

#include <memory>

#include "platform/ui/view.h"

namespace tallowmere::platform {

// The translucent materials behind panels, sidebars and headers. The raw
// values are the platform's, so code that names a material by number (6 is
// the sidebar) gets the same one.
enum class VisualEffectMaterial {
    titlebar = 3,
    selection = 4,
    menu = 5,
    popover = 6,
    sidebar = 7,
    headerView = 10,
    sheet = 11,
    windowBackground = 12,
    hudWindow = 13,
    fullScreenUI = 15,
    toolTip = 17,
    contentBackground = 18,
    underWindowBackground = 21,
    underPageBackground = 22,
};
enum class VisualEffectBlendingMode { behindWindow, withinWindow };
enum class VisualEffectState { followsWindowActiveState, active, inactive };

// A view that shows a material: here a tinted, mostly opaque fill of the
// material's colour, so a snapshot shows the panel's shape and content.
class VisualEffectView : public View {
public:
    static std::shared_ptr<VisualEffectView> make(Rect frame = {},
                                                  VisualEffectMaterial material = VisualEffectMaterial::windowBackground);

    VisualEffectMaterial material() const { return material_; }
    void setMaterial(VisualEffectMaterial material);
    VisualEffectBlendingMode blendingMode = VisualEffectBlendingMode::behindWindow;
    VisualEffectState state = VisualEffectState::followsWindowActiveState;
    bool isEmphasized = false;

    void draw(Canvas& canvas, Rect dirty) override;

protected:
    VisualEffectView(Rect frame, VisualEffectMaterial material) : View(frame), material_(material) {}

private:
    VisualEffectMaterial material_;
};

}  // namespace tallowmere::platform
