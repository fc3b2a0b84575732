#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/event_monitors.h"

namespace tallowmere {

namespace platform {
class AnimationGroup;
class View;
}  // namespace platform

// Switches a host view between pages laid out in it: the chevrons call
// `showFirstPage` / `showSecondPage`, and a horizontal two-finger swipe (any
// horizontal scroll) anywhere in the host's window turns the page once it
// has travelled more than 34 points. The pages cross-fade over 0.34 s.
//
// It owns no views and holds the host weakly. The only strong owner of a
// coordinator is the registry of its host: installing another on the same
// host replaces and releases it, so one swipe never turns two pages.
class HorizontalPagingCoordinator : public std::enable_shared_from_this<HorizontalPagingCoordinator> {
public:
    static constexpr double swipeThreshold = 34;
    static constexpr double fadeDuration = 0.34;

    // The pages are already in the host and laid out; every page but the
    // first is hidden. Returns the new coordinator.
    static std::shared_ptr<HorizontalPagingCoordinator> install(const std::shared_ptr<platform::View>& host,
                                                                std::vector<std::shared_ptr<platform::View>> pages);
    // The coordinator installed on `host`, if any.
    static std::shared_ptr<HorizontalPagingCoordinator> installedOn(const platform::View& host);

    ~HorizontalPagingCoordinator();
    HorizontalPagingCoordinator(const HorizontalPagingCoordinator&) = delete;
    HorizontalPagingCoordinator& operator=(const HorizontalPagingCoordinator&) = delete;

    void showFirstPage() { showPage(0); }
    void showSecondPage() { showPage(1); }
    void showThirdPage() { showPage(2); }

    // Called with the new index on every page change.
    std::function<void(int page)> onPageChanged;

    int currentPage() const { return currentPage_; }
    double accumulatedScroll() const { return accumulatedScroll_; }
    const std::vector<std::shared_ptr<platform::View>>& pages() const { return pages_; }

    struct Private;  // construction goes through install
    HorizontalPagingCoordinator(Private, const std::shared_ptr<platform::View>& host,
                                std::vector<std::shared_ptr<platform::View>> pages);

private:
    void handleScroll(const platform::Event& event);
    void showPage(int index);

    std::weak_ptr<platform::View> host_;
    std::vector<std::shared_ptr<platform::View>> pages_;
    int currentPage_ = 0;
    double accumulatedScroll_ = 0;
    std::optional<platform::EventMonitorToken> eventMonitor_;
    std::shared_ptr<platform::AnimationGroup> fade_;
};

}  // namespace tallowmere
