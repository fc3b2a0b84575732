#include "platform/ui/grid_view.h"

#include <algorithm>
#include <numeric>

namespace tallowmere::platform {

std::shared_ptr<GridView> GridView::make(std::vector<std::vector<std::shared_ptr<View>>> rows) {
    auto grid = std::shared_ptr<GridView>(new GridView());
    for (auto& row : rows) grid->addRow(std::move(row));
    return grid;
}

// A grid keeps the size of its cells, like any view with content.
GridView::GridView() : View({}) {
    setContentHuggingPriority(LayoutPriority::defaultHigh, LayoutAxis::horizontal);
    setContentHuggingPriority(LayoutPriority::defaultHigh, LayoutAxis::vertical);
}

std::shared_ptr<View> GridView::cellView(std::size_t row, std::size_t column) const {
    if (row >= rows_.size() || column >= rows_[row].cells.size()) return nullptr;
    return rows_[row].cells[column];
}

void GridView::widenTo(std::size_t columns) {
    if (columns <= columns_) return;
    columns_ = columns;
    columnInfo_.resize(columns);
    for (auto& row : rows_) {
        row.cells.resize(columns);
        row.span.resize(columns, 1);
    }
}

void GridView::addRow(std::vector<std::shared_ptr<View>> views) { insertRow(std::move(views), rows_.size()); }

void GridView::insertRow(std::vector<std::shared_ptr<View>> views, std::size_t index) {
    widenTo(views.size());
    Row row;
    row.cells = std::move(views);
    row.cells.resize(columns_);
    row.span.assign(columns_, 1);
    for (auto& view : row.cells)
        if (view) addSubview(view);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(std::min(index, rows_.size())), std::move(row));
    invalidateIntrinsicContentSize();
}

void GridView::removeRow(std::size_t index) {
    if (index >= rows_.size()) return;
    const auto cells = rows_[index].cells;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
    for (const auto& view : cells)
        if (view) view->removeFromSuperview();
    invalidateIntrinsicContentSize();
}

void GridView::willRemoveSubview(View& subview) {
    for (auto& row : rows_)
        for (auto& cell : row.cells)
            if (cell.get() == &subview) cell.reset();
    invalidateIntrinsicContentSize();
}

void GridView::mergeCells(std::size_t row, std::size_t firstColumn, std::size_t lastColumn) {
    if (row >= rows_.size() || firstColumn >= lastColumn || lastColumn >= columns_) return;
    Row& r = rows_[row];
    for (std::size_t c = firstColumn + 1; c <= lastColumn; ++c) {
        if (r.cells[c]) r.cells[c]->removeFromSuperview();
        r.span[c] = 0;
    }
    r.span[firstColumn] = lastColumn - firstColumn + 1;
    invalidateIntrinsicContentSize();
}

void GridView::setRowSpacing(double spacing) {
    rowSpacing_ = spacing;
    invalidateIntrinsicContentSize();
}
void GridView::setColumnSpacing(double spacing) {
    columnSpacing_ = spacing;
    invalidateIntrinsicContentSize();
}
void GridView::setXPlacement(GridCellPlacement placement) {
    xPlacement_ = placement;
    setNeedsLayout();
}
void GridView::setYPlacement(GridCellPlacement placement) {
    yPlacement_ = placement;
    setNeedsLayout();
}
void GridView::setRowHeight(std::size_t row, std::optional<double> height) {
    if (row >= rows_.size()) return;
    rows_[row].height = height;
    invalidateIntrinsicContentSize();
}
void GridView::setColumnWidth(std::size_t column, std::optional<double> width) {
    if (column >= columns_) return;
    columnInfo_[column].width = width;
    invalidateIntrinsicContentSize();
}
void GridView::setRowYPlacement(std::size_t row, GridCellPlacement placement) {
    if (row < rows_.size()) rows_[row].yPlacement = placement;
    setNeedsLayout();
}
void GridView::setColumnXPlacement(std::size_t column, GridCellPlacement placement) {
    if (column < columns_) columnInfo_[column].xPlacement = placement;
    setNeedsLayout();
}

