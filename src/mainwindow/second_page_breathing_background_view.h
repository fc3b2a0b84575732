#pragma once

#include <array>
#include <memory>

#include "platform/gfx/color.h"
#include "platform/ui/view.h"

namespace tallowmere {

// The second page's background: a diagonal wash whose colours cycle slowly
// through four pastel pairs (14 s a cycle at factor 1) and speed up with the
// disco lamp's spin. The wash covers the bounds whatever their size. The cycle runs on the layer clock, so it costs no code
// per frame and nothing at all while the page is hidden.
class SecondPageBreathingBackgroundView : public platform::View {
public:
    static constexpr const char* gradientName = "secondPageBreathingGradient";
    static constexpr const char* animationKey = "secondPageBreathingColors";
    static constexpr double cycleSeconds = 14;
    static constexpr float slowestFactor = 0.65f;
    static constexpr float fastestFactor = 11.0f;
    // Reports closer than this to the current factor are ignored, so the
    // lamp's 30 reports a second do not touch the layer on every tick.
    static constexpr float ignoredChange = 0.035f;

    static std::shared_ptr<SecondPageBreathingBackgroundView> make(platform::Rect frame = {});

    // The speed factor of the colour cycle for the lamp's normalised speed
    // (0...1; 0 or less, or not finite, gives the slowest).
    static float colorSpeedFactor(double speed);
    // The four colour pairs, the last repeating the first so the cycle
    // closes without a jump.
    static std::array<std::array<platform::Color, 2>, 4> palette();

    // Follows the lamp: re-times the running cycle to the new factor
    // without a jump in the colours.
    void setDiscoSpeed(double speed);
    float colorSpeed() const { return colorSpeed_; }

protected:
    explicit SecondPageBreathingBackgroundView(platform::Rect frame);

private:
    void configureBreathingBackground();

    float colorSpeed_ = 1.0f;
};

}  // namespace tallowmere
