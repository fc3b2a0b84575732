#include "platform/ui/table_view.h"

#include <algorithm>
#include <numeric>

#include "platform/gfx/canvas.h"
#include "platform/ui/control_drawing.h"
#include "platform/ui/scroll_view.h"

namespace tallowmere::platform {

std::shared_ptr<TableView> TableView::make() { return std::shared_ptr<TableView>(new TableView()); }

TableView::TableView() : View({}) {
    setContentHuggingPriority(LayoutPriority::defaultHigh, LayoutAxis::vertical);
}

std::size_t TableView::rowCountFromSource() { return numberOfRows ? numberOfRows() : 0; }

std::shared_ptr<View> TableView::cellFromSource(const TableColumn& column, std::size_t row) {
    return viewForRow ? viewForRow(column, row) : nullptr;
}

bool TableView::canSelect(std::size_t row) { return !shouldSelectRow || shouldSelectRow(row); }

void TableView::reloadData() {
    for (auto& row : cells_)
        for (auto& cell : row)
            if (cell) cell->removeFromSuperview();
    cells_.clear();
    rowCount_ = rowCountFromSource();
    cells_.resize(rowCount_);
    for (std::size_t r = 0; r < rowCount_; ++r) {
        for (const auto& column : columns_) {
            auto cell = cellFromSource(column, r);
            if (cell) addSubview(cell);
            cells_[r].push_back(std::move(cell));
        }
    }
    std::erase_if(selection_, [&](std::size_t row) { return row >= rowCount_; });
    invalidateIntrinsicContentSize();
    setNeedsLayout();
    setNeedsDisplay();
}

std::shared_ptr<View> TableView::viewAt(std::size_t column, std::size_t row) const {
    if (row >= cells_.size() || column >= cells_[row].size()) return nullptr;
    return cells_[row][column];
}

void TableView::addColumn(TableColumn column) {
    column.width = std::max(column.width, column.minWidth);
    columns_.push_back(std::move(column));
    invalidateIntrinsicContentSize();
}

void TableView::removeColumn(const std::string& identifier) {
    auto index = columnIndex(identifier);
    if (!index) return;
    columns_.erase(columns_.begin() + static_cast<std::ptrdiff_t>(*index));
    for (auto& row : cells_) {
        if (*index < row.size()) {
            if (row[*index]) row[*index]->removeFromSuperview();
            row.erase(row.begin() + static_cast<std::ptrdiff_t>(*index));
        }
    }
    invalidateIntrinsicContentSize();
}

std::optional<std::size_t> TableView::columnIndex(const std::string& identifier) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].identifier == identifier) return i;
    return std::nullopt;
}

void TableView::setHeaderHidden(bool hidden) {
    headerHidden_ = hidden;
    invalidateIntrinsicContentSize();
}

void TableView::setRowHeight(double height) {
    rowHeight_ = std::max(1.0, height);
    invalidateIntrinsicContentSize();
}

std::optional<std::size_t> TableView::selectedRow() const {
    return selection_.empty() ? std::nullopt : std::optional<std::size_t>(*selection_.begin());
}

void TableView::selectRowIndexes(std::set<std::size_t> rows, bool extend) {
    if (extend && allowsMultipleSelection) rows.insert(selection_.begin(), selection_.end());
    std::erase_if(rows, [&](std::size_t row) { return row >= rowCount_; });
    if (!allowsMultipleSelection && rows.size() > 1) rows = {*rows.begin()};
    changeSelection(std::move(rows));
}

void TableView::deselectAll() { changeSelection({}); }

void TableView::changeSelection(std::set<std::size_t> rows) {
    if (rows.empty() && !allowsEmptySelection && !selection_.empty()) return;
    if (rows == selection_) return;
    selection_ = std::move(rows);
    setNeedsDisplay();
    auto self = weak_from_this().lock();
    if (onSelectionDidChange) onSelectionDidChange(*this);
}

std::vector<double> TableView::columnWidths() const {
    std::vector<double> widths;
    for (const auto& column : columns_) widths.push_back(column.width);
    const double available = bounds().width();
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (widths.empty() || available <= 0 || columnAutoresizing == ColumnAutoresizing::none) return widths;
    const double delta = available - total;
    const auto clampColumn = [&](std::size_t i, double width) {
        const auto& column = columns_[i];
        width = std::max(width, column.minWidth);
        if (column.maxWidth) width = std::min(width, *column.maxWidth);
        return width;
    };
    std::vector<std::size_t> resizing;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].resizesWithTable) resizing.push_back(i);
    if (resizing.empty()) return widths;
    if (columnAutoresizing == ColumnAutoresizing::firstColumnOnly) resizing = {resizing.front()};
    if (columnAutoresizing == ColumnAutoresizing::lastColumnOnly) resizing = {resizing.back()};
    for (std::size_t i : resizing) widths[i] = clampColumn(i, widths[i] + delta / double(resizing.size()));
    return widths;
}

