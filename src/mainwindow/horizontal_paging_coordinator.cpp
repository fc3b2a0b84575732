#include "mainwindow/horizontal_paging_coordinator.h"

#include <cmath>
#include <map>

#include "platform/runtime/app_context.h"
#include "platform/ui/animation.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

struct HorizontalPagingCoordinator::Private {};

namespace {

// The coordinators of the context, by host identity.
struct PagingRegistry {
    std::map<const View*, std::shared_ptr<HorizontalPagingCoordinator>> retained;
};

int windowNumberOf(const std::shared_ptr<View>& view) {
    auto window = view ? view->window() : nullptr;
    return window ? window->windowNumber() : 0;
}

}  // namespace

std::shared_ptr<HorizontalPagingCoordinator> HorizontalPagingCoordinator::install(
    const std::shared_ptr<View>& host, std::vector<std::shared_ptr<View>> pages) {
    auto coordinator = std::make_shared<HorizontalPagingCoordinator>(Private{}, host, std::move(pages));
    // A fade changes only the pages' alpha: each page's content is drawn
    // once, not on every frame.
    for (const auto& page : coordinator->pages_) page->setCachesSubviewsWhileTranslucent(true);
    for (std::size_t i = 1; i < coordinator->pages_.size(); ++i) {
        coordinator->pages_[i]->setHidden(true);
        coordinator->pages_[i]->setAlphaValue(0);
    }
    // Made before the registry, so the registry (made later) dies first and
    // its coordinators can still remove their monitors.
    auto& monitors = EventMonitors::shared();
    coordinator->eventMonitor_ = monitors.addLocalMonitor(
        eventMask(EventType::scrollWheel),
        [weak = std::weak_ptr<HorizontalPagingCoordinator>(coordinator)](const Event& event) -> std::optional<Event> {
            if (auto owner = weak.lock()) owner->handleScroll(event);
            return event;
        });
    AppContext::current().shared<PagingRegistry>().retained[host.get()] = coordinator;
    return coordinator;
}

std::shared_ptr<HorizontalPagingCoordinator> HorizontalPagingCoordinator::installedOn(const View& host) {
    auto* registry = AppContext::current().sharedIfMade<PagingRegistry>();
    if (!registry) return nullptr;
    auto it = registry->retained.find(&host);
    return it == registry->retained.end() ? nullptr : it->second;
}

HorizontalPagingCoordinator::HorizontalPagingCoordinator(Private, const std::shared_ptr<View>& host,
                                                         std::vector<std::shared_ptr<View>> pages)
    : host_(host), pages_(std::move(pages)) {}

HorizontalPagingCoordinator::~HorizontalPagingCoordinator() {
    if (fade_) fade_->cancel();
    if (!eventMonitor_ || !AppContext::hasCurrent()) return;
    if (auto* monitors = AppContext::current().sharedIfMade<EventMonitors>()) monitors->removeMonitor(*eventMonitor_);
}

void HorizontalPagingCoordinator::handleScroll(const Event& event) {
    if (event.windowNumber != windowNumberOf(host_.lock())) return;
    const double dx = event.scrollingDeltaX;
    const double dy = event.scrollingDeltaY;
    if (std::abs(dy) < std::abs(dx)) {
        // The same finger movement turns the same way whatever the scrolling direction setting.
        accumulatedScroll_ += event.isDirectionInvertedFromDevice ? -dx : dx;
        const int last = static_cast<int>(pages_.size()) - 1;
        if (accumulatedScroll_ > swipeThreshold) {
            showPage(std::min(currentPage_ + 1, last));
            accumulatedScroll_ = 0;
        } else if (accumulatedScroll_ < -swipeThreshold) {
            showPage(std::max(currentPage_ - 1, 0));
            accumulatedScroll_ = 0;
        }
    }
    // The lifting of the fingers comes without movement: it ends the swipe all the same.
    if (event.phase == EventPhase::ended || event.momentumPhase == EventPhase::ended) accumulatedScroll_ = 0;
}

void HorizontalPagingCoordinator::showPage(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size()) || index == currentPage_) return;
    auto oldPage = pages_[static_cast<std::size_t>(currentPage_)];
    auto newPage = pages_[static_cast<std::size_t>(index)];
    currentPage_ = index;
    if (onPageChanged) onPageChanged(index);

    // A fade still running is stopped where it is; pages it was fading that
    // take no part in this change are put away at once.
    if (fade_) fade_->cancel();
    for (const auto& page : pages_) {
        if (page != oldPage && page != newPage) page->setHidden(true);
    }
    newPage->setHidden(false);
    newPage->setAlphaValue(0);
    const double oldAlpha = oldPage->alphaValue();
    std::weak_ptr<View> weakOld = oldPage;
    std::weak_ptr<View> weakNew = newPage;
    fade_ = AnimationGroup::run(
        {fadeDuration, TimingFunction::easeInEaseOut},
        [&](AnimationGroup& group) {
            group.animate([weakOld, weakNew, oldAlpha](double progress) {
                if (auto page = weakNew.lock()) page->setAlphaValue(progress);
                if (auto page = weakOld.lock()) page->setAlphaValue(oldAlpha * (1 - progress));
            });
        },
        [weak = weak_from_this(), weakOld] {
            auto owner = weak.lock();
            auto page = weakOld.lock();
            if (!owner || !page) return;
            // A later change may have made the faded page current again: it stays visible then.
            const auto& pages = owner->pages_;
            if (pages[static_cast<std::size_t>(owner->currentPage_)] != page) page->setHidden(true);
        });
}

}  // namespace tallowmere
