#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/table_view.h"

namespace tallowmere::platform {

// A table whose rows are a tree of items: expandable items show a
// disclosure triangle and, when expanded, their children below them,
// indented one level. Items are the caller's own objects, known by identity.
// Rows, cells and selection work as in TableView; use the item closures
// below rather than the row ones.
class OutlineView : public TableView {
public:
    using Item = std::shared_ptr<void>;

    static std::shared_ptr<OutlineView> make();

    // The children of `parent`; a null parent asks for the top level.
    std::function<std::vector<Item>(const Item& parent)> childrenOf;
    std::function<bool(const Item& item)> isItemExpandable;
    std::function<std::shared_ptr<View>(const TableColumn& column, const Item& item)> viewForItem;
    std::function<bool(const Item& item)> shouldSelectItem;

    // The column whose cells are indented and carry the triangles (the
    // first column when empty).
    std::string outlineColumnIdentifier;
    double indentationPerLevel = 14;

    void expandItem(const Item& item, bool expandChildren = false);
    void collapseItem(const Item& item);
    bool isItemExpanded(const Item& item) const;

    Item itemAtRow(std::size_t row) const;
    std::optional<std::size_t> rowForItem(const Item& item) const;
    // Depth of the item in the tree, 0 for the top level.
    std::optional<std::size_t> levelForRow(std::size_t row) const;
    Item selectedItem() const;

    std::string accessibilityRole() const override { return "AXOutline"; }
    void draw(Canvas& canvas, Rect dirty) override;

protected:
    OutlineView() = default;

    std::size_t rowCountFromSource() override;
    std::shared_ptr<View> cellFromSource(const TableColumn& column, std::size_t row) override;
    bool canSelect(std::size_t row) override;
    bool handleClick(std::size_t row, Point point) override;
    double cellIndent(std::size_t column, std::size_t row) const override;

private:
    struct Row {
        Item item;
        std::size_t level;
    };
    void flatten(const Item& parent, std::size_t level);
    bool expandable(const Item& item) const { return isItemExpandable && item && isItemExpandable(item); }
    std::size_t outlineColumn() const;
    // Keeps the selected items selected across a change of the rows.
    void reloadKeepingSelection();

    std::vector<Row> rows_;
    std::vector<std::weak_ptr<void>> expanded_;
};

}  // namespace tallowmere::platform
