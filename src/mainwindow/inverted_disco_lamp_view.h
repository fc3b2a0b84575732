#pragma once

#include <array>
#include <functional>
#include <memory>

#include "mainwindow/disco_lamp_motion.h"
#include "platform/gfx/color.h"
#include "platform/ui/view.h"

namespace tallowmere {

namespace platform {
class Button;
class Panel;
class Timer;
}  // namespace platform

class DiscoLightOverlayView;

// A disco ball hanging from a ceiling mount, its bulbs in three rings. A
// click switches the spin on or off: it speeds up and coasts down smoothly,
// ticking 30 times a second only while it moves. The "全屏" button throws
// its light over the whole screen.
class InvertedDiscoLampView : public platform::View {
public:
    static constexpr double tickInterval = 1.0 / 30;
    // The ball's centre lies this far below the middle of the view.
    static constexpr double ballDrop = 16;

    struct BulbRing {
        double radiusFactor;  // of the ball's radius
        int bulbs;
        double phase;  // radians
        double bulbSize() const { return radiusFactor > 0.8 ? 12 : 15; }
    };
    static constexpr std::array<BulbRing, 3> bulbRings{{{0.34, 6, 0.0}, {0.62, 9, 0.42}, {0.86, 12, 0.16}}};
    static constexpr double centreBulbSize = 18;

    static std::shared_ptr<InvertedDiscoLampView> make(platform::Rect frame = {});
    ~InvertedDiscoLampView() override;

    static std::array<platform::Color, 8> lampColors();
    // The colour of the centre bulb, which steps every half radian of turn.
    static std::size_t centreBulbColorIndex(double rotation);

    // Told the normalised speed (0...1) on every tick.
    std::function<void(double speed)> onSpeedChanged;

    // The "全屏" button's action: on shows the light over the screen (and
    // starts the spin if it is off), anything else hides it; the spin is
    // left as it is.
    void toggleFullScreen(platform::Button& sender);

    const DiscoLampMotion& motion() const { return motion_; }
    bool isSpinning() const { return motion_.isSpinning; }
    // True while the ball moves or speeds up.
    bool isTicking() const { return animationTimer_ != nullptr; }
    std::shared_ptr<platform::Panel> fullScreenLightWindow() const { return fullScreenLightWindow_; }

    // A click anywhere on the lamp switches the spin on or off.
    void mouseDown(const platform::Event& event) override;
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;
    void viewDidMoveToWindow() override;

protected:
    explicit InvertedDiscoLampView(platform::Rect frame);

private:
    void ensureAnimationTimer();
    void tick();
    void showFullScreenLight();
    void hideFullScreenLight();
    void updateFullScreenLight(double rotation, double intensity);
    platform::Point ballCentre() const;
    void drawBulbs(platform::Canvas& canvas, platform::Point centre, double radius) const;
    static void drawBulb(platform::Canvas& canvas, platform::Point at, const platform::Color& color, double size);

    std::shared_ptr<platform::Timer> animationTimer_;
    std::shared_ptr<platform::Panel> fullScreenLightWindow_;
    std::shared_ptr<DiscoLightOverlayView> lightOverlay_;
    double previousTimestamp_ = 0;  // uptime of the last tick
    DiscoLampMotion motion_;
};

}  // namespace tallowmere
