#include "platform/ui/layer_animation_ticker.h"

#include <algorithm>

#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

LayerAnimationTicker& LayerAnimationTicker::shared() { return AppContext::current().shared<LayerAnimationTicker>(); }

LayerAnimationTicker* LayerAnimationTicker::sharedIfMade() {
    return AppContext::hasCurrent() ? AppContext::current().sharedIfMade<LayerAnimationTicker>() : nullptr;
}

LayerAnimationTicker::~LayerAnimationTicker() { stop(); }

void LayerAnimationTicker::watch(const std::shared_ptr<View>& view) {
    if (!view) return;
    const bool known = std::any_of(views_.begin(), views_.end(),
                                   [&](const std::weak_ptr<View>& held) { return held.lock() == view; });
    if (!known) views_.push_back(view);
    visibilityMayHaveChanged();
}

void LayerAnimationTicker::visibilityMayHaveChanged() {
    if (views_.empty() && !timer_) return;
    if (!pruneAndFindShowing()) {
        stop();
        return;
    }
    if (timer_) return;
    // The first frame now: a view that comes back shows its current colours.
    for (const auto& held : views_)
        if (auto view = held.lock()) view->setNeedsDisplay();
    timer_ = Timer::scheduledTimer(frameInterval, true, [this](Timer&) { tick(); });
}

bool LayerAnimationTicker::pruneAndFindShowing() {
    std::erase_if(views_, [](const std::weak_ptr<View>& held) {
        auto view = held.lock();
        return !view || !view->layer().hasAnimations();
    });
    return std::any_of(views_.begin(), views_.end(), [](const std::weak_ptr<View>& held) {
        auto view = held.lock();
        return view && isShowingOnScreen(*view);
    });
}

void LayerAnimationTicker::tick() {
    if (!pruneAndFindShowing()) {
        stop();
        return;
    }
    for (const auto& held : views_) {
        auto view = held.lock();
        if (view && isShowingOnScreen(*view)) view->setLayerNeedsDisplay();
    }
}

void LayerAnimationTicker::stop() {
    if (timer_) timer_->invalidate();
    timer_.reset();
}

bool isShowingOnScreen(const View& view) {
    auto window = view.window();
    return window && window->isOnScreen() && !view.isHiddenOrHasHiddenAncestor();
}

}  // namespace tallowmere::platform
