#include "platform/ui/stack_view.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace tallowmere::platform {

namespace {

// Views hugging below this give way to the stack in the gravity-areas
// distribution (the stack hugs its content at this priority).
constexpr double stackHugging = 500;

LayoutAxis crossAxis(LayoutAxis axis) {
    return axis == LayoutAxis::horizontal ? LayoutAxis::vertical : LayoutAxis::horizontal;
}

}  // namespace

std::shared_ptr<StackView> StackView::make(LayoutAxis orientation, std::vector<std::shared_ptr<View>> views) {
    auto stack = std::shared_ptr<StackView>(new StackView(orientation));
    for (auto& view : views) stack->addArrangedSubview(std::move(view));
    return stack;
}

StackView::StackView(LayoutAxis orientation)
    : View({}),
      orientation_(orientation),
      alignment_(orientation == LayoutAxis::horizontal ? StackAlignment::centerY : StackAlignment::centerX) {
    setContentHuggingPriority(LayoutPriority::defaultHigh, LayoutAxis::horizontal);
    setContentHuggingPriority(LayoutPriority::defaultHigh, LayoutAxis::vertical);
}

void StackView::addArrangedSubview(std::shared_ptr<View> view) {
    if (!view) return;
    insertArrangedSubview(std::move(view), arranged_.size());
}

void StackView::insertArrangedSubview(std::shared_ptr<View> view, std::size_t index) {
    if (!view || view.get() == this || isDescendantOf(*view)) return;
    std::erase(arranged_, view);
    if (view->superview().get() != this) addSubview(view);
    arranged_.insert(arranged_.begin() + static_cast<std::ptrdiff_t>(std::min(index, arranged_.size())), view);
    invalidateIntrinsicContentSize();
}

void StackView::removeArrangedSubview(const View& view) {
    const auto before = arranged_.size();
    std::erase_if(arranged_, [&](const std::shared_ptr<View>& v) { return v.get() == &view; });
    if (arranged_.size() != before) invalidateIntrinsicContentSize();
}

void StackView::removeAllArrangedSubviews() {
    const auto views = arranged_;
    for (const auto& view : views) view->removeFromSuperview();
    arranged_.clear();
    invalidateIntrinsicContentSize();
}

void StackView::willRemoveSubview(View& subview) {
    std::erase_if(arranged_, [&](const std::shared_ptr<View>& v) { return v.get() == &subview; });
    customSpacing_.erase(&subview);
    fillsCross_.erase(&subview);
    invalidateIntrinsicContentSize();
}

void StackView::setOrientation(LayoutAxis orientation) {
    orientation_ = orientation;
    invalidateIntrinsicContentSize();
}

void StackView::setSpacing(double spacing) {
    spacing_ = spacing;
    invalidateIntrinsicContentSize();
}

void StackView::setCustomSpacing(double spacing, const View& after) {
    customSpacing_[&after] = spacing;
    invalidateIntrinsicContentSize();
}

std::optional<double> StackView::customSpacing(const View& after) const {
    auto it = customSpacing_.find(&after);
    return it == customSpacing_.end() ? std::nullopt : std::optional<double>(it->second);
}

void StackView::setAlignment(StackAlignment alignment) {
    alignment_ = alignment;
    invalidateIntrinsicContentSize();
}

void StackView::setDistribution(StackDistribution distribution) {
    distribution_ = distribution;
    invalidateIntrinsicContentSize();
}

void StackView::setEdgeInsets(EdgeInsets insets) {
    edgeInsets_ = insets;
    invalidateIntrinsicContentSize();
}

void StackView::setDetachesHiddenViews(bool detaches) {
    detachesHiddenViews_ = detaches;
    invalidateIntrinsicContentSize();
}

void StackView::setFillsCrossAxis(const View& view, bool fills) {
    if (fills) {
        fillsCross_[&view] = true;
    } else {
        fillsCross_.erase(&view);
    }
    invalidateIntrinsicContentSize();
}