std::vector<double> GridView::columnWidths() const {
    std::vector<double> widths(columns_, 0);
    for (std::size_t c = 0; c < columns_; ++c) {
        if (columnInfo_[c].width) {
            widths[c] = *columnInfo_[c].width;
            continue;
        }
        for (const auto& row : rows_)
            if (row.span[c] == 1 && row.cells[c] && !row.cells[c]->isHidden())
                widths[c] = std::max(widths[c], row.cells[c]->fittingSize().width);
    }
    return widths;
}

double GridView::spannedWidth(const std::vector<double>& widths, std::size_t column, std::size_t span) const {
    double width = 0;
    for (std::size_t c = column; c < column + span && c < widths.size(); ++c) width += widths[c];
    return width + columnSpacing_ * double(span > 0 ? span - 1 : 0);
}

std::vector<double> GridView::rowHeights(const std::vector<double>& widths) const {
    std::vector<double> heights;
    for (const auto& row : rows_) {
        if (row.height) {
            heights.push_back(*row.height);
            continue;
        }
        double tallest = 0;
        for (std::size_t c = 0; c < columns_; ++c) {
            const auto& view = row.cells[c];
            if (!view || row.span[c] == 0 || view->isHidden()) continue;
            const double cellWidth = spannedWidth(widths, c, row.span[c]);
            tallest = std::max(tallest, view->fittingHeightForWidth(std::min(view->fittingSize().width, cellWidth)));
        }
        heights.push_back(tallest);
    }
    return heights;
}

Size GridView::measureFittingSize() const {
    const auto widths = columnWidths();
    double width = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (!widths.empty()) width += columnSpacing_ * double(widths.size() - 1);
    width = sizeConstraints().apply(LayoutAxis::horizontal, width);
    return {width, fittingHeightForWidth(width)};
}

double GridView::measureFittingHeightForWidth(double width) const {
    (void)width;
    const auto heights = rowHeights(columnWidths());
    double height = std::accumulate(heights.begin(), heights.end(), 0.0);
    if (!heights.empty()) height += rowSpacing_ * double(heights.size() - 1);
    return sizeConstraints().apply(LayoutAxis::vertical, height);
}

void GridView::layout() {
    const auto widths = columnWidths();
    const auto heights = rowHeights(widths);
    double y = 0;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const Row& row = rows_[r];
        double x = 0;
        for (std::size_t c = 0; c < columns_; ++c) {
            const auto& view = row.cells[c];
            if (view && row.span[c] > 0) {
                const Rect cell{x, y, spannedWidth(widths, c, row.span[c]), heights[r]};
                GridCellPlacement px = columnInfo_[c].xPlacement;
                if (px == GridCellPlacement::inherited) px = xPlacement_;
                GridCellPlacement py = row.yPlacement;
                if (py == GridCellPlacement::inherited) py = yPlacement_;
                const double w = px == GridCellPlacement::fill
                                     ? view->sizeConstraints().apply(LayoutAxis::horizontal, cell.width())
                                     : std::min(view->fittingSize().width, cell.width());
                const double h = py == GridCellPlacement::fill
                                     ? view->sizeConstraints().apply(LayoutAxis::vertical, cell.height())
                                     : std::min(view->fittingHeightForWidth(w), cell.height());
                double vx = cell.minX();
                if (px == GridCellPlacement::center) vx = cell.midX() - w / 2;
                if (px == GridCellPlacement::trailing) vx = cell.maxX() - w;
                double vy = cell.minY();
                if (py == GridCellPlacement::center) vy = cell.midY() - h / 2;
                if (py == GridCellPlacement::bottom || py == GridCellPlacement::trailing) vy = cell.maxY() - h;
                view->setFrame({vx, vy, w, h});
            }
            x += widths[c] + columnSpacing_;
        }
        y += heights[r] + rowSpacing_;
    }
}

}  // namespace tallowmere::platform
