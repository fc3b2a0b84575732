#include "mainwindow/second_page_breathing_background_view.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/app_context.h"

namespace tallowmere {

using platform::Color;
using platform::SystemColor;

std::shared_ptr<SecondPageBreathingBackgroundView> SecondPageBreathingBackgroundView::make(platform::Rect frame) {
    return std::shared_ptr<SecondPageBreathingBackgroundView>(new SecondPageBreathingBackgroundView(frame));
}

SecondPageBreathingBackgroundView::SecondPageBreathingBackgroundView(platform::Rect frame) : View(frame) {
    configureBreathingBackground();
}

std::array<std::array<Color, 2>, 4> SecondPageBreathingBackgroundView::palette() {
    const auto tinted = [](SystemColor color, double alpha) { return Color::system(color).withAlphaComponent(alpha); };
    const std::array<Color, 2> first{tinted(SystemColor::blue, 0.10), tinted(SystemColor::pink, 0.07)};
    return {first,
            std::array<Color, 2>{tinted(SystemColor::teal, 0.11), tinted(SystemColor::yellow, 0.07)},
            std::array<Color, 2>{tinted(SystemColor::orange, 0.09), tinted(SystemColor::indigo, 0.08)},
            first};
}

void SecondPageBreathingBackgroundView::configureBreathingBackground() {
    const auto colors = palette();
    platform::LayerGradient gradient;
    gradient.name = gradientName;
    gradient.colors = {colors[0][0], colors[0][1]};
    gradient.startPoint = {0, 1};
    gradient.endPoint = {1, 0};
    platform::LayerKeyframeAnimation cycle;
    cycle.key = animationKey;
    cycle.keyPath = platform::LayerKeyframeAnimation::KeyPath::colors;
    for (const auto& pair : colors) cycle.colorValues.push_back({pair[0], pair[1]});
    cycle.keyTimes = {0, 0.33, 0.66, 1.0};
    cycle.timingFunctions.assign(3, platform::TimingFunction::easeInEaseOut);
    cycle.duration = cycleSeconds;
    cycle.repeatsForever = true;
    // Starts now on the layer's clock, as an animation added to a layer does.
    cycle.beginTime = platform::AppContext::current().clock().uptime();
    gradient.addAnimation(std::move(cycle));
    mutableLayer().insertGradientAtBottom(std::move(gradient));
}

float SecondPageBreathingBackgroundView::colorSpeedFactor(double speed) {
    if (!std::isfinite(speed) || speed <= 0) return slowestFactor;
    return static_cast<float>(std::min(speed, 1.0) * 10.35 + 0.65);
}

void SecondPageBreathingBackgroundView::setDiscoSpeed(double speed) {
    const float target = colorSpeedFactor(speed);
    if (std::abs(target - colorSpeed_) <= ignoredChange) return;
    const auto* gradient = layer().gradient(gradientName);
    if (!gradient) return;
    // The cycle's local time stays where it is: the colours go on from
    // where they were, only faster or slower.
    const double now = platform::AppContext::current().clock().uptime();
    const double local = gradient->timing.localTime(now);
    colorSpeed_ = target;
    setLayerTiming(gradientName, {.speed = target, .beginTime = now - local / target, .timeOffset = 0});
}

}  // namespace tallowmere
