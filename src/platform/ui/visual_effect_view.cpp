#include "platform/ui/visual_effect_view.h"

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

std::shared_ptr<VisualEffectView> VisualEffectView::make(Rect frame, VisualEffectMaterial material) {
    return std::shared_ptr<VisualEffectView>(new VisualEffectView(frame, material));
}

void VisualEffectView::setMaterial(VisualEffectMaterial material) {
    material_ = material;
    setNeedsDisplay();
}

void VisualEffectView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    SystemColor base = SystemColor::windowBackground;
    double alpha = 0.92;
    switch (material_) {
    case VisualEffectMaterial::sidebar:
    case VisualEffectMaterial::underWindowBackground: base = SystemColor::underPageBackground; alpha = 0.85; break;
    case VisualEffectMaterial::contentBackground: base = SystemColor::controlBackground; alpha = 0.95; break;
    case VisualEffectMaterial::hudWindow:
    case VisualEffectMaterial::fullScreenUI: base = SystemColor::shadow; alpha = 0.6; break;
    default: break;
    }
    canvas.save();
    canvas.setFillColor(Color::system(base).withAlphaComponent(alpha));
    const Rect b = bounds();
    canvas.fill(layer().cornerRadius > 0 ? Path::roundedRect(b, layer().cornerRadius) : Path::rect(b));
    canvas.restore();
}

}  // namespace tallowmere::platform
