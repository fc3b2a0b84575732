#include "platform/ui/outline_view.h"

#include <algorithm>

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

namespace {
constexpr double triangleWidth = 14;
}

std::shared_ptr<OutlineView> OutlineView::make() { return std::shared_ptr<OutlineView>(new OutlineView()); }

void OutlineView::flatten(const Item& parent, std::size_t level) {
    if (!childrenOf) return;
    for (const auto& child : childrenOf(parent)) {
        if (!child) continue;
        rows_.push_back({child, level});
        if (isItemExpanded(child) && expandable(child)) flatten(child, level + 1);
    }
}

std::size_t OutlineView::rowCountFromSource() {
    rows_.clear();
    std::erase_if(expanded_, [](const std::weak_ptr<void>& w) { return w.expired(); });
    flatten(nullptr, 0);
    return rows_.size();
}

std::shared_ptr<View> OutlineView::cellFromSource(const TableColumn& column, std::size_t row) {
    return row < rows_.size() && viewForItem ? viewForItem(column, rows_[row].item) : nullptr;
}

bool OutlineView::canSelect(std::size_t row) {
    return row < rows_.size() && (!shouldSelectItem || shouldSelectItem(rows_[row].item));
}

std::size_t OutlineView::outlineColumn() const {
    if (!outlineColumnIdentifier.empty())
        if (auto index = columnIndex(outlineColumnIdentifier)) return *index;
    return 0;
}

double OutlineView::cellIndent(std::size_t column, std::size_t row) const {
    if (column != outlineColumn() || row >= rows_.size()) return 0;
    return triangleWidth + indentationPerLevel * double(rows_[row].level);
}

bool OutlineView::handleClick(std::size_t row, Point point) {
    if (row >= rows_.size() || !expandable(rows_[row].item)) return false;
    double x = 0;
    const auto widths = columnWidths();
    for (std::size_t c = 0; c < outlineColumn() && c < widths.size(); ++c) x += widths[c];
    const double triangleStart = x + indentationPerLevel * double(rows_[row].level);
    if (point.x < triangleStart || point.x >= triangleStart + triangleWidth) return false;
    const Item item = rows_[row].item;
    isItemExpanded(item) ? collapseItem(item) : expandItem(item);
    return true;
}

bool OutlineView::isItemExpanded(const Item& item) const {
    return item && std::any_of(expanded_.begin(), expanded_.end(), [&](const std::weak_ptr<void>& w) { return w.lock() == item; });
}

void OutlineView::reloadKeepingSelection() {
    std::vector<Item> selected;
    for (std::size_t row : selectedRowIndexes())
        if (row < rows_.size()) selected.push_back(rows_[row].item);
    // Selection is by row; with no callback while rows move under it.
    auto callback = std::exchange(onSelectionDidChange, nullptr);
    deselectAll();
    reloadData();
    std::set<std::size_t> rows;
    for (const auto& item : selected)
        if (auto row = rowForItem(item)) rows.insert(*row);
    selectRowIndexes(rows);
    onSelectionDidChange = std::move(callback);
}

void OutlineView::expandItem(const Item& item, bool expandChildren) {
    if (!expandable(item)) return;
    if (!isItemExpanded(item)) expanded_.push_back(item);
    if (expandChildren && childrenOf)
        for (const auto& child : childrenOf(item)) expandItem(child, true);
    reloadKeepingSelection();
}

void OutlineView::collapseItem(const Item& item) {
    std::erase_if(expanded_, [&](const std::weak_ptr<void>& w) { return w.expired() || w.lock() == item; });
    reloadKeepingSelection();
}

OutlineView::Item OutlineView::itemAtRow(std::size_t row) const { return row < rows_.size() ? rows_[row].item : nullptr; }

std::optional<std::size_t> OutlineView::rowForItem(const Item& item) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].item == item) return i;
    return std::nullopt;
}

std::optional<std::size_t> OutlineView::levelForRow(std::size_t row) const {
    return row < rows_.size() ? std::optional<std::size_t>(rows_[row].level) : std::nullopt;
}

OutlineView::Item OutlineView::selectedItem() const {
    auto row = selectedRow();
    return row ? itemAtRow(*row) : nullptr;
}

void OutlineView::draw(Canvas& canvas, Rect dirty) {
    TableView::draw(canvas, dirty);
    double x = 0;
    const auto widths = columnWidths();
    for (std::size_t c = 0; c < outlineColumn() && c < widths.size(); ++c) x += widths[c];
    canvas.save();
    canvas.setFillColor(Color::system(SystemColor::secondaryLabel));
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (!expandable(rows_[r].item)) continue;
        const Rect row = rectOfRow(r);
        const double left = x + indentationPerLevel * double(rows_[r].level) + 4;
        Path triangle;
        if (isItemExpanded(rows_[r].item)) {  // pointing down (the view is flipped)
            triangle.moveTo({left, row.midY() - 2.5});
            triangle.lineTo({left + 7, row.midY() - 2.5});
            triangle.lineTo({left + 3.5, row.midY() + 2.5});
        } else {  // pointing right
            triangle.moveTo({left + 1, row.midY() - 3.5});
            triangle.lineTo({left + 6, row.midY()});
            triangle.lineTo({left + 1, row.midY() + 3.5});
        }
        triangle.close();
        canvas.fill(triangle);
    }
    canvas.restore();
}

}  // namespace tallowmere::platform
