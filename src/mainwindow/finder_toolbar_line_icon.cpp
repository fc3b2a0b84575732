#include "mainwindow/finder_toolbar_line_icon.h"

#include "platform/gfx/canvas.h"

namespace tallowmere {

using namespace platform;

Image finderToolbarLineIcon() {
    auto image = Image::withHandler({18, 18}, [](Canvas& canvas, Rect rect) {
        canvas.save();
        canvas.setStrokeColor(Color::black());
        canvas.setLineWidth(1.5);
        canvas.setLineJoin(LineJoin::round);
        canvas.stroke(Path::roundedRect(rect.insetBy(1.5, 1.5), 3.2));

        canvas.setLineWidth(1.35);
        canvas.setLineCap(LineCap::round);
        Path profile;
        profile.moveTo({9, 16.5});
        profile.curveTo({8.7, 12.4}, {7.7, 5.8}, {8.1, 2.1});
        canvas.stroke(profile);
        canvas.strokeLine({5.2, 11.2}, {5.2, 10.1});
        canvas.strokeLine({12.7, 11.2}, {12.7, 10.1});
        Path smile;
        smile.moveTo({4.7, 6.3});
        smile.curveTo({6.8, 4.1}, {11.3, 4.2}, {13.3, 6.5});
        canvas.stroke(smile);
        canvas.restore();
        return true;
    });
    image.setTemplate(true);
    return image;
}

}  // namespace tallowmere
