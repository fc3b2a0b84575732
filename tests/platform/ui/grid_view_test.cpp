#include "platform/ui/grid_view.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class GridViewTest : public testing::TallowmereTest {
protected:
    static std::shared_ptr<View> box(double width, double height) {
        auto view = View::make();
        view->setFixedSize({width, height});
        return view;
    }
};

TEST_F(GridViewTest, ColumnsTakeTheWidestCellAndMergedCellsSpan) {
    auto a = box(40, 20), b = box(60, 30), c = box(50, 10), wide = box(110, 20);
    auto grid = GridView::make({{a, b}, {c, nullptr}, {wide, nullptr}});
    grid->setRowSpacing(8);
    grid->setColumnSpacing(10);
    grid->mergeCells(2, 0, 1);
    grid->setYPlacement(GridCellPlacement::center);

    EXPECT_EQ(grid->fittingSize(), (Size{50 + 10 + 60, 30 + 8 + 10 + 8 + 20})) << "a merged cell widens no column";
    grid->setFrameSize(grid->fittingSize());
    grid->layoutSubtreeIfNeeded();
    EXPECT_EQ(a->frame(), (Rect{0, 5, 40, 20})) << "centred in a 30-point row";
    EXPECT_EQ(b->frame(), (Rect{60, 0, 60, 30}));
    EXPECT_EQ(c->frame(), (Rect{0, 38, 50, 10}));
    EXPECT_EQ(wide->frame(), (Rect{0, 56, 110, 20})) << "a merged cell spans both columns and the spacing";
}

}  // namespace
}  // namespace tallowmere::platform
