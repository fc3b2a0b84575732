#pragma once

#include <memory>

#include "platform/gfx/color.h"
#include "platform/gfx/image.h"
#include "platform/ui/button.h"

namespace tallowmere {

// The drawing on the web panel's two status items: the web item's browser
// outline with a yellow play mark in its open corner, or the playback item's
// yellow play or pause glyph. It lies over the item's own button and takes
// no click: every click reaches the button under it.
class MenuBarWebStatusButton : public platform::Button {
public:
    // The yellow of the marks and glyphs.
    static platform::Color yellow();

    static std::shared_ptr<MenuBarWebStatusButton> make();

    // The web item: the yellow play mark over the image.
    bool drawsYellowPlayIndicator = false;
    // The playback item: only the yellow glyph, no image.
    bool usesYellowTint = false;
    bool showsPause() const { return showsPause_; }
    // Redraws at once when it changes.
    void setShowsPause(bool showsPause);

    std::shared_ptr<platform::View> hitTest(platform::Point pointInSuperview) override;
    void viewDidChangeEffectiveAppearance() override;
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

protected:
    explicit MenuBarWebStatusButton(platform::Rect frame);

private:
    void drawGlyph(platform::Canvas& canvas) const;
    void drawPlayIndicator(platform::Canvas& canvas) const;

    bool showsPause_ = false;
};

// The 20 × 16 pt template image of a browser window open at its lower
// right; with the black play triangle in that corner when asked.
platform::Image makeTallowmereWebIcon(bool includesPlayTriangle);

}  // namespace tallowmere
