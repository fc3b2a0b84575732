#include "platform/ui/layer_style.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tallowmere::platform {

namespace {

// The key time of value `index` of `count`: the animation's own, when it
// gives one for every value, else evenly spread.
double keyTime(const LayerKeyframeAnimation& animation, std::size_t index, std::size_t count) {
    if (animation.keyTimes.size() == count) return std::clamp(animation.keyTimes[index], 0.0, 1.0);
    return double(index) / double(count - 1);
}

// Where in its values an animation is at layer time `layerTime`: the
// segment and the eased fraction within it; none while it does not apply.
std::optional<std::pair<std::size_t, double>> keyframePosition(const LayerKeyframeAnimation& animation,
                                                              std::size_t count, double layerTime) {
    if (count == 0 || !(animation.duration > 0)) return std::nullopt;
    double local = (layerTime - animation.beginTime) * animation.speed + animation.timeOffset;
    if (!std::isfinite(local)) return std::nullopt;
    if (local < 0) {
        if (!animation.fillsBackwards) return std::nullopt;
        local = 0;
    }
    if (animation.repeatsForever) {
        local = std::fmod(local, animation.duration);
    } else if (local > animation.duration) {
        return std::nullopt;
    }
    if (count == 1) return std::pair<std::size_t, double>{0, 0};
    const double fraction = local / animation.duration;
    std::size_t segment = 0;
    while (segment + 2 < count && fraction >= keyTime(animation, segment + 1, count)) ++segment;
    const double start = keyTime(animation, segment, count), end = keyTime(animation, segment + 1, count);
    const double within = end > start ? std::clamp((fraction - start) / (end - start), 0.0, 1.0) : 1.0;
    const TimingFunction function = segment < animation.timingFunctions.size() ? animation.timingFunctions[segment]
                                                                               : TimingFunction::linear;
    return std::pair<std::size_t, double>{segment, easedProgress(function, within)};
}

}  // namespace

void LayerGradient::addAnimation(LayerKeyframeAnimation animation) {
    std::erase_if(animations, [&](const LayerKeyframeAnimation& a) { return a.key == animation.key; });
    animations.push_back(std::move(animation));
}

LayerGradient LayerGradient::presentation(double uptime) const {
    LayerGradient shown = *this;
    shown.animations.clear();
    const double layerTime = timing.localTime(uptime);
    for (const auto& animation : animations) {
        if (animation.keyPath == LayerKeyframeAnimation::KeyPath::colors) {
            const auto& values = animation.colorValues;
            auto at = keyframePosition(animation, values.size(), layerTime);
            if (!at) continue;
            const auto& from = values[at->first];
            const auto& to = values[std::min(at->first + 1, values.size() - 1)];
            shown.colors.clear();
            for (std::size_t i = 0; i < from.size(); ++i) {
                shown.colors.push_back(i < to.size() ? from[i].blended(at->second, to[i]) : from[i]);
            }
        } else {
            const auto& values = animation.pointValues;
            auto at = keyframePosition(animation, values.size(), layerTime);
            if (!at) continue;
            const Point from = values[at->first];
            const Point to = values[std::min(at->first + 1, values.size() - 1)];
            shown.startPoint = {from.x + (to.x - from.x) * at->second, from.y + (to.y - from.y) * at->second};
        }
    }
    return shown;
}

void LayerStyle::insertGradientAtBottom(LayerGradient gradient) {
    removeGradients(gradient.name);
    gradients.insert(gradients.begin(), std::move(gradient));
}

void LayerStyle::removeGradients(const std::string& name) {
    std::erase_if(gradients, [&](const LayerGradient& g) { return g.name == name; });
}

const LayerGradient* LayerStyle::gradient(const std::string& name) const {
    auto it = std::find_if(gradients.begin(), gradients.end(), [&](const LayerGradient& g) { return g.name == name; });
    return it == gradients.end() ? nullptr : &*it;
}

LayerGradient* LayerStyle::gradient(const std::string& name) {
    return const_cast<LayerGradient*>(std::as_const(*this).gradient(name));
}

bool LayerStyle::hasAnimations() const {
    return std::any_of(gradients.begin(), gradients.end(), [](const LayerGradient& g) { return !g.animations.empty(); });
}

}  // namespace tallowmere::platform
