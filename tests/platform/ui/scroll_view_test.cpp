#include "platform/ui/scroll_view.h"

#include <gtest/gtest.h>

#include "platform/gfx/cairo_canvas.h"
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

// A row of the document that paints itself red and counts its drawing.
class RedRow : public View {
public:
    explicit RedRow(Rect frame) : View(frame) {}
    void draw(Canvas& canvas, Rect dirty) override {
        (void)dirty;
        ++draws;
        canvas.setFillColor(Color::sRGB(1, 0, 0));
        canvas.fillRect(bounds());
    }
    int draws = 0;
};

TEST_F(ScrollViewTest, OnlyTheShownPartOfTheDocumentIsDrawn) {
    auto root = View::make({0, 0, 100, 200});
    auto scroll = ScrollView::make({0, 50, 100, 100});
    auto document = View::make({0, 0, 100, 300});
    document->setFlipped(true);
    std::vector<std::shared_ptr<RedRow>> rows;
    for (int i = 0; i < 3; ++i) {
        rows.push_back(std::make_shared<RedRow>(Rect{0, 100.0 * i, 100, 100}));
        document->addSubview(rows.back());
    }
    scroll->setDocumentView(document);
    root->addSubview(scroll);
    scroll->scrollTo({0, 50});  // half of the first row and half of the second shown

    auto made = CairoCanvas::make({100, 200});
    ASSERT_TRUE(made.ok());
    root->display(**made);
    const Bitmap bitmap = (*made)->bitmap();
    EXPECT_EQ(bitmap.pixel(50, 100).red, 255) << "the shown rows are drawn";
    EXPECT_EQ(bitmap.pixel(50, 20).alpha, 0) << "the document spills over what is above the scroll view";
    EXPECT_EQ(bitmap.pixel(50, 180).alpha, 0) << "the document spills over what is below the scroll view";
    EXPECT_EQ(rows[0]->draws, 1);
    EXPECT_EQ(rows[1]->draws, 1);
    EXPECT_EQ(rows[2]->draws, 0) << "a row out of sight is drawn all the same";
}

}  // namespace
}  // namespace tallowmere::platform
