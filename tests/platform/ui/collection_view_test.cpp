#include "platform/ui/collection_view.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class CollectionViewTest : public testing::TallowmereTest {};

TEST_F(CollectionViewTest, ItemsWrapIntoRowsThatFitTheWidth) {
    auto grid = CollectionView::make();
    grid->itemSize = {66, 66};
    grid->minimumInteritemSpacing = 10;
    grid->minimumLineSpacing = 10;
    grid->sectionInset = {4, 4, 18, 4};
    grid->numberOfItems = [] { return std::size_t{7}; };
    grid->viewForItem = [](std::size_t) { return View::make(); };
    grid->reloadData();

    struct Case {
        double width;
        std::size_t columns;
        double height;
    } cases[] = {
        {8 + 66, 1, 4 + 7 * 66 + 6 * 10 + 18},
        {8 + 3 * 66 + 2 * 10, 3, 4 + 3 * 66 + 2 * 10 + 18},
        {8 + 3 * 66 + 2 * 10 - 1, 2, 4 + 4 * 66 + 3 * 10 + 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(grid->columnsForWidth(c.width), c.columns);
        EXPECT_EQ(grid->fittingHeightForWidth(c.width), c.height);
    }
    grid->setFrame({0, 0, 8 + 3 * 66 + 2 * 10, 300});
    grid->layoutSubtreeIfNeeded();
    EXPECT_EQ(grid->itemView(4)->frame(), (Rect{4 + 76, 4 + 76, 66, 66}));
    EXPECT_EQ(grid->indexAt({4 + 76 + 1, 4 + 76 + 1}), 4u);
}

}  // namespace
}  // namespace tallowmere::platform
