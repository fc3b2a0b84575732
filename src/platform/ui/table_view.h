#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/view.h"

namespace tallowmere::platform {

struct TableColumn {
    explicit TableColumn(std::string identifier = {}, double width = 100)
        : identifier(std::move(identifier)), width(width) {}

    std::string identifier;
    std::string title;
    double width = 100;
    double minWidth = 10;
    std::optional<double> maxWidth;
    // Takes part when the table shares a change of its width among columns.
    bool resizesWithTable = true;
};

// Which columns follow the table's width.
enum class ColumnAutoresizing { none, uniform, firstColumnOnly, lastColumnOnly };

enum class SelectionHighlightStyle { regular, sourceList, none };

// A list of rows in columns, each cell a view made by `viewForRow`. The
// table asks for its cells again on `reloadData()`. A click on a row selects
// it (when `shouldSelectRow` allows), a double click also runs
// `onDoubleClick`; views inside cells (buttons) take their own clicks.
// Selection changes, from a click or from code, fire `onSelectionDidChange`.
// Flipped: row 0 is at the top.
class TableView : public View {
public:
    static std::shared_ptr<TableView> make();

    // --- What it shows ----------------------------------------------------------
    std::function<std::size_t()> numberOfRows;
    // The cell of a row in a column; null leaves the cell empty.
    std::function<std::shared_ptr<View>(const TableColumn& column, std::size_t row)> viewForRow;
    std::function<bool(std::size_t row)> shouldSelectRow;
    std::function<void(TableView& table)> onSelectionDidChange;
    std::function<void(TableView& table, std::size_t row)> onDoubleClick;

    // Asks for the rows and cells again; the selection keeps the rows that
    // still exist.
    void reloadData();
    std::size_t rowCount() const { return rowCount_; }
    // The cell view of a row in a column (by index), if shown.
    std::shared_ptr<View> viewAt(std::size_t column, std::size_t row) const;

    // --- Columns ------------------------------------------------------------------
    const std::vector<TableColumn>& columns() const { return columns_; }
    void addColumn(TableColumn column);
    void removeColumn(const std::string& identifier);
    std::optional<std::size_t> columnIndex(const std::string& identifier) const;
    ColumnAutoresizing columnAutoresizing = ColumnAutoresizing::lastColumnOnly;
    bool isHeaderHidden() const { return headerHidden_; }
    void setHeaderHidden(bool hidden);

    // --- Looks --------------------------------------------------------------------
    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height);
    bool usesAlternatingRowBackgroundColors = false;
    std::optional<Color> backgroundColor;
    SelectionHighlightStyle selectionHighlightStyle = SelectionHighlightStyle::regular;

    // --- Selection ----------------------------------------------------------------
    bool allowsMultipleSelection = false;
    bool allowsEmptySelection = true;
    const std::set<std::size_t>& selectedRowIndexes() const { return selection_; }
    // The first selected row.
    std::optional<std::size_t> selectedRow() const;
    // Rows past the end are left out.
    void selectRowIndexes(std::set<std::size_t> rows, bool extend = false);
    void selectRow(std::size_t row) { selectRowIndexes({row}); }
    void deselectAll();
    // The row of the click being handled (none outside a click).
    std::optional<std::size_t> clickedRow() const { return clickedRow_; }

    // --- Geometry -----------------------------------------------------------------
    std::optional<std::size_t> rowAt(Point point) const;
    Rect rectOfRow(std::size_t row) const;
    // Scrolls the enclosing scroll view, if any, so the row shows.
    void scrollRowToVisible(std::size_t row);

    std::string accessibilityRole() const override { return "AXTable"; }
    bool isFlipped() const override { return true; }
    Size measureFittingSize() const override;
    double measureFittingHeightForWidth(double width) const override;
    void layout() override;
    void draw(Canvas& canvas, Rect dirty) override;
    void mouseDown(const Event& event) override;

protected:
    TableView();

    // Where rows and cells come from; an outline view answers from its tree.
    virtual std::size_t rowCountFromSource();
    virtual std::shared_ptr<View> cellFromSource(const TableColumn& column, std::size_t row);
    virtual bool canSelect(std::size_t row);
    // A click at `point` (table coordinates) of `row`, before it selects;
    // true when the subclass used it.
    virtual bool handleClick(std::size_t row, Point point) {
        (void)row;
        (void)point;
        return false;
    }
    // Where a column's cell starts horizontally in a row (outline indent).
    virtual double cellIndent(std::size_t column, std::size_t row) const {
        (void)column;
        (void)row;
        return 0;
    }
    double headerHeight() const { return headerHidden_ ? 0 : 24; }
    std::vector<double> columnWidths() const;

private:
    void changeSelection(std::set<std::size_t> rows);

    std::vector<TableColumn> columns_;
    std::vector<std::vector<std::shared_ptr<View>>> cells_;  // [row][column]
    std::size_t rowCount_ = 0;
    double rowHeight_ = 24;
    bool headerHidden_ = false;
    std::set<std::size_t> selection_;
    std::optional<std::size_t> clickedRow_;
};

}  // namespace tallowmere::platform
