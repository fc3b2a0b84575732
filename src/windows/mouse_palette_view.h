#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/image.h"
#include "platform/ui/view.h"
#include "windows/snap_target.h"
#include "windows/window_dial_theme.h"

namespace tallowmere {

// The round dial of nine placements: inside the snap palette, and on its
// own as the live theme preview of the settings, where a click steps
// through the themes. Not flipped (y up); draws through DialPainter.
class MousePaletteView : public platform::View {
public:
    // The theme comes from the stored preference.
    static std::shared_ptr<MousePaletteView> make(platform::Rect frame);

    // The placements offered, in hit-test order; never `center`.
    const std::vector<SnapTarget>& targets() const { return targets_; }

    WindowDialTheme theme() const { return theme_; }
    // Redraws when the theme changes.
    void setTheme(WindowDialTheme theme);

    // The highlighted placement. Redraws only when it really changes.
    std::optional<SnapTarget> selectedTarget() const { return selectedTarget_; }
    void setSelectedTarget(std::optional<SnapTarget> target);

    // The dial's size relative to the view (the settings preview shows it
    // smaller); markers keep the size the view's side gives them.
    double displayScale() const { return displayScale_; }
    void setDisplayScale(double scale);

    // Set only for the settings preview: a click in the upper half steps
    // back (-1), in the lower half forward (+1). The pointer becomes a
    // pointing hand over a view that steps.
    const std::function<void(int step)>& onThemeStep() const { return onThemeStep_; }
    void setOnThemeStep(std::function<void(int step)> handler);

    void draw(platform::Canvas& canvas, platform::Rect dirty) override;
    void mouseDown(const platform::Event& event) override;

protected:
    explicit MousePaletteView(platform::Rect frame);

private:
    std::vector<SnapTarget> targets_;
    WindowDialTheme theme_;
    std::optional<SnapTarget> selectedTarget_;
    std::function<void(int step)> onThemeStep_;
    double displayScale_ = 1.0;
    platform::Image icon_;  // the program's icon, for the dog theme
};

}  // namespace tallowmere