std::vector<StackView::Item> StackView::measure(std::optional<double> crossLength) const {
    std::vector<Item> items;
    for (const auto& view : arranged_) {
        if (detachesHiddenViews_ && view->isHidden()) continue;
        Item item{view.get()};
        const bool fills = alignment_ == StackAlignment::fill || fillsCross_.count(view.get());
        if (orientation_ == LayoutAxis::horizontal) {
            item.main = view->fittingSize().width;
            item.cross = view->fittingHeightForWidth(item.main);
        } else {
            const double ownWidth = view->fittingSize().width;
            double width = ownWidth;
            if (crossLength) width = fills ? *crossLength : std::min(ownWidth, *crossLength);
            item.cross = view->sizeConstraints().apply(LayoutAxis::horizontal, std::max(0.0, width));
            item.main = view->fittingHeightForWidth(item.cross);
        }
        item.spacingAfter = customSpacing(*view).value_or(spacing_);
        items.push_back(item);
    }
    return items;
}

double StackView::mainLength(const std::vector<Item>& items) const {
    double length = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        length += items[i].main;
        if (i + 1 < items.size()) length += items[i].spacingAfter;
    }
    return length;
}

void StackView::distribute(std::vector<Item>& items, double available) const {
    if (items.empty()) return;
    const LayoutAxis axis = orientation_;
    const auto isFixed = [&](const Item& item) { return item.view->sizeConstraints().fixed(axis).has_value(); };
    const auto settle = [&](Item& item, double length) {
        item.main = item.view->sizeConstraints().apply(axis, std::max(0.0, length));
    };
    double gaps = 0;
    for (std::size_t i = 0; i + 1 < items.size(); ++i) gaps += items[i].spacingAfter;
    double fixedTotal = 0;
    std::size_t flexibleCount = 0;
    for (const auto& item : items) {
        if (isFixed(item)) {
            fixedTotal += item.main;
        } else {
            ++flexibleCount;
        }
    }

    switch (distribution_) {
    case StackDistribution::fillEqually: {
        if (flexibleCount == 0) return;
        const double each = std::max(0.0, available - gaps - fixedTotal) / double(flexibleCount);
        for (auto& item : items)
            if (!isFixed(item)) settle(item, each);
        return;
    }
    case StackDistribution::fillProportionally: {
        double total = 0;
        for (const auto& item : items)
            if (!isFixed(item)) total += item.main;
        const double free = std::max(0.0, available - gaps - fixedTotal);
        for (auto& item : items) {
            if (isFixed(item)) continue;
            settle(item, total > 0 ? item.main * free / total : free / double(flexibleCount));
        }
        return;
    }
    case StackDistribution::equalSpacing: {
        const double extra = available - mainLength(items);
        if (extra > 0 && items.size() > 1) {
            for (std::size_t i = 0; i + 1 < items.size(); ++i) items[i].spacingAfter += extra / double(items.size() - 1);
            return;
        }
        break;
    }
    case StackDistribution::gravityAreas:
    case StackDistribution::fill:
        break;
    }

    double extra = available - mainLength(items);
    if (extra > 0) {
        // Room to give: the views that hug least take it, equally.
        double least = LayoutPriority::required + 1;
        for (const auto& item : items)
            if (!isFixed(item)) least = std::min(least, item.view->contentHuggingPriority(axis));
        const bool gives = distribution_ == StackDistribution::fill || distribution_ == StackDistribution::equalSpacing
                               ? least <= LayoutPriority::required
                               : least < stackHugging;
        if (!gives) return;
        std::vector<Item*> takers;
        for (auto& item : items)
            if (!isFixed(item) && item.view->contentHuggingPriority(axis) == least) takers.push_back(&item);
        for (Item* item : takers) settle(*item, item->main + extra / double(takers.size()));
        return;
    }
    // Too little room: the views that resist compression least shrink
    // first, level by level, down to their minimum.
    std::set<double> levels;
    for (const auto& item : items)
        if (!isFixed(item)) levels.insert(item.view->compressionResistancePriority(axis));
    for (double level : levels) {
        if (extra >= 0) break;
        std::vector<Item*> shrinking;
        for (auto& item : items)
            if (!isFixed(item) && item.view->compressionResistancePriority(axis) == level && item.main > 0)
                shrinking.push_back(&item);
        // Each round shares what is missing among those still above their
        // floor; a round either closes the gap or drops one at its floor.
        while (extra < -1e-9 && !shrinking.empty()) {
            const double share = -extra / double(shrinking.size());
            std::vector<Item*> still;
            for (Item* item : shrinking) {
                const double before = item->main;
                settle(*item, before - share);
                extra += before - item->main;
                if (before - item->main >= share - 1e-9) still.push_back(item);
            }
            if (still.size() == shrinking.size()) break;
            shrinking = std::move(still);
        }
    }
}

