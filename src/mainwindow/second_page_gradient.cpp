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
    gradient.cornerRadius = layer.cornerRadius;
    layer.insertGradientAtBottom(std::move(gradient));
}

}  // namespace tallowmere
