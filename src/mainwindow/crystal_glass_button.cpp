#include "mainwindow/crystal_glass_button.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<CrystalGlassButton> CrystalGlassButton::make(std::string title) {
    auto button = std::shared_ptr<CrystalGlassButton>(new CrystalGlassButton());
    button->setTitle(std::move(title));
    return button;
}

CrystalGlassButton::CrystalGlassButton() : Button({}) {
    setBordered(true);
    setBezelStyle(BezelStyle::rounded);
    setControlSize(ControlSize::large);
    setFont(Font::systemFont(14, FontWeight::medium));
    setContentTintColor(Color::system(SystemColor::label));
    setImagePosition(ImagePosition::imageLeading);
    setImageScaling(ImageScaling::proportionallyDown);
    imageHugsTitle = true;
    setAlignment(TextAlignment::center);
}

}  // namespace tallowmere
