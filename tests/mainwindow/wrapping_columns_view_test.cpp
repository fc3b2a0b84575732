#include "mainwindow/wrapping_columns_view.h"

#include <gtest/gtest.h>

#include "support/fixture.h"

namespace tallowmere {
namespace {

using platform::View;
using Groups = std::vector<std::vector<int>>;

TEST(WrappingColumnsGroupingTest, ColumnsJoinARowWhileItFitsWithinHalfAPoint) {
    const std::vector<double> pageOne{500, 480, 344};
    struct Case {
        double available;
        Groups groups;
    } cases[] = {
        {1360, {{0, 1, 2}}},        // 500 + 18 + 480 + 18 + 344 exactly
        {1359.5, {{0, 1, 2}}},      // within the half-point tolerance
        {1359.4, {{0, 1}, {2}}},
        {997, {{0}, {1, 2}}},       // 998 > 997.5, while 842 fits
        {841, {{0}, {1}, {2}}},
        {100, {{0}, {1}, {2}}},     // each too wide still gets a row of its own
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.available);
        EXPECT_EQ(WrappingColumnsView::rowGroups(pageOne, c.available, 18), c.groups);
    }
    EXPECT_TRUE(WrappingColumnsView::rowGroups({}, 500, 18).empty());
    EXPECT_EQ(WrappingColumnsView::rowGroups({900}, 500, 18), (Groups{{0}}));
}

class WrappingColumnsViewTest : public testing::TallowmereTest {
protected:
    std::shared_ptr<WrappingColumnsView> makePageOne(bool spaceBetween = false) {
        columns = {View::make(), View::make(), View::make()};
        for (auto& column : columns) column->setFixedHeight(100);
        return WrappingColumnsView::make({{columns[0], 500}, {columns[1], 480}, {columns[2], 344}}, 18,
                                         platform::StackAlignment::top, spaceBetween);
    }
    void layOut(WrappingColumnsView& view, double width) {
        view.setFrame({0, 0, width, view.fittingHeightForWidth(width)});
        view.layoutSubtreeIfNeeded();
    }
    // The column's frame in the wrapping view's coordinates.
    platform::Rect frameOf(const WrappingColumnsView& view, int index) {
        auto& column = *columns[static_cast<std::size_t>(index)];
        return column.convert(column.bounds(), &view);
    }

    std::vector<std::shared_ptr<View>> columns;
};

TEST_F(WrappingColumnsViewTest, StartsWithEveryColumnInOneRowAndWrapsWhenNarrowed) {
    auto view = makePageOne();
    EXPECT_EQ(view->currentRows(), (Groups{{0, 1, 2}}));
    EXPECT_EQ(view->fittingSize().height, 100);

    layOut(*view, 997);
    EXPECT_EQ(view->currentRows(), (Groups{{0}, {1, 2}}));
    ASSERT_EQ(view->rowStacks().size(), 2u);
    EXPECT_EQ(view->frame().height(), 218) << "two rows of 100 and the gap between them";
    EXPECT_EQ(frameOf(*view, 1).minX(), 0);
    EXPECT_EQ(frameOf(*view, 2).minX(), 498);
    EXPECT_EQ(frameOf(*view, 2).width(), 344) << "a column keeps its width";

    layOut(*view, 841);
    EXPECT_EQ(view->rowStacks().size(), 3u);
    EXPECT_EQ(view->frame().height(), 336);
}

TEST_F(WrappingColumnsViewTest, AWidthThatKeepsTheGroupingKeepsTheRows) {
    auto view = makePageOne();
    layOut(*view, 1400);
    const auto rows = view->rowStacks();
    layOut(*view, 1370);
    EXPECT_EQ(view->rowStacks(), rows) << "the same row stacks, not rebuilt ones";
}

TEST_F(WrappingColumnsViewTest, SpaceBetweenPushesTheLastColumnToTheRightEdge) {
    auto view = makePageOne(true);
    layOut(*view, 1500);
    EXPECT_EQ(frameOf(*view, 2).maxX(), 1500);
    EXPECT_EQ(frameOf(*view, 1).minX(), 518);

    layOut(*view, 1000);  // [[0, 1], [2]]: the last row is spacer then column
    EXPECT_EQ(view->currentRows(), (Groups{{0, 1}, {2}}));
    EXPECT_EQ(frameOf(*view, 2).maxX(), 1000);
}

TEST_F(WrappingColumnsViewTest, NoColumnsMakeNoRows) {
    auto view = WrappingColumnsView::make({});
    layOut(*view, 600);
    EXPECT_TRUE(view->currentRows().empty());
    EXPECT_TRUE(view->rowStacks().empty());
}

}  // namespace
}  // namespace tallowmere
