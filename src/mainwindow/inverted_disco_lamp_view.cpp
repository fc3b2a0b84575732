#include "mainwindow/inverted_disco_lamp_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "mainwindow/disco_light_overlay_view.h"
#include "platform/desktop/screen.h"
#include "platform/gfx/canvas.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/window.h"

namespace tallowmere {

using platform::Color;
using platform::Gradient;
using platform::Path;
using platform::Point;
using platform::SystemColor;

namespace {

double uptime() { return platform::AppContext::current().clock().uptime(); }

Path circle(Point centre, double radius) {
    return Path::ellipse({centre.x - radius, centre.y - radius, 2 * radius, 2 * radius});
}

}  // namespace

std::shared_ptr<InvertedDiscoLampView> InvertedDiscoLampView::make(platform::Rect frame) {
    return std::shared_ptr<InvertedDiscoLampView>(new InvertedDiscoLampView(frame));
}

InvertedDiscoLampView::InvertedDiscoLampView(platform::Rect frame) : View(frame), previousTimestamp_(uptime()) {
    setWantsLayer(true);
    // The same text in every interface language.
    setToolTip("点击旋转灯球");
    setCursor(platform::CursorShape::pointingHand);
}

InvertedDiscoLampView::~InvertedDiscoLampView() {
    if (animationTimer_) animationTimer_->invalidate();
    if (fullScreenLightWindow_) fullScreenLightWindow_->orderOut();
}

std::array<Color, 8> InvertedDiscoLampView::lampColors() {
    return {Color::system(SystemColor::green), Color::system(SystemColor::yellow), Color::system(SystemColor::orange),
            Color::system(SystemColor::red),   Color::system(SystemColor::pink),   Color::system(SystemColor::purple),
            Color::system(SystemColor::blue),  Color::system(SystemColor::cyan)};
}

std::size_t InvertedDiscoLampView::centreBulbColorIndex(double rotation) {
    const double steps = std::floor(2 * std::abs(rotation));
    if (!std::isfinite(steps)) return 0;
    return static_cast<std::size_t>(std::fmod(steps, 8.0));
}

// --- Spin ------------------------------------------------------------------------

void InvertedDiscoLampView::mouseDown(const platform::Event& event) {
    (void)event;
    motion_.isSpinning = !motion_.isSpinning;
    ensureAnimationTimer();
}

void InvertedDiscoLampView::ensureAnimationTimer() {
    if (animationTimer_) return;
    previousTimestamp_ = uptime();
    std::weak_ptr<View> weak = weak_from_this();
    animationTimer_ = platform::Timer::scheduledTimer(tickInterval, true, [weak](platform::Timer&) {
        if (auto self = std::static_pointer_cast<InvertedDiscoLampView>(weak.lock())) self->tick();
    });
}

void InvertedDiscoLampView::tick() {
    const double now = uptime();
    const double dt = now - previousTimestamp_;
    previousTimestamp_ = now;
    if (!motion_.advance(dt)) {
        // Come to rest: the only place the tick stops by itself.
        if (animationTimer_) animationTimer_->invalidate();
        animationTimer_.reset();
    }
    const double speed = motion_.normalizedSpeed();
    if (onSpeedChanged) onSpeedChanged(speed);
    updateFullScreenLight(motion_.rotation, speed);
    setNeedsDisplay();
}

// --- Full-screen light -------------------------------------------------------------

void InvertedDiscoLampView::toggleFullScreen(platform::Button& sender) {
    if (sender.state() == platform::ControlState::on) {
        if (!motion_.isSpinning) {
            motion_.isSpinning = true;
            ensureAnimationTimer();
        }
        showFullScreenLight();
    } else {
        hideFullScreenLight();
    }
}

void InvertedDiscoLampView::showFullScreenLight() {
    if (fullScreenLightWindow_) return;
    auto lampWindow = window();
    auto screen = lampWindow ? lampWindow->screen() : nullptr;
    if (!screen) screen = platform::DesktopLink::mainScreen();
    if (!screen) return;  // nothing to light; the ball spins on
    const platform::ScreenRect frame = screen->frame();
    lightOverlay_ = DiscoLightOverlayView::make({0, 0, frame.width(), frame.height()});
    auto panel = platform::Window::make<platform::Panel>(frame, platform::WindowStyleMask{platform::WindowStyleMask::nonactivatingPanel});
    panel->setOpaque(false);
    panel->setBackgroundColor(Color::clear());
    panel->setHasShadow(false);
    panel->setIgnoresMouseEvents(true);
    panel->setHidesOnDeactivate(false);
    panel->setLevel(platform::WindowLevel::screenSaver);
    panel->setCollectionBehavior({platform::WindowCollectionBehavior::canJoinAllSpaces |
                                  platform::WindowCollectionBehavior::stationary |
                                  platform::WindowCollectionBehavior::fullScreenAuxiliary});
    panel->setContentView(lightOverlay_);
    panel->setFrame(frame, true);
    panel->orderFrontRegardless();
    fullScreenLightWindow_ = panel;
    updateFullScreenLight(motion_.rotation, motion_.normalizedSpeed());
}

void InvertedDiscoLampView::hideFullScreenLight() {
    if (!fullScreenLightWindow_) return;
    fullScreenLightWindow_->orderOut();
    fullScreenLightWindow_.reset();
    lightOverlay_.reset();
}

void InvertedDiscoLampView::updateFullScreenLight(double rotation, double intensity) {
    if (!fullScreenLightWindow_ || !lightOverlay_) return;
    // Outside a window (the page being built) the ball has no place on screen.
    if (!window()) return;
    const platform::ScreenPoint onScreen = convertToScreen(ballCentre());
    const platform::ScreenRect panelFrame = fullScreenLightWindow_->frame();
    lightOverlay_->update({onScreen.x - panelFrame.minX(), onScreen.y - panelFrame.minY()}, rotation, intensity);
}

void InvertedDiscoLampView::viewDidMoveToWindow() {
    // Back in a window: the beams start from the ball's new place.
    updateFullScreenLight(motion_.rotation, motion_.normalizedSpeed());
}

// --- Drawing -------------------------------------------------------------------------

Point InvertedDiscoLampView::ballCentre() const {
    const auto b = bounds();
    return {b.midX(), b.midY() - ballDrop};
}

void InvertedDiscoLampView::draw(platform::Canvas& canvas, platform::Rect dirty) {
    (void)dirty;
    const auto b = bounds();
    const Point c = ballCentre();
    const double radius = 0.34 * std::min(b.width(), b.height());
    const double top = b.maxY();
    if (!(radius > 0)) return;

    // Ceiling mount.
    canvas.drawLinearGradient(Gradient(Color::calibratedWhite(0.22), Color::black()),
                              Path::roundedRect({c.x - 48, top - 19, 96, 19}, 9), -90);
    // Neck down to the ball.
    const double neckHeight = std::max(10.0, (top - 19) - (c.y + radius) + 6);
    canvas.drawLinearGradient(Gradient(Color::calibratedWhite(0.20), Color::calibratedWhite(0.04)),
                              Path::roundedRect({c.x - 17, c.y + radius - 3, 34, neckHeight}, 7), 0);
    // The ball, lit from the upper left.
    canvas.save();
    canvas.clip(circle(c, radius));
    canvas.drawRadialGradient(Gradient(Color::calibratedWhite(0.24), Color::calibratedWhite(0.045)),
                              {c.x - radius, c.y - radius, 2 * radius, 2 * radius}, {-0.35, 0.38});
    canvas.restore();

    canvas.save();
    canvas.clip(circle(c, radius - 2));
    drawBulbs(canvas, c, radius);
    canvas.restore();
}

void InvertedDiscoLampView::drawBulbs(platform::Canvas& canvas, Point centre, double radius) const {
    const auto colors = lampColors();
    std::size_t earlier = 0;
    for (const auto& ring : bulbRings) {
        for (int k = 0; k < ring.bulbs; ++k) {
            const double theta = ring.phase + motion_.rotation + 2 * std::numbers::pi * k / ring.bulbs;
            // Rings squashed vertically, so the ball reads as a sphere.
            const Point at{centre.x + ring.radiusFactor * radius * std::cos(theta),
                           centre.y + ring.radiusFactor * radius * std::sin(theta) * 0.78};
            drawBulb(canvas, at, colors[(earlier + static_cast<std::size_t>(k)) % colors.size()], ring.bulbSize());
        }
        earlier += static_cast<std::size_t>(ring.bulbs);
    }
    drawBulb(canvas, centre, colors[centreBulbColorIndex(motion_.rotation)], centreBulbSize);
}

void InvertedDiscoLampView::drawBulb(platform::Canvas& canvas, Point at, const Color& color, double size) {
    const Path bulb = circle(at, size / 2);
    canvas.save();
    // The glow: the bulb's own shape casts a soft shadow of its colour. A
    // gradient drawn inside the shape could cast none outside it.
    canvas.setShadow(platform::Shadow{.offset = {0, 0}, .blurRadius = 8, .color = color.withAlphaComponent(0.85)});
    canvas.setFillColor(color);
    canvas.fill(bulb);
    canvas.setShadow(std::nullopt);
    canvas.drawLinearGradient(Gradient(Color::white(), color), bulb, -45);
    canvas.restore();
}

}  // namespace tallowmere
