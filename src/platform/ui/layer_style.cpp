#include "platform/ui/layer_style.h"

#include <algorithm>

namespace tallowmere::platform {

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
