#pragma once

#include <memory>
#include <vector>

#include "platform/ui/stack_view.h"

namespace tallowmere {

// Fixed-width columns that wrap into rows: as many as fit side by side in
// the view's width share a row, the rest go on the next rows. A narrow
// window shows the columns stacked, a wide one next to each other. The
// stack's spacing is both the gap between rows and between columns.
class WrappingColumnsView : public platform::StackView {
public:
    struct Column {
        std::shared_ptr<platform::View> view;
        double width = 0;
    };

    static std::shared_ptr<WrappingColumnsView> make(std::vector<Column> columns, double spacing = 18,
                                                     platform::StackAlignment rowAlignment = platform::StackAlignment::top,
                                                     bool spaceBetween = false);

    // The indices of each row for columns of `widths` in `availableWidth`:
    // a column joins a row while the row, gaps included, stays within the
    // width plus half a point; a column wider than that gets a row alone.
    static std::vector<std::vector<int>> rowGroups(const std::vector<double>& widths, double availableWidth,
                                                   double spacing);

    // Regroups for `width`; the rows are rebuilt only when the grouping changes.
    void updateRows(double width);

    const std::vector<Column>& columns() const { return columns_; }
    const std::vector<std::vector<int>>& currentRows() const { return currentRows_; }
    // The row stacks shown now, in order.
    std::vector<std::shared_ptr<platform::StackView>> rowStacks() const;

    void layout() override;
    void viewDidChangeSize(platform::Size oldSize) override;
    double measureFittingHeightForWidth(double width) const override;

protected:
    WrappingColumnsView(std::vector<Column> columns, platform::StackAlignment rowAlignment, bool spaceBetween);

private:
    std::vector<double> widths() const;

    std::vector<Column> columns_;
    platform::StackAlignment rowAlignment_;
    // The last column of the list keeps to the far right of its row.
    bool spaceBetween_;
    std::vector<std::vector<int>> currentRows_;
};

}  // namespace tallowmere
