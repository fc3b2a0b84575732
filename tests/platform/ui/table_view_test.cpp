#include "platform/ui/table_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/outline_view.h"
#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class TableViewTest : public testing::TallowmereTest {
protected:
    std::shared_ptr<View> root = View::make({0, 0, 200, 200});
    testing::ViewDriver driver{root};
    std::vector<std::string> names{"Mail", "Notes", "Safari"};
    std::vector<std::string> removed;
    std::shared_ptr<TableView> table = TableView::make();

    void SetUp() override {
        TableColumn application("application", 150);
        application.minWidth = 70;
        TableColumn remove("remove", 48);
        remove.resizesWithTable = false;
        table->addColumn(application);
        table->addColumn(remove);
        table->setHeaderHidden(true);
        table->setRowHeight(30);
        table->numberOfRows = [this] { return names.size(); };
        table->viewForRow = [this](const TableColumn& column, std::size_t row) -> std::shared_ptr<View> {
            if (column.identifier == "remove") {
                auto button = Button::make("移除");
                button->onAction = [this, name = names[row]](Control&) { removed.push_back(name); };
                return button;
            }
            return Label::make(names[row]);
        };
        table->setFrame({0, 0, 200, 200});
        root->addSubview(table);
        table->reloadData();
        root->layoutSubtreeIfNeeded();
    }
};

TEST_F(TableViewTest, ClickingARowSelectsItAndButtonsInCellsTakeTheirOwnClicks) {
    int selectionChanges = 0, doubleClicks = 0;
    table->onSelectionDidChange = [&](TableView&) { ++selectionChanges; };
    table->onDoubleClick = [&](TableView&, std::size_t row) { doubleClicks += row == 1 ? 1 : 100; };

    driver.click(*table->viewAt(0, 1));
    EXPECT_EQ(table->selectedRow(), 1u) << "a click on the label selects its row";
    EXPECT_EQ(selectionChanges, 1);
    driver.press(driver.centerOf(*table->viewAt(0, 1)), 2);
    EXPECT_EQ(doubleClicks, 1);

    driver.click(*table->viewAt(1, 2));
    EXPECT_EQ(removed, std::vector<std::string>{"Safari"});
    EXPECT_EQ(table->viewAt(0, 0)->frame(), (Rect{0, 0, 152, 30})) << "the first column takes the width the fixed one leaves";

    names.pop_back();
    names.pop_back();
    table->reloadData();
    EXPECT_EQ(table->rowCount(), 1u);
    EXPECT_EQ(table->selectedRow(), std::nullopt) << "a selected row that went away is no longer selected";
    table->shouldSelectRow = [](std::size_t) { return false; };
    driver.click(*table->viewAt(0, 0));
    EXPECT_EQ(table->selectedRow(), std::nullopt);
}

// A node of a sidebar tree.
struct Node {
    std::string title;
    std::vector<std::shared_ptr<Node>> children;
};

TEST_F(TableViewTest, OutlinesShowExpandedChildrenIndentedAndKeepTheSelectedItem) {
    auto system = std::make_shared<Node>(Node{"System", {}});
    auto work = std::make_shared<Node>(Node{"Work", {}});
    auto office = std::make_shared<Node>(Node{"Office", {}});
    auto home = std::make_shared<Node>(Node{"Home", {}});
    work->children = {office, home};
    auto outline = OutlineView::make();
    outline->addColumn(TableColumn("sidebar", 200));
    outline->setHeaderHidden(true);
    outline->childrenOf = [&](const OutlineView::Item& parent) {
        std::vector<OutlineView::Item> items;
        if (!parent) return std::vector<OutlineView::Item>{system, work};
        for (auto& child : static_cast<Node*>(parent.get())->children) items.push_back(child);
        return items;
    };
    outline->isItemExpandable = [](const OutlineView::Item& item) { return !static_cast<Node*>(item.get())->children.empty(); };
    outline->viewForItem = [](const TableColumn&, const OutlineView::Item& item) -> std::shared_ptr<View> {
        return Label::make(static_cast<Node*>(item.get())->title);
    };
    outline->setFrame({0, 0, 200, 200});
    root->addSubview(outline);
    outline->reloadData();
    EXPECT_EQ(outline->rowCount(), 2u);

    outline->selectRow(1);
    outline->expandItem(work);
    EXPECT_EQ(outline->rowCount(), 4u);
    EXPECT_EQ(outline->itemAtRow(2), office);
    EXPECT_EQ(outline->levelForRow(3), 1u);
    EXPECT_EQ(outline->selectedItem(), work);
    root->layoutSubtreeIfNeeded();
    EXPECT_GT(outline->viewAt(0, 2)->frame().minX(), outline->viewAt(0, 1)->frame().minX()) << "children are indented";

    outline->selectRow(3);
    outline->collapseItem(work);
    EXPECT_EQ(outline->rowCount(), 2u);
    EXPECT_EQ(outline->selectedItem(), nullptr) << "a hidden child is no longer selected";

    // The disclosure triangle sits just before the indented cell.
    driver.click(outline->convertToWindow({6, 24 + 12}));
    EXPECT_TRUE(outline->isItemExpanded(work));
    EXPECT_EQ(outline->rowCount(), 4u);
}

}  // namespace
}  // namespace tallowmere::platform
