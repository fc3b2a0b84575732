#include "toys/symbol_collection_item.h"

#include <cmath>

#include "platform/gfx/canvas.h"
#include "platform/ui/animation.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<SymbolCollectionItem> SymbolCollectionItem::make(std::string symbol) {
    auto item = std::shared_ptr<SymbolCollectionItem>(new SymbolCollectionItem(Rect{0, 0, 66, 66}));
    item->setTitle(std::move(symbol));
    return item;
}

SymbolCollectionItem::SymbolCollectionItem(Rect frame) : Button(frame) {
    setIdentifier(itemIdentifier);
    setBordered(false);
    setWantsLayer(true);
}

bool SymbolCollectionItem::isPressing() const { return press_ && press_->isRunning(); }

void SymbolCollectionItem::playPress() {
    if (press_) press_->cancel();
    const double from = scale_;
    std::weak_ptr<SymbolCollectionItem> weak = std::static_pointer_cast<SymbolCollectionItem>(shared_from_this());
    // In, then out: a sine over the whole run, from where a cut-short press left it.
    press_ = Animation::make({pressSeconds, TimingFunction::linear}, [weak, from](double progress) {
        auto item = weak.lock();
        if (!item) return;
        const double dip = std::sin(progress * M_PI);
        const double rest = from + (1 - from) * progress;
        item->scale_ = progress >= 1 ? 1 : rest - (rest - pressedScale) * dip;
        item->setNeedsDisplay();
    });
    press_->start();
}

void SymbolCollectionItem::draw(Canvas& canvas, Rect dirty) {
    if (scale_ == 1) {
        Button::draw(canvas, dirty);
        return;
    }
    const auto b = bounds();
    canvas.save();
    canvas.translate(b.midX(), b.midY());
    canvas.scale(scale_, scale_);
    canvas.translate(-b.midX(), -b.midY());
    Button::draw(canvas, dirty);
    canvas.restore();
}

}  // namespace tallowmere
