#include "quicklaunch/quick_launch_icon_strip_view.h"

#include <gtest/gtest.h>

#include "localization/interface_language.h"
#include "platform/desktop/event.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::Event;
using platform::EventType;
using platform::Point;

class QuickLaunchIconStripTest : public testing::DesktopTest {
protected:
    QuickLaunchIconStripTest() { InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese); }

    static std::vector<QuickLaunchEntry> entries(int count) {
        std::vector<QuickLaunchEntry> list;
        for (int i = 0; i < count; ++i) {
            list.push_back({platform::Uuid::random(), QuickLaunchKind::information, "n" + std::to_string(i), "t",
                            std::nullopt, std::nullopt, std::nullopt});
        }
        return list;
    }
    // The strip is the root view, so window coordinates are its own.
    std::shared_ptr<QuickLaunchIconStripView> strip = QuickLaunchIconStripView::make({{0, 0}, {460, 78}});

    // A press on an item, moved by (dx, dy), released there.
    static void press(QuickLaunchIconItemView& item, double dx, double dy, int clickCount = 1) {
        const auto start = item.convertToScreen(Point{40, 36});
        const platform::ScreenPoint end{start.x + dx, start.y + dy};
        item.mouseDown(Event::mouse(EventType::leftMouseDown, start, clickCount));
        item.mouseDragged(Event::mouse(EventType::leftMouseDragged, end, clickCount));
        item.mouseUp(Event::mouse(EventType::leftMouseUp, end, clickCount));
    }
};

TEST_F(QuickLaunchIconStripTest, HeightGrowsByRowsOfFive) {
    struct Case {
        int entries;
        double height;
        std::size_t rows;
    } cases[] = {{0, 78, 1}, {1, 88, 1}, {5, 88, 1}, {6, 166, 2}, {11, 244, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        strip->update(entries(c.entries));
        EXPECT_EQ(strip->height(), c.height);
        EXPECT_EQ(strip->stack()->subviews().size(), c.rows);
        EXPECT_EQ(strip->items().size(), static_cast<std::size_t>(c.entries));
    }
}

TEST_F(QuickLaunchIconStripTest, SelectionSurvivesARebuildWhileItsEntryIsThere) {
    auto list = entries(3);
    strip->update(list);
    strip->setSelected(list[1].id);
    strip->update(list);
    EXPECT_TRUE(strip->items()[1]->isSelected());
    EXPECT_FALSE(strip->items()[0]->isSelected());
    list.erase(list.begin() + 1);
    strip->update(list);
    for (const auto& item : strip->items()) EXPECT_FALSE(item->isSelected());
    EXPECT_TRUE(strip->selectedID().has_value()) << "the old id is kept";
}

TEST_F(QuickLaunchIconStripTest, AShortMoveIsAClickAndALongerOneADrag) {
    const auto list = entries(3);
    strip->update(list);
    std::vector<std::string> reports;
    strip->onSelect = [&](const platform::Uuid&) { reports.push_back("select"); };
    strip->onDoubleClick = [&](const platform::Uuid&) { reports.push_back("double"); };
    strip->onMove = [&](const platform::Uuid&, int to) { reports.push_back("move " + std::to_string(to)); };
    struct Case {
        const char* name;
        double dx, dy;
        std::vector<std::string> reports;
    } cases[] = {
        {"still", 0, 0, {"select"}},
        {"exactly 4 points", 4, 0, {"select"}},
        {"exactly 4 points down", 0, -4, {"select"}},
        {"4.1 points, released right of the centre", 4.1, 0, {"move 1"}},
        {"3 points each way is 4.24 straight", 3, 3, {"move 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reports.clear();
        press(*strip->items()[0], c.dx, c.dy);
        EXPECT_EQ(reports, c.reports);
    }

    reports.clear();
    press(*strip->items()[2], 0, 0, 1);
    press(*strip->items()[2], 0, 0, 2);
    EXPECT_EQ(reports, (std::vector<std::string>{"select", "double"}));
    EXPECT_TRUE(strip->items()[2]->isSelected());
    EXPECT_EQ(strip->selectedID(), list[2].id);
}

TEST_F(QuickLaunchIconStripTest, ADropGoesBeforeTheIconRightOfThePointer) {
    strip->update(entries(7));
    auto centre = [&](int i) {
        const auto& item = strip->items()[static_cast<std::size_t>(i)];
        return item->convertToWindow(Point{40, 36});
    };
    struct Case {
        const char* name;
        Point point;
        int index;
    } cases[] = {
        {"left half of the first icon", {centre(0).x - 10, centre(0).y}, 0},
        {"right half of the first icon", {centre(0).x + 10, centre(0).y}, 1},
        {"left of the second row's second icon", {centre(6).x - 1, centre(6).y}, 6},
        {"past the first row's end", {centre(4).x + 60, centre(4).y}, 6},
        {"past the last row's end", {centre(6).x + 100, centre(6).y}, 6},
        {"above the first row: the nearest row", {centre(2).x - 5, centre(2).y + 60}, 2},
        {"below the last row: the nearest row", {centre(5).x - 5, centre(5).y - 60}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(strip->destinationIndex(c.point), c.index);
    }
    strip->update(entries(1));
    EXPECT_EQ(strip->destinationIndex({400, 5}), 0) << "one entry always goes to 0";
}

TEST_F(QuickLaunchIconStripTest, OnlyFileURLsTintTheStripAndDrop) {
    std::vector<std::vector<std::string>> imports;
    strip->onImportFiles = [&](const std::vector<std::string>& urls) { imports.push_back(urls); };

    platform::Pasteboard text;
    text.clearContents();
    text.setString("https://example.com");
    EXPECT_EQ(strip->draggingEntered(text), platform::DragOperation::none);
    EXPECT_FALSE(strip->isDropHighlighted());
    EXPECT_FALSE(strip->performDragOperation(text));

    platform::Pasteboard files;
    files.clearContents();
    files.writeFileURLs({"file:///Users/me/a.txt", "file:///Applications/Mail.app/"});
    EXPECT_EQ(strip->draggingEntered(files), platform::DragOperation::copy);
    EXPECT_TRUE(strip->isDropHighlighted());
    strip->draggingExited();
    EXPECT_FALSE(strip->isDropHighlighted());
    strip->draggingEntered(files);
    EXPECT_TRUE(strip->performDragOperation(files));
    EXPECT_FALSE(strip->isDropHighlighted());
    EXPECT_EQ(imports, (std::vector<std::vector<std::string>>{{"file:///Users/me/a.txt", "file:///Applications/Mail.app/"}}));
}

}  // namespace
}  // namespace tallowmere
