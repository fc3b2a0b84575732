#include "platform/ui/view.h"

#include <gtest/gtest.h>

#include "platform/gfx/recording_canvas.h"
#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class ViewTest : public testing::TallowmereTest {};

std::shared_ptr<View> named(const char* identifier, Rect frame) {
    auto view = View::make(frame);
    view->setIdentifier(identifier);
    return view;
}

TEST_F(ViewTest, HitTestReturnsTheDeepestVisibleViewAndSkipsHiddenOnes) {
    auto root = named("root", {0, 0, 200, 200});
    auto panel = named("panel", {10, 10, 100, 100});
    auto button = named("button", {10, 10, 50, 50});
    auto overlay = named("overlay", {50, 50, 100, 100});
    panel->addSubview(button);
    root->addSubview(panel);
    root->addSubview(overlay);
    overlay->setHidden(true);

    struct Case {
        const char* what;
        Point point;
        const char* expected;  // null: nothing is hit
    } cases[] = {
        {"inside the nested view", {25, 25}, "button"},
        {"inside its parent only", {15, 15}, "panel"},
        {"under the hidden overlay", {100, 100}, "panel"},
        {"on the root only", {190, 5}, "root"},
        {"max edges are outside", {200, 100}, nullptr},
        {"outside everything", {250, 10}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto hit = root->hitTest(c.point);
        if (!c.expected) {
            EXPECT_EQ(hit, nullptr);
        } else {
            ASSERT_NE(hit, nullptr);
            EXPECT_EQ(hit->identifier(), c.expected);
        }
    }

    overlay->setHidden(false);
    EXPECT_EQ(root->hitTest({100, 100})->identifier(), "overlay") << "the front sibling wins once visible";
    panel->setHidden(true);
    EXPECT_EQ(root->hitTest({25, 25})->identifier(), "root") << "a hidden parent hides its subviews";
}

TEST_F(ViewTest, ConvertsPointsBetweenNestedFlippedAndScrolledViews) {
    auto root = View::make({0, 0, 400, 300});
    auto outer = View::make({50, 40, 200, 100});
    auto inner = View::make({10, 20, 100, 50});
    inner->setFlipped(true);
    auto deep = View::make({5, 5, 20, 10});
    root->addSubview(outer);
    outer->addSubview(inner);
    inner->addSubview(deep);

    struct Case {
        const char* what;
        const View* from;
        Point point;
        const View* to;  // null: window coordinates
        Point expected;
    } cases[] = {
        {"y-up view to window", outer.get(), {0, 0}, nullptr, {50, 40}},
        {"flipped view's top-left to window", inner.get(), {0, 0}, nullptr, {60, 110}},
        {"flipped view's bottom-left to window", inner.get(), {0, 50}, nullptr, {60, 60}},
        {"y-up view inside a flipped one", deep.get(), {0, 0}, nullptr, {65, 95}},
        {"between non-adjacent views", deep.get(), {0, 0}, outer.get(), {15, 55}},
        {"window to the deepest view", nullptr, {65, 95}, deep.get(), {0, 0}},
        {"down then up again", outer.get(), {15, 55}, deep.get(), {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Point result = c.from ? c.from->convert(c.point, c.to) : c.to->convertFromWindow(c.point);
        EXPECT_DOUBLE_EQ(result.x, c.expected.x);
        EXPECT_DOUBLE_EQ(result.y, c.expected.y);
    }

    EXPECT_EQ(deep->convert(deep->bounds(), nullptr), (Rect{65, 95, 20, 10}));

    outer->setBoundsOrigin({5, 5});
    EXPECT_EQ(outer->convertToWindow({5, 5}), (Point{50, 40})) << "a scrolled view shows its bounds origin at its corner";
    EXPECT_EQ(root->hitTest({56, 56}).get(), inner.get()) << "hit testing follows the scroll";
}

TEST_F(ViewTest, PlacementPinsSubviewsToVisualEdgesInEitherOrientation) {
    const std::optional<double> none;
    struct Case {
        const char* what;
        bool flipped;
        Placement placement;
        bool fixedSize;  // 40 x 20
        Rect expected;
    } cases[] = {
        {"filling with insets", false, Placement::filling({10, 5, 20, 15}), false, {5, 20, 180, 70}},
        {"a fixed size wins over stretching", false, Placement::filling({10, 5, 20, 15}), true, {5, 20, 40, 20}},
        {"top and trailing", false, {none, 8, 4, none, none, none}, true, {152, 76, 40, 20}},
        {"centred, 8 below the middle", false, Placement::centered(0, 8), true, {80, 32, 40, 20}},
        {"leading and bottom", false, {10, none, none, 6, none, none}, true, {10, 6, 40, 20}},
        {"top in a flipped view", true, {none, 8, 4, none, none, none}, true, {152, 4, 40, 20}},
        {"centred in a flipped view", true, Placement::centered(0, 8), true, {80, 48, 40, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto parent = View::make({0, 0, 200, 100});
        parent->setFlipped(c.flipped);
        auto child = View::make();
        if (c.fixedSize) child->setFixedSize({40, 20});
        child->setPlacement(c.placement);
        parent->addSubview(child);
        parent->layoutSubtreeIfNeeded();
        EXPECT_EQ(child->frame(), c.expected);
    }
}

TEST_F(ViewTest, FittingSizeOfAContainerComesFromItsPlacedSubviews) {
    auto card = View::make();
    auto content = View::make();
    content->setFixedSize({40, 20});
    content->setPlacement(Placement::filling({5, 10, 5, 10}));
    card->addSubview(content);
    EXPECT_EQ(card->fittingSize(), (Size{60, 30}));

    auto spacer = View::make({0, 0, 300, 300});
    EXPECT_EQ(spacer->fittingSize(), (Size{0, 0})) << "a view without content needs no room, whatever its frame";
    EXPECT_LT(spacer->contentHuggingPriority(LayoutAxis::horizontal), card->contentHuggingPriority(LayoutAxis::horizontal));
}

TEST_F(ViewTest, AutoresizingFollowsTheSuperviewsSize) {
    auto parent = View::make({0, 0, 100, 50});
    auto header = View::make({10, 10, 80, 30});
    header->setAutoresizingMask(AutoresizingMask::widthSizable | AutoresizingMask::minYMargin);
    auto fixed = View::make({5, 5, 10, 10});
    parent->addSubview(header);
    parent->addSubview(fixed);

    parent->setFrameSize({200, 100});
    EXPECT_EQ(header->frame(), (Rect{10, 60, 180, 30})) << "keeps its margins left, right and top";
    EXPECT_EQ(fixed->frame(), (Rect{5, 5, 10, 10}));
}

TEST_F(ViewTest, TreeLinksStaySoundAcrossRemovalAndDestruction) {
    auto root = View::make({0, 0, 100, 100});
    auto child = View::make({0, 0, 10, 10});
    auto grandchild = View::make({0, 0, 5, 5});
    root->addSubview(child);
    child->addSubview(grandchild);

    EXPECT_FALSE(grandchild->addSubview(root)) << "a view cannot contain its own ancestor";
    EXPECT_FALSE(child->addSubview(child));
    EXPECT_EQ(grandchild->rootView(), root);

    child->removeFromSuperview();
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_TRUE(root->subviews().empty());

    child.reset();  // the last owner of the middle view
    EXPECT_EQ(grandchild->superview(), nullptr) << "no link to a destroyed superview survives";
    EXPECT_EQ(grandchild->rootView(), grandchild);
}

TEST_F(ViewTest, DisplayDrawsLayerBackgroundAndBorderAndSkipsHiddenViews) {
    auto root = View::make({0, 0, 100, 100});
    auto card = View::make({10, 10, 50, 40});
    card->mutableLayer().backgroundColor = Color::white();
    card->mutableLayer().cornerRadius = 8;
    card->mutableLayer().borderWidth = 1;
    auto hidden = View::make({0, 0, 10, 10});
    hidden->mutableLayer().backgroundColor = Color::black();
    hidden->setHidden(true);
    root->addSubview(card);
    root->addSubview(hidden);

    RecordingCanvas canvas({100, 100});
    root->display(canvas);
    const auto fills = canvas.operationsOf<RecordingCanvas::FillOp>();
    ASSERT_EQ(fills.size(), 1u) << "the hidden view draws nothing";
    EXPECT_EQ(fills[0].state.fillColor, Color::white());
    EXPECT_EQ(fills[0].state.transform.apply({0, 0}), (Point{10, 10})) << "drawn in the card's own coordinates";
    ASSERT_EQ(canvas.operationsOf<RecordingCanvas::StrokeOp>().size(), 1u);
    EXPECT_FALSE(root->subtreeNeedsDisplay()) << "displaying cleared every visible view's flag";
    card->mutableLayer().borderWidth = 2;
    EXPECT_TRUE(root->subtreeNeedsDisplay());
}

}  // namespace
}  // namespace tallowmere::platform
