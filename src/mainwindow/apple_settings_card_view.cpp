#include "mainwindow/apple_settings_card_view.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<AppleSettingsCardView> AppleSettingsCardView::make() {
    return std::shared_ptr<AppleSettingsCardView>(new AppleSettingsCardView());
}

AppleSettingsCardView::AppleSettingsCardView() : View({}) {
    setWantsLayer(true);
    auto& layer = mutableLayer();
    layer.cornerRadius = 18;
    layer.continuousCorners = true;
    layer.borderWidth = 0;
    layer.masksToBounds = false;
    refreshAppearance();
}

void AppleSettingsCardView::refreshAppearance() {
    const bool dark = effectiveAppearance() == Appearance::dark;
    auto& layer = mutableLayer();
    layer.backgroundColor = dark ? Color::sRGB(44 / 255.0, 44 / 255.0, 46 / 255.0) : Color::sRGB(1, 1, 1);
    // Cards sit flat on the page: no shadow in either appearance.
    layer.shadow.reset();
}

}  // namespace tallowmere
