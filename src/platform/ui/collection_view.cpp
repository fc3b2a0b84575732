#include "platform/ui/collection_view.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

std::shared_ptr<CollectionView> CollectionView::make() { return std::shared_ptr<CollectionView>(new CollectionView()); }

void CollectionView::reloadData() {
    for (auto& item : items_)
        if (item) item->removeFromSuperview();
    items_.clear();
    const std::size_t count = numberOfItems ? numberOfItems() : 0;
    for (std::size_t i = 0; i < count; ++i) {
        auto item = viewForItem ? viewForItem(i) : nullptr;
        if (item) addSubview(item);
        items_.push_back(std::move(item));
    }
    invalidateIntrinsicContentSize();
    setNeedsLayout();
}

std::shared_ptr<View> CollectionView::itemView(std::size_t index) const {
    return index < items_.size() ? items_[index] : nullptr;
}

std::size_t CollectionView::columnsForWidth(double width) const {
    const double available = width - sectionInset.horizontal();
    if (itemSize.width <= 0) return 1;
    const double fit = std::floor((available + minimumInteritemSpacing) / (itemSize.width + minimumInteritemSpacing));
    return static_cast<std::size_t>(std::max(1.0, fit));
}

Rect CollectionView::frameOfItem(std::size_t index, double width) const {
    const std::size_t columns = columnsForWidth(width);
    const std::size_t row = index / columns, column = index % columns;
    // Items spread over the row, as a flow layout justifies them.
    const double available = width - sectionInset.horizontal();
    const double spacing = columns > 1 ? std::max(minimumInteritemSpacing, (available - double(columns) * itemSize.width) / double(columns - 1))
                                       : 0;
    return {sectionInset.left + double(column) * (itemSize.width + spacing),
            sectionInset.top + double(row) * (itemSize.height + minimumLineSpacing), itemSize.width, itemSize.height};
}

std::optional<std::size_t> CollectionView::indexAt(Point point) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (frameOfItem(i, bounds().width()).contains(point)) return i;
    return std::nullopt;
}

double CollectionView::measureFittingHeightForWidth(double width) const {
    const std::size_t columns = columnsForWidth(width);
    const std::size_t rows = (items_.size() + columns - 1) / columns;
    const double height = rows == 0 ? 0 : double(rows) * itemSize.height + double(rows - 1) * minimumLineSpacing;
    return sizeConstraints().apply(LayoutAxis::vertical, height + sectionInset.vertical());
}

void CollectionView::layout() {
    const double width = bounds().width();
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]) items_[i]->setFrame(frameOfItem(i, width));
}

void CollectionView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    if (!backgroundColor) return;
    canvas.save();
    canvas.setFillColor(*backgroundColor);
    canvas.fillRect(bounds());
    canvas.restore();
}

}  // namespace tallowmere::platform
