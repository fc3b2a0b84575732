#include "platform/ui/scroll_view.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class ScrollViewTest : public testing::TallowmereTest {};

TEST_F(ScrollViewTest, ScrollEventsMoveTheDocumentWithinItsBounds) {
    struct Case {
        const char* what;
        bool flipped;
        Point startOrigin;    // where it starts
        double scrollDown;    // finger movement that shows what lies below
        Point expectedOrigin;
    } cases[] = {
        {"flipped document starts at its top", true, {0, 0}, 30, {0, 30}},
        {"y-up document starts at its origin, the bottom", false, {0, 0}, -30, {0, 0}},
        {"y-up document scrolls up to show its top", false, {0, 0}, 30, {0, 30}},
        {"scrolling stops at the end", true, {0, 0}, 1000, {0, 200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto root = View::make({0, 0, 100, 100});
        testing::ViewDriver driver(root);
        auto scroll = ScrollView::make({0, 0, 100, 100});
        auto document = View::make({0, 0, 100, 300});
        document->setFlipped(c.flipped);
        scroll->setDocumentView(document);
        root->addSubview(scroll);
        EXPECT_EQ(scroll->documentVisibleRect().origin, c.startOrigin);
        // A flipped document shows more below when the content moves up
        // (a negative delta); a y-up one when it moves down.
        driver.scroll({50, 50}, 0, c.flipped ? -c.scrollDown : c.scrollDown);
        EXPECT_EQ(scroll->documentVisibleRect().origin, c.expectedOrigin);
    }
}

TEST_F(ScrollViewTest, ATrackingDocumentIsAsWideAsTheVisibleAreaAndHitsFollowTheScroll) {
    auto root = View::make({0, 0, 200, 100});
    testing::ViewDriver driver(root);
    auto scroll = ScrollView::make({0, 0, 200, 100});
    scroll->setDocumentTracksWidth(true);
    auto document = View::make();
    document->setFlipped(true);
    auto row = View::make();
    row->setFixedHeight(40);
    row->setPlacement(Placement{0, 0, 250, 10, std::nullopt, std::nullopt});
    row->setIdentifier("row");
    document->addSubview(row);
    scroll->setDocumentView(document);
    root->addSubview(scroll);
    root->layoutSubtreeIfNeeded();

    EXPECT_EQ(document->frame(), (Rect{0, 0, 200, 300}));
    EXPECT_EQ(driver.router().hitTest({50, 20}).get(), document.get()) << "the row is out of sight below";
    scroll->scrollRectToVisible(row->frame());
    EXPECT_EQ(scroll->documentVisibleRect(), (Rect{0, 190, 200, 100}));
    EXPECT_EQ(driver.router().hitTest({50, 20})->identifier(), "row");
}

}  // namespace
}  // namespace tallowmere::platform
