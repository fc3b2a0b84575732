#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/view.h"

namespace tallowmere::platform {

// Where a view sits in its grid cell: along x leading/center/trailing, along
// y top/center/bottom; fill stretches it over the cell; inherited takes the
// column's (x) or row's (y) placement, then the grid's.
enum class GridCellPlacement { inherited, leading, top, trailing, bottom, center, fill };

// Rows and columns of views. A column is as wide as its widest view (or its
// set width) and a row as tall as its tallest view (or its set height), with
// spacing between them. Cells may be empty (null) and a row's cells may be
// merged into one that spans several columns. Flipped: rows run top-down.
class GridView : public View {
public:
    static std::shared_ptr<GridView> make(std::vector<std::vector<std::shared_ptr<View>>> rows = {});

    std::size_t numberOfRows() const { return rows_.size(); }
    std::size_t numberOfColumns() const { return columns_; }
    // The view in a cell; null for an empty cell or one outside the grid.
    std::shared_ptr<View> cellView(std::size_t row, std::size_t column) const;
    void addRow(std::vector<std::shared_ptr<View>> views);
    void insertRow(std::vector<std::shared_ptr<View>> views, std::size_t index);
    void removeRow(std::size_t index);
    // The cells `firstColumn`...`lastColumn` of `row` become one, holding
    // the first cell's view.
    void mergeCells(std::size_t row, std::size_t firstColumn, std::size_t lastColumn);

    double rowSpacing() const { return rowSpacing_; }
    void setRowSpacing(double spacing);
    double columnSpacing() const { return columnSpacing_; }
    void setColumnSpacing(double spacing);
    GridCellPlacement xPlacement() const { return xPlacement_; }
    void setXPlacement(GridCellPlacement placement);
    GridCellPlacement yPlacement() const { return yPlacement_; }
    void setYPlacement(GridCellPlacement placement);
    // Fixed lengths and placements of single rows and columns.
    void setRowHeight(std::size_t row, std::optional<double> height);
    void setColumnWidth(std::size_t column, std::optional<double> width);
    void setRowYPlacement(std::size_t row, GridCellPlacement placement);
    void setColumnXPlacement(std::size_t column, GridCellPlacement placement);

    bool isFlipped() const override { return true; }
    Size measureFittingSize() const override;
    double measureFittingHeightForWidth(double width) const override;
    void layout() override;
    void willRemoveSubview(View& subview) override;

protected:
    GridView();

private:
    struct Row {
        std::vector<std::shared_ptr<View>> cells;
        std::vector<std::size_t> span;  // columns each cell covers (0: merged into an earlier one)
        std::optional<double> height;
        GridCellPlacement yPlacement = GridCellPlacement::inherited;
    };
    struct Column {
        std::optional<double> width;
        GridCellPlacement xPlacement = GridCellPlacement::inherited;
    };
    void widenTo(std::size_t columns);
    std::vector<double> columnWidths() const;
    std::vector<double> rowHeights(const std::vector<double>& widths) const;
    double spannedWidth(const std::vector<double>& widths, std::size_t column, std::size_t span) const;

    std::vector<Row> rows_;
    std::vector<Column> columnInfo_;
    std::size_t columns_ = 0;
    double rowSpacing_ = 6;
    double columnSpacing_ = 6;
    GridCellPlacement xPlacement_ = GridCellPlacement::leading;
    GridCellPlacement yPlacement_ = GridCellPlacement::center;
};

}  // namespace tallowmere::platform
