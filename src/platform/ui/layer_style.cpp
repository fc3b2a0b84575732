#include "platform/ui/layer_style.h"

#include <algorithm>
#include <cmath>

namespace tallowmere::platform {

namespace {

// Where in its values an animation is at `uptime`: the segment and the
// fraction within it; none while it does not apply.
std::optional<std::pair<std::size_t, double>> keyframePosition(const LayerKeyframeAnimation& animation,
                                                              std::size_t count, double uptime) {
    if (count == 0 || !(animation.duration > 0)) return std::nullopt;
    double local = (uptime - animation.beginTime) * animation.speed + animation.timeOffset;
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
    const double progress = local / animation.duration * double(count - 1);
    const auto segment = std::min<std::size_t>(static_cast<std::size_t>(progress), count - 2);
    return std::pair<std::size_t, double>{segment, progress - double(segment)};
}

}  // namespace

void LayerGradient::addAnimation(LayerKeyframeAnimation animation) {
    std::erase_if(animations, [&](const LayerKeyframeAnimation& a) { return a.key == animation.key; });
    animations.push_back(std::move(animation));
}

LayerGradient LayerGradient::presentation(double uptime) const {
    LayerGradient shown = *this;
    shown.animations.clear();
    for (const auto& animation : animations) {
        if (animation.keyPath == LayerKeyframeAnimation::KeyPath::colors) {
            const auto& values = animation.colorValues;
            auto at = keyframePosition(animation, values.size(), uptime);
            if (!at) continue;
            const auto& from = values[at->first];
            const auto& to = values[std::min(at->first + 1, values.size() - 1)];
            shown.colors.clear();
            for (std::size_t i = 0; i < from.size(); ++i) {
                shown.colors.push_back(i < to.size() ? from[i].blended(at->second, to[i]) : from[i]);
            }
        } else {
            const auto& values = animation.pointValues;
            auto at = keyframePosition(animation, values.size(), uptime);
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

}  // namespace tallowmere::platform
