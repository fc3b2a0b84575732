#pragma once

#include <array>
#include <memory>

#include "platform/gfx/color.h"
#include "platform/ui/view.h"

namespace tallowmere {

// The disco lamp's light over the whole screen: eighteen coloured beams
// from the lamp's ball, turning with it, never taking a click.
class DiscoLightOverlayView : public platform::View {
public:
    static constexpr int beamCount = 18;
    // Each beam is a wedge of ±π/34 (about 10.6° wide).
    static constexpr double halfBeamAngle = 3.14159265358979323846 / 34;
    // The beams turn slower than the ball.
    static constexpr double beamTurnRatio = 0.72;
    // At rest the beams keep this share of their full strength.
    static constexpr double restingStrength = 0.38;

    static std::shared_ptr<DiscoLightOverlayView> make(platform::Rect frame = {});

    static std::array<platform::Color, 8> rayColors();

    // Where the beams start, in the view's coordinates.
    platform::Point sourcePoint() const { return sourcePoint_; }
    double rotation() const { return rotation_; }
    double intensity() const { return intensity_; }
    // Sets all three and redraws; the intensity is clamped to 0...1.
    void update(platform::Point sourcePoint, double rotation, double intensity);

    // The strength of the beams at `intensity`, 0.38 at rest to 1.
    static double strength(double intensity) { return restingStrength + (1 - restingStrength) * intensity; }

    void draw(platform::Canvas& canvas, platform::Rect dirty) override;
    // Clicks go through to whatever lies beneath.
    std::shared_ptr<platform::View> hitTest(platform::Point pointInSuperview) override;

protected:
    explicit DiscoLightOverlayView(platform::Rect frame);

private:
    platform::Point sourcePoint_{};
    double rotation_ = 0;
    double intensity_ = 0;
};

}  // namespace tallowmere
