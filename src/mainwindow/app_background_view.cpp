#include "mainwindow/app_background_view.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<AppBackgroundView> AppBackgroundView::make() {
    return std::shared_ptr<AppBackgroundView>(new AppBackgroundView());
}

AppBackgroundView::AppBackgroundView() : View({}) {
    setWantsLayer(true);
    refreshAppearance();
}

void AppBackgroundView::refreshAppearance() {
    const bool dark = effectiveAppearance() == Appearance::dark;
    mutableLayer().backgroundColor =
        dark ? Color::sRGB(28 / 255.0, 28 / 255.0, 30 / 255.0) : Color::sRGB(242 / 255.0, 242 / 255.0, 247 / 255.0);
}

}  // namespace tallowmere