std::optional<std::size_t> TableView::rowAt(Point point) const {
    const double y = point.y - headerHeight();
    if (y < 0 || point.x < 0 || point.x >= bounds().width()) return std::nullopt;
    const auto row = static_cast<std::size_t>(y / rowHeight_);
    return row < rowCount_ ? std::optional<std::size_t>(row) : std::nullopt;
}

Rect TableView::rectOfRow(std::size_t row) const {
    return {0, headerHeight() + double(row) * rowHeight_, bounds().width(), rowHeight_};
}

void TableView::scrollRowToVisible(std::size_t row) {
    if (row >= rowCount_) return;
    for (auto ancestor = superview(); ancestor; ancestor = ancestor->superview()) {
        auto* scroll = dynamic_cast<ScrollView*>(ancestor.get());
        if (!scroll || !scroll->documentView()) continue;
        scroll->scrollRectToVisible(convert(rectOfRow(row), scroll->documentView().get()));
        return;
    }
}

Size TableView::measureFittingSize() const {
    double width = 0;
    for (const auto& column : columns_) width += column.width;
    width = sizeConstraints().apply(LayoutAxis::horizontal, width);
    return {width, fittingHeightForWidth(width)};
}

double TableView::measureFittingHeightForWidth(double width) const {
    (void)width;
    return sizeConstraints().apply(LayoutAxis::vertical, headerHeight() + double(rowCount_) * rowHeight_);
}

void TableView::layout() {
    const auto widths = columnWidths();
    for (std::size_t r = 0; r < cells_.size(); ++r) {
        double x = 0;
        for (std::size_t c = 0; c < cells_[r].size() && c < widths.size(); ++c) {
            if (auto& cell = cells_[r][c]) {
                const double indent = cellIndent(c, r);
                cell->setFrame({x + indent, headerHeight() + double(r) * rowHeight_, std::max(0.0, widths[c] - indent), rowHeight_});
            }
            x += widths[c];
        }
    }
}

void TableView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    canvas.save();
    if (backgroundColor || selectionHighlightStyle != SelectionHighlightStyle::sourceList) {
        canvas.setFillColor(backgroundColor.value_or(Color::system(SystemColor::controlBackground)));
        canvas.fillRect(b);
    }
    for (std::size_t r = 0; r < rowCount_; ++r) {
        const Rect row = rectOfRow(r);
        if (selection_.count(r) && selectionHighlightStyle != SelectionHighlightStyle::none) {
            const bool sourceList = selectionHighlightStyle == SelectionHighlightStyle::sourceList;
            canvas.setFillColor(Color::system(sourceList ? SystemColor::unemphasizedSelectedContentBackground
                                                         : SystemColor::selectedContentBackground));
            canvas.fill(sourceList ? Path::roundedRect(row.insetBy(4, 1), 5) : Path::rect(row));
        } else if (usesAlternatingRowBackgroundColors && r % 2 == 1) {
            canvas.setFillColor(Color::system(SystemColor::label).withAlphaComponent(0.04));
            canvas.fillRect(row);
        }
    }
    if (!headerHidden_) {
        const auto widths = columnWidths();
        double x = 0;
        TextAttributes attributes;
        attributes.font = Font::systemFont(Font::smallSystemFontSize);
        attributes.foregroundColor = Color::system(SystemColor::secondaryLabel);
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            ControlDrawing::drawText(canvas, AttributedString(columns_[c].title, attributes), {x + 4, 0, widths[c] - 8, headerHeight()},
                                     TextAlignment::left, true);
            x += widths[c];
        }
        canvas.setStrokeColor(Color::system(SystemColor::separator));
        canvas.strokeLine({0, headerHeight() - 0.5}, {b.maxX(), headerHeight() - 0.5});
    }
    canvas.restore();
}

void TableView::mouseDown(const Event& event) {
    const Point point = locationInView(event);
    const auto row = rowAt(point);
    clickedRow_ = row;
    auto self = weak_from_this().lock();
    if (!row) {
        deselectAll();
    } else if (!handleClick(*row, point) && canSelect(*row)) {
        const bool toggle = allowsMultipleSelection && event.modifierFlags.contains(ModifierFlags::command);
        if (toggle) {
            auto rows = selection_;
            if (!rows.erase(*row)) rows.insert(*row);
            changeSelection(std::move(rows));
        } else {
            changeSelection({*row});
        }
    }
    if (row && event.clickCount >= 2 && onDoubleClick) onDoubleClick(*this, *row);
    clickedRow_.reset();
}

}  // namespace tallowmere::platform
