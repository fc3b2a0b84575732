#include "mainwindow/square_color_well.h"

#include "platform/gfx/canvas.h"
#include "platform/ui/application.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<SquareColorWell> SquareColorWell::make() {
    return std::shared_ptr<SquareColorWell>(new SquareColorWell());
}

SquareColorWell::SquareColorWell() { setBordered(false); }

void SquareColorWell::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    canvas.save();
    canvas.setFillColor(Color::system(SystemColor::controlBackground));
    canvas.fillRect(bounds());
    const Rect swatch = bounds().insetBy(3, 3);
    canvas.setFillColor(color());
    canvas.fillRoundedRect(swatch, 5);
    canvas.setStrokeColor(Color::system(SystemColor::separator));
    canvas.setLineWidth(1);
    canvas.strokeRoundedRect(swatch.insetBy(0.5, 0.5), 4.5);
    canvas.restore();
}

void SquareColorWell::mouseDown(const Event& event) {
    if (!isEnabled()) return;
    Application::shared().activate(true);
    ColorWell::mouseDown(event);
}

}  // namespace tallowmere