double StackView::measureFittingHeightForWidth(double width) const {
    if (auto fixed = sizeConstraints().height) return *fixed;
    double height;
    if (orientation_ == LayoutAxis::vertical) {
        const auto items = measure(std::max(0.0, width - edgeInsets_.horizontal()));
        height = mainLength(items) + edgeInsets_.vertical();
    } else {
        auto items = measure(std::nullopt);
        distribute(items, std::max(0.0, width - edgeInsets_.horizontal()));
        double tallest = 0;
        for (const auto& item : items) tallest = std::max(tallest, item.view->fittingHeightForWidth(item.main));
        height = tallest + edgeInsets_.vertical();
    }
    return sizeConstraints().apply(LayoutAxis::vertical, height);
}

Size StackView::measureFittingSize() const {
    const auto items = measure(std::nullopt);
    double width;
    if (orientation_ == LayoutAxis::horizontal) {
        width = mainLength(items);
    } else {
        width = 0;
        for (const auto& item : items) width = std::max(width, item.cross);
    }
    width = sizeConstraints().apply(LayoutAxis::horizontal, width + edgeInsets_.horizontal());
    return {width, fittingHeightForWidth(width)};
}

void StackView::layout() {
    const Rect b = bounds();
    const bool horizontal = orientation_ == LayoutAxis::horizontal;
    const double availableMain = std::max(0.0, horizontal ? b.width() - edgeInsets_.horizontal() : b.height() - edgeInsets_.vertical());
    const double availableCross = std::max(0.0, horizontal ? b.height() - edgeInsets_.vertical() : b.width() - edgeInsets_.horizontal());

    auto items = measure(horizontal ? std::nullopt : std::optional<double>(availableCross));
    distribute(items, availableMain);

    // The stack is flipped: y runs down from the top inset.
    double position = horizontal ? b.minX() + edgeInsets_.left : b.minY() + edgeInsets_.top;
    const double crossStart = horizontal ? b.minY() + edgeInsets_.top : b.minX() + edgeInsets_.left;
    for (const auto& item : items) {
        View& view = *item.view;
        const bool fills = alignment_ == StackAlignment::fill || fillsCross_.count(&view);
        double cross = horizontal ? view.fittingHeightForWidth(item.main) : item.cross;
        if (fills) cross = view.sizeConstraints().apply(crossAxis(orientation_), availableCross);
        double offset = 0;
        switch (alignment_) {
        case StackAlignment::centerX:
        case StackAlignment::centerY: offset = (availableCross - cross) / 2; break;
        case StackAlignment::trailing:
        case StackAlignment::bottom: offset = availableCross - cross; break;
        default: break;
        }
        if (fills) offset = 0;
        if (horizontal) {
            view.setFrame({position, crossStart + offset, item.main, cross});
        } else {
            view.setFrame({crossStart + offset, position, cross, item.main});
        }
        position += item.main + item.spacingAfter;
    }
}

}  // namespace tallowmere::platform
