#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/graphics_state.h"
#include "platform/ui/animation.h"

namespace tallowmere::platform {

// How a layer's own clock runs against its parent's: local time is
// (parent time - beginTime) x speed + timeOffset. A layer's animations run
// on its local clock, so changing these re-times every animation at once.
struct LayerTiming {
    double speed = 1;
    double beginTime = 0;
    double timeOffset = 0;
    bool operator==(const LayerTiming&) const = default;

    double localTime(double parentTime) const { return (parentTime - beginTime) * speed + timeOffset; }
};

// A keyframe animation of a layer gradient's colours or start point, as
// the layer's render clock sees it: evaluated from the uptime whenever the
// view is drawn (on screen and in snapshots), so it needs no timer (the view
// is redrawn while it shows, see LayerAnimationTicker).
// The animation's own time is (layer time - beginTime) x speed + timeOffset,
// where layer time is the gradient's local time. The values fall on
// `keyTimes` (fractions of the duration; evenly spread when empty) and each
// segment runs through its timing function (linear when none is given).
struct LayerKeyframeAnimation {
    enum class KeyPath { colors, startPoint };
    std::string key{};  // "blackboard.randomGradient"; a later one of the same key replaces it
    KeyPath keyPath = KeyPath::colors;
    std::vector<std::vector<Color>> colorValues{};  // for colors
    std::vector<Point> pointValues{};               // for startPoint
    double duration = 0;
    bool repeatsForever = false;
    double beginTime = 0;  // uptime
    // Before it begins, the first value shows (otherwise the model value).
    bool fillsBackwards = false;
    double speed = 1;
    double timeOffset = 0;
    std::vector<double> keyTimes{};                // one per value, rising from 0 to 1
    std::vector<TimingFunction> timingFunctions{};  // one per segment
    bool operator==(const LayerKeyframeAnimation&) const = default;
};

// A gradient drawn over a view's bounds beneath its content, found again by
// its name (a later gradient of the same name replaces it).
struct LayerGradient {
    std::string name;
    std::vector<Color> colors;
    std::vector<double> locations;  // empty: evenly spread
    // In the unit square of the bounds, y up: (0, 1) is the top-left.
    Point startPoint{0.5, 1};
    Point endPoint{0.5, 0};
    double cornerRadius = 0;
    bool continuousCorners = false;
    std::vector<LayerKeyframeAnimation> animations;
    // The gradient layer's clock against its superlayer's (the uptime).
    LayerTiming timing;
    bool operator==(const LayerGradient&) const = default;

    // Adds `animation`, replacing one of the same key.
    void addAnimation(LayerKeyframeAnimation animation);
    // The gradient as shown at `uptime`, its animations applied.
    LayerGradient presentation(double uptime) const;
};

// The backing-layer look of a view: what features set on a layer-backed view
// (background, corners, border, shadow, opacity of the layer, gradients) and
// what drawing shows beneath the view's own content.
struct LayerStyle {
    std::optional<Color> backgroundColor;
    double cornerRadius = 0;
    bool continuousCorners = false;
    double borderWidth = 0;
    Color borderColor = Color::black();
    // Subviews and drawing are clipped to the (rounded) bounds.
    bool masksToBounds = false;
    std::optional<Shadow> shadow;
    std::vector<LayerGradient> gradients;  // bottom first

    bool operator==(const LayerStyle&) const = default;

    // Adds `gradient` beneath the others, replacing any of the same name.
    void insertGradientAtBottom(LayerGradient gradient);
    void removeGradients(const std::string& name);
    const LayerGradient* gradient(const std::string& name) const;
    LayerGradient* gradient(const std::string& name);
    // Whether any gradient runs an animation.
    bool hasAnimations() const;
};

}  // namespace tallowmere::platform
