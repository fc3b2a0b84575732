#include "mainwindow/second_page_gradient.h"

#include "platform/ui/view.h"

namespace tallowmere {

void applySecondPageGradient(platform::View& view, const platform::Color& from, const platform::Color& to) {
    static const std::string name = "secondPageCardGradient";
    view.setWantsLayer(true);
    auto& layer = view.mutableLayer();
    layer.removeGradients(name);
    platform::LayerGradient gradient;
    gradient.name = name;
    gradient.colors = {from, to};
    gradient.locations = {0, 1};
    // Diagonal, from the top-left corner to the bottom-right one.
    gradient.startPoint = {0, 1};
    gradient.endPoint = {1, 0};
    // Copied once: the card's corners are set before the wash.
    gradient.cornerRadius = layer.cornerRadius;
    gradient.continuousCorners = true;
    layer.insertGradientAtBottom(std::move(gradient));
}

}  // namespace tallowmere
