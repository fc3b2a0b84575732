#include "mainwindow/mouse_drag_usage_icon_view.h"

#include "localization/interface_language.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/symbol_image.h"
#include "platform/ui/image_view.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<MouseDragUsageIconView> MouseDragUsageIconView::make() {
    auto view = std::shared_ptr<MouseDragUsageIconView>(new MouseDragUsageIconView());
    auto arrows = ImageView::make(symbolImage("arrow.up.and.down.and.arrow.left.and.right", L("拖动方向"),
                                              {13, FontWeight::medium}));
    arrows->setContentTintColor(Color::system(SystemColor::blue));
    arrows->setFixedSize({14, 14});
    arrows->setPlacement(Placement{0.0, std::nullopt, 0.0, std::nullopt, std::nullopt, std::nullopt});
    view->addSubview(arrows);
    return view;
}

MouseDragUsageIconView::MouseDragUsageIconView() : View({}) {}

void MouseDragUsageIconView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    canvas.save();
    canvas.setFillColor(Color::system(SystemColor::controlBackground));
    canvas.setStrokeColor(Color::system(SystemColor::secondaryLabel));
    canvas.setLineWidth(1.35);
    const auto body = Path::roundedRect({15, 3, 20, 31}, 10);
    canvas.fill(body);
    canvas.stroke(body);
    canvas.strokeLine({25, 33}, {25, 22});
    canvas.restore();
}

}  // namespace tallowmere
