#include "mainwindow/wrapping_columns_view.h"

#include <algorithm>
#include <cmath>

namespace tallowmere {

using namespace platform;

std::shared_ptr<WrappingColumnsView> WrappingColumnsView::make(std::vector<Column> columns, double spacing,
                                                               StackAlignment rowAlignment, bool spaceBetween) {
    auto view = std::shared_ptr<WrappingColumnsView>(new WrappingColumnsView(std::move(columns), rowAlignment, spaceBetween));
    view->setSpacing(spacing);
    const auto widths = view->widths();
    double total = 0;
    for (double width : widths) total += width;
    if (!widths.empty()) total += spacing * static_cast<double>(widths.size() - 1);
    // The first grouping puts every column in one row.
    view->updateRows(total);
    return view;
}

WrappingColumnsView::WrappingColumnsView(std::vector<Column> columns, StackAlignment rowAlignment, bool spaceBetween)
    : StackView(LayoutAxis::vertical), columns_(std::move(columns)), rowAlignment_(rowAlignment), spaceBetween_(spaceBetween) {
    setAlignment(StackAlignment::leading);
    for (auto& column : columns_) column.view->setFixedWidth(column.width);
}

std::vector<std::vector<int>> WrappingColumnsView::rowGroups(const std::vector<double>& widths, double availableWidth,
                                                             double spacing) {
    std::vector<std::vector<int>> groups;
    std::vector<int> current;
    double used = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        double gap = 0;
        if (!current.empty()) {
            if (availableWidth + 0.5 < used + spacing + widths[i]) {
                groups.push_back(std::move(current));
                current.clear();
                used = 0;
            } else {
                gap = spacing;
            }
        }
        current.push_back(static_cast<int>(i));
        used += widths[i] + gap;
    }
    if (!widths.empty()) groups.push_back(std::move(current));
    return groups;
}

std::vector<double> WrappingColumnsView::widths() const {
    std::vector<double> result;
    result.reserve(columns_.size());
    for (const auto& column : columns_) result.push_back(column.width);
    return result;
}

void WrappingColumnsView::updateRows(double width) {
    auto groups = rowGroups(widths(), width, spacing());
    if (groups == currentRows_) return;
    currentRows_ = std::move(groups);

    removeAllArrangedSubviews();
    for (auto& column : columns_) {
        if (auto stack = std::dynamic_pointer_cast<StackView>(column.view->superview())) {
            stack->removeArrangedSubview(*column.view);
        }
        column.view->removeFromSuperview();
    }

    const int lastColumn = static_cast<int>(columns_.size()) - 1;
    for (const auto& group : currentRows_) {
        std::vector<std::shared_ptr<View>> views;
        for (int index : group) views.push_back(columns_[static_cast<std::size_t>(index)].view);
        auto spacer = View::make();
        const bool holdsLast = spaceBetween_ && group.back() == lastColumn;
        if (holdsLast) {
            views.insert(views.end() - 1, spacer);
        } else {
            views.push_back(spacer);
        }
        auto row = StackView::makeHorizontal(views);
        row->setAlignment(rowAlignment_);
        row->setSpacing(spacing());
        if (holdsLast) {
            // The spacer follows the other columns without a gap and pushes the last one right.
            if (views.size() > 2) row->setCustomSpacing(0, *views[views.size() - 3]);
        } else {
            row->setCustomSpacing(0, *views[views.size() - 2]);
        }
        addArrangedSubview(row);
        setFillsCrossAxis(*row, true);
    }
    invalidateIntrinsicContentSize();
}

std::vector<std::shared_ptr<StackView>> WrappingColumnsView::rowStacks() const {
    std::vector<std::shared_ptr<StackView>> rows;
    for (const auto& view : arrangedSubviews()) {
        if (auto row = std::dynamic_pointer_cast<StackView>(view)) rows.push_back(row);
    }
    return rows;
}

void WrappingColumnsView::viewDidChangeSize(Size oldSize) {
    StackView::viewDidChangeSize(oldSize);
    if (std::abs(frame().width() - oldSize.width) > 0.5) setNeedsLayout();
}

void WrappingColumnsView::layout() {
    if (bounds().width() > 0) updateRows(bounds().width());
    StackView::layout();
}

double WrappingColumnsView::measureFittingHeightForWidth(double width) const {
    const auto groups = rowGroups(widths(), width, spacing());
    if (groups == currentRows_) return StackView::measureFittingHeightForWidth(width);
    // The height the grouping for this width will have once laid out, so a
    // scroll view sizes its document right in the same pass.
    double height = 0;
    for (const auto& group : groups) {
        double tallest = 0;
        for (int index : group) {
            const auto& column = columns_[static_cast<std::size_t>(index)];
            if (column.view->isHidden()) continue;
            tallest = std::max(tallest, column.view->fittingHeightForWidth(column.width));
        }
        height += tallest;
    }
    if (!groups.empty()) height += spacing() * static_cast<double>(groups.size() - 1);
    return sizeConstraints().apply(LayoutAxis::vertical, height + edgeInsets().vertical());
}

}  // namespace tallowmere
