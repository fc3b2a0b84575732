#include "platform/ui/stack_view.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

// A view with a natural size, as a control or a label has.
class SizedView : public View {
public:
    static std::shared_ptr<SizedView> make(Size size) { return std::shared_ptr<SizedView>(new SizedView(size)); }
    Size intrinsicContentSize() const override { return size_; }

private:
    explicit SizedView(Size size) : View({}), size_(size) {}
    Size size_;
};

class StackViewTest : public testing::TallowmereTest {
protected:
    static std::shared_ptr<View> box(double width, double height) { return SizedView::make({width, height}); }
};

TEST_F(StackViewTest, LaysOutVisibleViewsWithSpacingAndInsetsAndClosesTheGapOfAHiddenOne) {
    auto a = box(40, 20), b = box(60, 30), c = box(30, 10);
    auto stack = StackView::makeHorizontal({a, b, c});
    stack->setSpacing(8);
    stack->setEdgeInsets({5, 10, 5, 10});
    stack->setAlignment(StackAlignment::top);
    EXPECT_EQ(stack->fittingSize(), (Size{10 + 40 + 8 + 60 + 8 + 30 + 10, 5 + 30 + 5}));

    stack->setFrame({0, 0, 300, 40});
    stack->layoutSubtreeIfNeeded();
    EXPECT_EQ(a->frame(), (Rect{10, 5, 40, 20}));
    EXPECT_EQ(b->frame(), (Rect{58, 5, 60, 30}));
    EXPECT_EQ(c->frame(), (Rect{126, 5, 30, 10}));

    b->setHidden(true);
    stack->layoutSubtreeIfNeeded();
    EXPECT_EQ(c->frame(), (Rect{58, 5, 30, 10})) << "the hidden view takes no room and no spacing";
    EXPECT_EQ(stack->fittingSize().width, 10 + 40 + 8 + 30 + 10);

    stack->setCustomSpacing(20, *a);
    stack->layoutSubtreeIfNeeded();
    EXPECT_EQ(c->frame().origin.x, 70) << "custom spacing after a view replaces the spacing";
}

TEST_F(StackViewTest, VerticalStacksRunTopDownAndAlignAcross) {
    struct Case {
        StackAlignment alignment;
        double expectedX;
        double expectedWidth;
    } cases[] = {
        {StackAlignment::leading, 0, 40},
        {StackAlignment::centerX, 30, 40},
        {StackAlignment::trailing, 60, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.alignment));
        auto first = box(40, 20), second = View::make();
        second->setFixedHeight(10);
        auto stack = StackView::makeVertical({first, second});
        stack->setAlignment(c.alignment);
        stack->setSpacing(4);
        stack->setFillsCrossAxis(*second, true);
        stack->setFrame({0, 0, 100, 50});
        stack->layoutSubtreeIfNeeded();
        EXPECT_EQ(first->frame(), (Rect{c.expectedX, 0, c.expectedWidth, 20}));
        EXPECT_EQ(second->frame(), (Rect{0, 24, 100, 10})) << "a view set to fill spans the stack";
        EXPECT_EQ(first->convertToWindow({0, 20}), (Point{c.expectedX, 50})) << "the first view's top is the stack's top";
    }
}

TEST_F(StackViewTest, DistributionsShareTheRoomThatIsLeft) {
    struct Case {
        const char* what;
        StackDistribution distribution;
        bool withSpacer;
        std::vector<double> expectedWidths;
        std::vector<double> expectedX;
    } cases[] = {
        {"gravity areas pack views that hug", StackDistribution::gravityAreas, false, {40, 60}, {0, 50}},
        {"a flexible spacer takes the rest", StackDistribution::gravityAreas, true, {40, 120, 20}, {0, 50, 180}},
        {"fill stretches the least hugging", StackDistribution::fill, false, {40, 150}, {0, 50}},
        {"fill equally", StackDistribution::fillEqually, false, {95, 95}, {0, 105}},
        {"equal spacing", StackDistribution::equalSpacing, false, {40, 60}, {0, 140}},
        {"fill proportionally", StackDistribution::fillProportionally, false, {76, 114}, {0, 86}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto first = box(40, 10);
        first->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::horizontal);
        std::vector<std::shared_ptr<View>> views{first, c.withSpacer ? View::make() : box(60, 10)};
        if (c.withSpacer) views.push_back(box(20, 10));
        auto stack = StackView::makeHorizontal(views);
        stack->setSpacing(10);
        stack->setDistribution(c.distribution);
        stack->setFrame({0, 0, 200, 10});
        stack->layoutSubtreeIfNeeded();
        ASSERT_EQ(views.size(), c.expectedWidths.size());
        for (std::size_t i = 0; i < views.size(); ++i) {
            EXPECT_DOUBLE_EQ(views[i]->frame().width(), c.expectedWidths[i]) << "view " << i;
            EXPECT_DOUBLE_EQ(views[i]->frame().minX(), c.expectedX[i]) << "view " << i;
        }
    }
}

TEST_F(StackViewTest, TooLittleRoomShrinksTheLeastResistantViewFirst) {
    auto keep = box(80, 10);
    auto give = box(80, 10);
    give->setCompressionResistancePriority(LayoutPriority::defaultLow, LayoutAxis::horizontal);
    auto stack = StackView::makeHorizontal({keep, give});
    stack->setSpacing(0);
    stack->setFrame({0, 0, 100, 10});
    stack->layoutSubtreeIfNeeded();
    EXPECT_EQ(keep->frame().width(), 80);
    EXPECT_EQ(give->frame().width(), 20);
}

TEST_F(StackViewTest, RemovingAViewFromTheTreeAlsoStopsArrangingIt) {
    auto a = box(10, 10), b = box(10, 10);
    auto stack = StackView::makeVertical({a, b});
    b->removeFromSuperview();
    EXPECT_EQ(stack->arrangedSubviews().size(), 1u);

    stack->removeArrangedSubview(*a);
    EXPECT_TRUE(stack->arrangedSubviews().empty());
    EXPECT_EQ(a->superview(), stack) << "no longer arranged, still a subview";
}

}  // namespace
}  // namespace tallowmere::platform
