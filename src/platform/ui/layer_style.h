#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/graphics_state.h"

namespace tallowmere::platform {

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
    bool operator==(const LayerGradient&) const = default;
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
};

}  // namespace tallowmere::platform
