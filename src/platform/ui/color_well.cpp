#include "platform/ui/color_well.h"

#include <algorithm>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/color_panel.h"
#include "platform/ui/control_drawing.h"

namespace tallowmere::platform {

namespace {

// The wells that are active, per AppContext.
struct ActiveColorWells {
    std::vector<std::weak_ptr<ColorWell>> wells;
};

ActiveColorWells& activeWells() { return AppContext::current().shared<ActiveColorWells>(); }

}  // namespace

std::shared_ptr<ColorWell> ColorWell::make(Color color) {
    auto well = std::shared_ptr<ColorWell>(new ColorWell());
    well->setColor(std::move(color));
    return well;
}

void ColorWell::setColor(Color color) {
    color_ = std::move(color);
    setNeedsDisplay();
}

void ColorWell::setBordered(bool bordered) {
    bordered_ = bordered;
    setNeedsDisplay();
}

void ColorWell::activate(bool exclusive) {
    auto& registry = activeWells().wells;
    if (exclusive) {
        for (auto& weak : registry)
            if (auto other = weak.lock(); other && other.get() != this) other->active_ = false;
        registry.clear();
    }
    std::erase_if(registry, [&](const std::weak_ptr<ColorWell>& w) { return w.expired() || w.lock().get() == this; });
    if (auto self = std::static_pointer_cast<ColorWell>(weak_from_this().lock())) registry.push_back(self);
    active_ = true;
    setNeedsDisplay();
}

void ColorWell::deactivate() {
    std::erase_if(activeWells().wells, [&](const std::weak_ptr<ColorWell>& w) { return w.expired() || w.lock().get() == this; });
    active_ = false;
    setNeedsDisplay();
}

std::shared_ptr<ColorWell> ColorWell::activeWell() {
    auto& registry = activeWells().wells;
    std::erase_if(registry, [](const std::weak_ptr<ColorWell>& w) { return w.expired(); });
    return registry.empty() ? nullptr : registry.back().lock();
}

bool ColorWell::deliverPanelColor(const Color& color) {
    auto well = activeWell();
    if (!well || !well->isEnabled()) return false;
    well->setColor(color);
    well->sendAction();
    return true;
}

void ColorWell::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    canvas.save();
    if (bordered_) ControlDrawing::drawBezel(canvas, b.insetBy(0.5, 0.5), 4, active_, isEnabled());
    const Rect swatch = bordered_ ? b.insetBy(5, 4) : b;
    canvas.setFillColor(color_);
    canvas.fill(Path::roundedRect(swatch, 2));
    canvas.restore();
}

void ColorWell::mouseDown(const Event& event) {
    (void)event;
    if (!isEnabled()) return;
    activate(true);
    // The panel opens on the well's own colour, so a person sees what they change.
    auto& panel = ColorPanel::shared();
    panel.setColor(color_);
    panel.orderFront();
}

}  // namespace tallowmere::platform
